// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The about box's supporters list on any bytes: every line it shows ends in CR LF, a carriage
// return never stands alone, and an answer without carriage returns is one line.

#include "fuzz_support.h"
#include "windows/home_site.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray answer = fuzz::bytes(data, size);
    const QString shown = supportersText(true, fuzz::asFile(answer));
    FUZZ_CHECK(shown.isEmpty() == answer.isEmpty());
    FUZZ_CHECK(shown.isEmpty() || shown.endsWith(QStringLiteral("\r\n")));
    for (qsizetype at = shown.indexOf(QLatin1Char('\r')); at >= 0;
         at = shown.indexOf(QLatin1Char('\r'), at + 1)) {
        FUZZ_CHECK(at + 1 < shown.size() && shown.at(at + 1) == QLatin1Char('\n'));
    }
    FUZZ_CHECK(answer.contains('\r') || shown.count(QLatin1Char('\r')) == (answer.isEmpty() ? 0 : 1));
    return 0;
}
