// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/locale_formats.h"
#include "provider/provider_replies.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using testing_support::TempProgramFolder;

const LocaleFormats European(QStringLiteral("dd.MM.yyyy"), QStringLiteral("HH:mm"));

// Each day read as "date address", the address as it goes out on the wire.
QStringList daysOf(const QVector<ForecastDay>& days) {
    QStringList result;
    for (const ForecastDay& day : days) {
        result << day.date.toString(Qt::ISODate) + u' ' + QString::fromLatin1(day.picture.toEncoded());
    }
    return result;
}

struct Reply {
    const char* what;
    QByteArray text;
    QStringList days;
    LocaleFormats formats = European;
};

TEST(PointForecastReply, EachDateArmsTheNextAddressAndABadEntryLeavesTheOthersStanding) {
    const QByteArray armed = "<forecast>\n<href>http://h/orphan.gif</href>\n<date>2007-04-10</date>\n"
                             "<href>http://h/a.gif</href>\n<href>http://h/second.gif</href>\n"
                             "<date>2007-04-11</date><href>http://h/b.gif</href>\n</forecast>\n";
    QByteArray crlf = armed;
    crlf.replace("\n", "\r\n");
    // Three weeks after two years of three digits: the first two weeks are taken.
    QByteArray weeks = "<date>0999-12-31</date><href>http://h/early.gif</href>\n"
                       "<date>31.12.0999</date><href>http://h/early.gif</href>\n";
    QStringList twoWeeks;
    for (int day = 1; day <= 20; ++day) {
        const QString date = u"2026-12-%1"_s.arg(day, 2, 10, QLatin1Char('0'));
        weeks += (u"<date>"_s + date + u"</date><href>http://h/"_s + date + u".gif</href>\n"_s).toLatin1();
        if (day <= MostForecastDays) {
            twoWeeks << date + u" http://h/"_s + date + u".gif"_s;
        }
    }
    const Reply replies[] = {
        {"each date arms the next address only",
         armed,
         {u"2007-04-10 http://h/a.gif"_s, u"2007-04-11 http://h/b.gif"_s}},
        {"carriage returns read as line feeds",
         crlf,
         {u"2007-04-10 http://h/a.gif"_s, u"2007-04-11 http://h/b.gif"_s}},
        {"bad entries",
         "<date>2007-04-10</date>\n<href>http://h/a.gif</href>\n<date>tomorrow!!</date>\n"
         "<href>http://h/bad.gif</href>\n<date>2007-04-12</date>\n<href>http://h/no-end.gif\n"
         "<date>2007-04-13</date>\n<href>file:///etc/passwd</href>\n"
         "<date>2007-04-14</date>\n<href>http://h/e.gif</href>\n",
         {u"2007-04-10 http://h/a.gif"_s, u"2007-04-14 http://h/e.gif"_s}},
        {"ISO dates or the system's short format with either year",
         "<date>2026-12-07</date>\n<href>http://h/a.gif</href>\n"
         "<date>08.12.2026</date>\n<href>http://h/b.gif</href>\n"
         "<date>09.12.26</date>\n<href>http://h/c.gif</href>\n",
         {u"2026-12-07 http://h/a.gif"_s, u"2026-12-08 http://h/b.gif"_s, u"2026-12-09 http://h/c.gif"_s}},
        {"an American short format",
         "<date>12/07/2026</date><href>http://h/a.gif</href>\n"
         "<date>12/08/26</date><href>http://h/b.gif</href>\n",
         {u"2026-12-07 http://h/a.gif"_s, u"2026-12-08 http://h/b.gif"_s},
         LocaleFormats(u"MM/dd/yy"_s, u"hh:mm AP"_s)},
        {"an address with blanks, taken as it stands",
         "<date>2026-12-07</date><href>http://h/mgx/Pärnu bay.gif?d=1 2</href>\n",
         {u"2026-12-07 http://h/mgx/P%C3%A4rnu%20bay.gif?d=1%202"_s}},
        {"years of other than four digits, and at most two weeks", weeks, twoWeeks},
    };
    for (const Reply& reply : replies) {
        EXPECT_EQ(daysOf(parsePointForecast(reply.text, reply.formats)), reply.days) << reply.what;
    }
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
