// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/locale_formats.h"
#include "settings/interface_texts.h"
#include "test_support.h"
#include "viewer/display_texts.h"

#include <gtest/gtest.h>

namespace {

const QDate Tuesday(2007, 4, 10);

// Weekday names in English only, so the Latvian ones are missing.
QString englishOnlyLangIni(const testing_support::TempProgramFolder& folder) {
    folder.write(QStringLiteral("lang.ini"),
                 "[english]\nSun=Sun\nMon=Mon\nTue=Tue\nWed=Wed\nThu=Thu\nFri=Fri\nSat=Sat\n");
    return folder.file(QStringLiteral("lang.ini"));
}

class DisplayTextsTest : public ::testing::Test {
protected:
    testing_support::TempProgramFolder folder;
    InterfaceTexts texts{englishOnlyLangIni(folder)};
};

TEST_F(DisplayTextsTest, WeekdaysFollowTheLanguageAndAMissingOneIsEmpty) {
    texts.setLanguage(InterfaceTexts::Latvian);
    EXPECT_EQ(viewer::momentText(texts, Tuesday, 33), QStringLiteral(" 11.04 09:00"));
}

TEST(WindowCaption, HourHasTheBlankOfItsSignAndNoLeadingZero) {
    const LocaleFormats american(QStringLiteral("MM/dd/yy"), QStringLiteral("hh:mm AP"));
    EXPECT_EQ(viewer::windowCaption(american, Tuesday, 33), QStringLiteral("Brisel 04/11/07  9:00"));
    EXPECT_EQ(viewer::windowCaption(american, Tuesday, 14), QStringLiteral("Brisel 04/10/07  14:00"));
}

TEST(StartSliderHour, RoundsHalfHoursToTheEvenHour) {
    EXPECT_EQ(viewer::startSliderHour(QTime(10, 30)), 10);
    EXPECT_EQ(viewer::startSliderHour(QTime(11, 30)), 12);
    EXPECT_EQ(viewer::startSliderHour(QTime(23, 30)), 24);
    EXPECT_EQ(viewer::startSliderHour(QTime(23, 29, 59)), 23);
    EXPECT_EQ(viewer::startSliderHour(QTime(0, 0)), 0);
    EXPECT_EQ(viewer::startSliderHour(QTime(7, 31)), 8);
}

} // namespace
