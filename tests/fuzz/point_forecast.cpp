// The point-forecast reply on any bytes, read in the locales the program runs in: each day it
// gives is a real date with an http or https picture address, and no more days come out than the
// reply has "<href>"s.

#include "fuzz_support.h"
#include "provider/provider_replies.h"

#include <array>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::array<QLocale, 4> Locales{QLocale::c(), QLocale(QLocale::Estonian, QLocale::Estonia),
                                                QLocale(QLocale::Latvian, QLocale::Latvia),
                                                QLocale(QLocale::English, QLocale::UnitedStates)};
    const QByteArray reply = fuzz::bytes(data, size);
    for (const QLocale& locale : Locales) {
        const QVector<ForecastDay> days = parsePointForecast(reply, locale);
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
