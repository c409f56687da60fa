// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/locale_formats.h"
#include "provider/provider_replies.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

using testing_support::TempProgramFolder;

const LocaleFormats European(QStringLiteral("dd.MM.yyyy"), QStringLiteral("HH:mm"));

QVector<QDate> dates(const QVector<ForecastDay>& days) {
    QVector<QDate> result;
    for (const ForecastDay& day : days) {
        result << day.date;
    }
    return result;
}

TEST(PointForecastReply, EachDateArmsTheNextAddressOnly) {
    const QByteArray reply = "<forecast>\n"
                             "<href>http://h/orphan.gif</href>\n"
                             "<date>2007-04-10</date>\n"
                             "<href>http://h/a.gif</href>\n"
                             "<href>http://h/second.gif</href>\n"
                             "<date>2007-04-11</date><href>http://h/b.gif</href>\n"
                             "</forecast>\n";
    // Carriage returns and line feeds read alike.
    QByteArray crlf = reply;
    crlf.replace("\n", "\r\n");
    for (const QByteArray& text : {reply, crlf}) {
        const QVector<ForecastDay> days = parsePointForecast(text, European);
        ASSERT_EQ(days.size(), 2);
        EXPECT_EQ(days[0].date, QDate(2007, 4, 10));
        EXPECT_EQ(days[0].picture, QUrl(QStringLiteral("http://h/a.gif")));
        EXPECT_EQ(days[1].date, QDate(2007, 4, 11));
        EXPECT_EQ(days[1].picture, QUrl(QStringLiteral("http://h/b.gif")));
    }
}

TEST(PointForecastReply, ABadEntryLeavesTheOthersStanding) {
    const QByteArray reply = "<date>2007-04-10</date>\n<href>http://h/a.gif</href>\n"
                             "<date>tomorrow!!</date>\n<href>http://h/bad.gif</href>\n"
                             "<date>2007-04-12</date>\n<href>http://h/no-end.gif\n"
                             "<date>2007-04-13</date>\n<href>file:///etc/passwd</href>\n"
                             "<date>2007-04-14</date>\n<href>http://h/e.gif</href>\n";
    EXPECT_EQ(dates(parsePointForecast(reply, European)),
              (QVector<QDate>{QDate(2007, 4, 10), QDate(2007, 4, 14)}));
}

TEST(PointForecastReply, DatesInIsoOrTheSystemsShortFormatWithEitherYearAreRead) {
    const QByteArray reply = "<date>2026-12-07</date>\n<href>http://h/a.gif</href>\n"
                             "<date>08.12.2026</date>\n<href>http://h/b.gif</href>\n"
                             "<date>09.12.26</date>\n<href>http://h/c.gif</href>\n";
    EXPECT_EQ(dates(parsePointForecast(reply, European)),
              (QVector<QDate>{QDate(2026, 12, 7), QDate(2026, 12, 8), QDate(2026, 12, 9)}));
    const LocaleFormats american(QStringLiteral("MM/dd/yy"), QStringLiteral("hh:mm AP"));
    const QByteArray us = "<date>12/07/2026</date><href>http://h/a.gif</href>\n"
                          "<date>12/08/26</date><href>http://h/b.gif</href>\n";
    EXPECT_EQ(dates(parsePointForecast(us, american)),
              (QVector<QDate>{QDate(2026, 12, 7), QDate(2026, 12, 8)}));
}

TEST(PointForecastReply, YearsOfOtherThanFourDigitsAreSkippedAndTwoWeeksAreTaken) {
    QByteArray reply = "<date>0999-12-31</date><href>http://h/early.gif</href>\n"
                       "<date>31.12.0999</date><href>http://h/early.gif</href>\n";
    for (int day = 1; day <= 20; ++day) {
        reply += QStringLiteral("<date>2026-12-%1</date><href>http://h/%1.gif</href>\n")
                     .arg(day, 2, 10, QLatin1Char('0'))
                     .toLatin1();
    }
    const QVector<QDate> read = dates(parsePointForecast(reply, European));
    ASSERT_EQ(read.size(), MostForecastDays);
    EXPECT_EQ(read.first(), QDate(2026, 12, 1));
    EXPECT_EQ(read.last(), QDate(2026, 12, 14));
}

TEST(PointForecastReply, AnAddressWithABlankIsTakenAsItStands) {
    const QByteArray reply = "<date>2026-12-07</date><href>http://h/mgx/Pärnu bay.gif?d=1 2</href>\n";
    const QVector<ForecastDay> days = parsePointForecast(reply, European);
    ASSERT_EQ(days.size(), 1);
    EXPECT_EQ(days[0].picture.toString(), QStringLiteral("http://h/mgx/Pärnu bay.gif?d=1 2"));
    EXPECT_EQ(days[0].picture.toEncoded(), QByteArray("http://h/mgx/P%C3%A4rnu%20bay.gif?d=1%202"));
}

TEST(LoginReply, OnlyTheFirstLineUpToACarriageReturnCounts) {
    TempProgramFolder folder;
    const QString file = folder.file(QStringLiteral("reply.txt"));
    const QString marker = QStringLiteral("Quellan login");
    const auto judged = [&](const QByteArray& reply) {
        folder.write(QStringLiteral("reply.txt"), reply);
        return loginAccepted(file, marker);
    };
    EXPECT_FALSE(judged("<title>Quellan login</title>\r\n<body>"));
    EXPECT_FALSE(judged("Welcome back - Quellan login"));
    EXPECT_TRUE(judged("<title>Welcome</title>\r\nQuellan login"));
    // Bare line feeds do not end the first line.
    EXPECT_FALSE(judged("<title>Welcome</title>\nQuellan login\n"));
    EXPECT_TRUE(judged("<title>quellan LOGIN</title>\r\n"));
    // An empty reply says nothing about the account: refused.
    EXPECT_FALSE(judged(""));
    // An empty first line holds no marker: accepted, whatever the lines after it say.
    EXPECT_TRUE(judged("\r\nQuellan login"));
    EXPECT_FALSE(loginAccepted(folder.file(QStringLiteral("missing.txt")), marker));
}

} // namespace
