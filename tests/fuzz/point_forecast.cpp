// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The point-forecast reply on any bytes, read in short date formats the program meets: each day it
// gives is a real date with an http or https picture address, and no more days come out than the
// reply has "<href>"s.

#include "fuzz_support.h"
#include "platform/locale_formats.h"
#include "provider/provider_replies.h"

#include <array>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::array<LocaleFormats, 4> Formats{
        LocaleFormats(QStringLiteral("dd.MM.yyyy"), QStringLiteral("HH:mm")),
        LocaleFormats(QStringLiteral("d.MM.yyyy"), QStringLiteral("H:mm")),
        LocaleFormats(QStringLiteral("yyyy-MM-dd"), QStringLiteral("HH:mm")),
        LocaleFormats(QStringLiteral("MM/dd/yy"), QStringLiteral("h:mm AP"))};
    const QByteArray reply = fuzz::bytes(data, size);
    for (const LocaleFormats& formats : Formats) {
        const QVector<ForecastDay> days = parsePointForecast(reply, formats);
        FUZZ_CHECK(days.size() <= reply.count("<href>"));
        for (const ForecastDay& day : days) {
            FUZZ_CHECK(day.date.isValid());
            FUZZ_CHECK(day.picture.isValid());
            FUZZ_CHECK(day.picture.scheme() == QLatin1String("http") ||
                       day.picture.scheme() == QLatin1String("https"));
        }
    }
    return 0;
}
