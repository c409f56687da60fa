// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Judging the home site's update answer and translating its two fixed phrases.
#include "settings/interface_texts.h"
#include "test_support.h"
#include "windows/home_site.h"
#include "windows/update_answer.h"

#include <gtest/gtest.h>

namespace {

const QString Offer = QStringLiteral("UUENDUSED peale teie programmi versiooni\r\n\r\nVersioon 1.0.21\r\n"
                                     "- UUENDUSED peale teie programmi versiooni kordub\r\n");
const QString Latest = QStringLiteral("Kasutuses on uusim versioon\r\n");

} // namespace

TEST(UpdateAnswer, OnlyTheUpperCaseMarkerOffersAndEveryHeadingIsTranslated) {
    InterfaceTexts texts(testing_support::shippedDataFile(QStringLiteral("lang.ini")));
    texts.setLanguage(InterfaceTexts::English);
    const UpdateAnswer offer = judgeUpdateAnswer(Offer + Latest, texts);
    EXPECT_TRUE(offer.offersUpdate);
    const QString heading = texts.keeltekst(QStringLiteral("updateavailable"));
    ASSERT_FALSE(heading.isEmpty());
    EXPECT_EQ(offer.text, heading + QStringLiteral("\r\n\r\nVersioon 1.0.21\r\n- ") + heading +
                              QStringLiteral(" kordub\r\n") + Latest)
        << "the latest-version sentence stays in an offer";
    // Only the upper-case marker offers an update.
    for (const QString& answer : {QStringLiteral("uuendused peale teie programmi versiooni\r\n"),
                                  QStringLiteral("Uuendused\r\n"), QString()}) {
        const UpdateAnswer judged = judgeUpdateAnswer(answer, texts);
        EXPECT_FALSE(judged.offersUpdate) << qPrintable(answer);
        EXPECT_EQ(judged.text, answer);
    }
}

// The about box's tests show the list fetched and the list failed; an empty list says nothing.
TEST(HomeSite, AnEmptySupportersListShowsNothing) {
    testing_support::TempProgramFolder folder;
    folder.write(QStringLiteral("toetajad.txt"), QByteArray());
    EXPECT_EQ(supportersText(true, folder.file(QStringLiteral("toetajad.txt"))), QString());
}
