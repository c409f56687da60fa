// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Interface texts of lang.ini and the weekday names. The shipped lang.ini's keys are checked with
// the other shipped data.

#include "settings/interface_texts.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

TEST(InterfaceTexts, TextsAndWeekdaysFollowTheLanguageWithSundayFirst) {
    const testing_support::TempProgramFolder folder;
    folder.write(QStringLiteral("lang.ini"), "[estonian]\n"
                                             "Sun=P\nMon=E\nTue=T\nWed=K\nThu=N\nFri=R\nSat=L\n"
                                             "startdl=  Lae   kaardid  \n"
                                             "[english]\n"
                                             "Sun=Sun\nSat=Sat\n");
    InterfaceTexts texts(folder.file(QStringLiteral("lang.ini")));
    const QDate sunday(2024, 6, 2);
    const QDate saturday(2024, 6, 1);
    ASSERT_EQ(sunday.dayOfWeek(), Qt::Sunday);
    EXPECT_EQ(texts.language(), InterfaceTexts::Estonian);
    EXPECT_EQ(texts.npaev(sunday), QStringLiteral("P"));
    EXPECT_EQ(texts.npaev(saturday), QStringLiteral("L"));
    EXPECT_EQ(texts.npaev(QDate(2024, 6, 5)), QStringLiteral("K"));
    EXPECT_EQ(texts.keeltekst(QStringLiteral("startdl")), QStringLiteral("Lae   kaardid"))
        << "as the profile reader gives it";
    EXPECT_EQ(texts.keeltekst(QStringLiteral("nosuchkey")), QString());

    texts.setLanguage(InterfaceTexts::English);
    EXPECT_EQ(texts.npaev(sunday), QStringLiteral("Sun"));
    EXPECT_EQ(texts.npaev(saturday), QStringLiteral("Sat"));
    EXPECT_EQ(texts.npaev(QDate(2024, 6, 3)), QString()) << "a language without that key";

    texts.setLanguage(QStringLiteral("klingon"));
    EXPECT_EQ(texts.keeltekst(QStringLiteral("Sun")), QString());
    EXPECT_EQ(texts.npaev(sunday), QString());
    EXPECT_EQ(InterfaceTexts(folder.file(QStringLiteral("missing.ini"))).keeltekst(QStringLiteral("Sun")),
              QString());
}

// The user's own lang.ini over the shipped one: its keys replace, even with an empty text, and
// the keys it lacks, such as one a later version added, still come from the shipped file. A
// translator may reorder, drop or mistype the places of a text; what fills them is never read as
// a place itself, and no value is lost to a warning.
TEST(InterfaceTexts, ALaterFileAddsOrReplacesKeysAndPlacesAreFilledInTheTranslationsOrder) {
    const testing_support::TempProgramFolder folder;
    folder.write(QStringLiteral("shipped.ini"), "[english]\nstartdl=Download\nclose=Close\nlegend=Legend\n"
                                                "both=run %1, %2 h ago\nreordered=%2 h ago: run %1\n");
    folder.write(QStringLiteral("own.ini"), "[English]\nSTARTDL=Fetch\nlegend=\nextra=Mine\n"
                                            "dropped=run %1\nmistyped=%1 %3 100% %\n");
    InterfaceTexts texts(
        QStringList{folder.file(QStringLiteral("shipped.ini")), folder.file(QStringLiteral("own.ini"))});
    texts.setLanguage(InterfaceTexts::English);
    EXPECT_EQ(texts.keeltekst(QStringLiteral("startdl")), QStringLiteral("Fetch"));
    EXPECT_EQ(texts.keeltekst(QStringLiteral("close")), QStringLiteral("Close"));
    EXPECT_EQ(texts.keeltekst(QStringLiteral("legend")), QString());
    EXPECT_EQ(texts.keeltekst(QStringLiteral("extra")), QStringLiteral("Mine"));
    const QStringList values{QStringLiteral("07.12 %2"), QStringLiteral("9")};
    EXPECT_EQ(texts.keeltekst(QStringLiteral("both"), values), QStringLiteral("run 07.12 %2, 9 h ago"));
    EXPECT_EQ(texts.keeltekst(QStringLiteral("reordered"), values), QStringLiteral("9 h ago: run 07.12 %2"));
    EXPECT_EQ(texts.keeltekst(QStringLiteral("dropped"), values), QStringLiteral("run 07.12 %2"));
    EXPECT_EQ(texts.keeltekst(QStringLiteral("mistyped"), values), QStringLiteral("07.12 %2 %3 100% %"));
    EXPECT_EQ(texts.keeltekst(QStringLiteral("nosuchkey"), values), QString());
    texts.setLanguage(InterfaceTexts::Latvian);
    EXPECT_EQ(texts.keeltekst(QStringLiteral("close")), QString());
}

} // namespace
