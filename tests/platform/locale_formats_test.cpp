// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/locale_formats.h"

#include <gtest/gtest.h>

namespace {

const QDate December7(2026, 12, 7);

// The environment's locale for the life of the object; LC_ALL overrides whatever the machine has.
class ScopedLcAll final {
public:
    explicit ScopedLcAll(const QByteArray& name)
        : m_before(qgetenv("LC_ALL")), m_had(qEnvironmentVariableIsSet("LC_ALL")) {
        qputenv("LC_ALL", name);
    }
    ~ScopedLcAll() {
        if (m_had) {
            qputenv("LC_ALL", m_before);
        } else {
            qunsetenv("LC_ALL");
        }
    }
    ScopedLcAll(const ScopedLcAll&) = delete;
    ScopedLcAll& operator=(const ScopedLcAll&) = delete;

private:
    QByteArray m_before;
    bool m_had;
};

QString dateIn(const QString& strftimeFormat) {
    return LocaleFormats(qtFormatOfStrftime(strftimeFormat), QString()).shortDate(December7);
}

TEST(LocaleFormats, CLibraryFormatsAreWrittenAsTheCLibraryWouldAndTheShortTimeWithoutSeconds) {
    EXPECT_EQ(qtFormatOfStrftime(QStringLiteral("%d.%m.%Y")), QStringLiteral("dd.MM.yyyy"));
    EXPECT_EQ(dateIn(QStringLiteral("%d.%m.%Y")), QStringLiteral("07.12.2026"));
    EXPECT_EQ(dateIn(QStringLiteral("%D")), QStringLiteral("12/07/26"));
    EXPECT_EQ(dateIn(QStringLiteral("%F")), QStringLiteral("2026-12-07"));
    EXPECT_EQ(dateIn(QStringLiteral("%e/%-m/%Ey")), QStringLiteral("7/12/26"));
    // Letters and quotes between the conversions are text, not Qt fields.
    EXPECT_EQ(dateIn(QStringLiteral("%d de %B de %Y")), QStringLiteral("07 de December de 2026"));
    EXPECT_EQ(dateIn(QStringLiteral("%Y年%m月%d日")), QStringLiteral("2026年12月07日"));
    EXPECT_EQ(dateIn(QStringLiteral("%d'%m %%")), QStringLiteral("07'12 %"));
    EXPECT_EQ(dateIn(QStringLiteral("%d de'%m")), QStringLiteral("07 de'12"));

    // The short time has no seconds.
    const QTime afternoon(13, 5, 9);
    const auto timeIn = [&afternoon](const QString& format) {
        return LocaleFormats(QString(), qtFormatOfStrftime(withoutSeconds(format))).shortTime(afternoon);
    };
    EXPECT_EQ(timeIn(QStringLiteral("%T")), QStringLiteral("13:05"));
    EXPECT_EQ(timeIn(QStringLiteral("%H.%M.%S")), QStringLiteral("13.05"));
    EXPECT_EQ(timeIn(QStringLiteral("%r")), QStringLiteral("01:05 PM"));
    EXPECT_EQ(timeIn(QStringLiteral("%l:%M:%S %p")), QStringLiteral("1:05 PM"));
}

TEST(LocaleFormats, TheSystemsFormatsComeFromTheCLibrary) {
    for (const QByteArray& name : {QByteArrayLiteral("C"), QByteArrayLiteral("C.UTF-8")}) {
        const ScopedLcAll locale(name);
        const LocaleFormats system = LocaleFormats::system();
        EXPECT_EQ(system.shortDateTime(QDateTime(December7, QTime(13, 5, 9))),
                  QStringLiteral("12/07/26 13:05"))
            << name.constData();
    }
    // A locale that is not installed reads as the C library's own fallback.
    const ScopedLcAll missing("xx_NOWHERE.UTF-8");
    EXPECT_EQ(LocaleFormats::system().shortDate(December7), QStringLiteral("12/07/26"));
}

} // namespace
