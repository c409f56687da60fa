// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/locale_formats.h"
#include "viewer/chart_display.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QDate Today(2007, 4, 10);

TEST(StoredHours, AnHourCountsWhenItsChartOrAStandInIsStored) {
    const QSet<QString> names{u"20070410HALO00.gif"_s, u"20070410000312.gif"_s, u"20070410HALOsade05.gif"_s};
    const viewer::StoredHours wind = viewer::storedHours(names, Today, QStringLiteral("w"));
    ASSERT_EQ(wind.provider.size(), 169);
    EXPECT_TRUE(wind.provider[2]);
    EXPECT_TRUE(wind.provider[3]);
    EXPECT_TRUE(wind.provider[4]);
    EXPECT_FALSE(wind.provider[5]);
    EXPECT_FALSE(wind.provider[7]);
    const viewer::StoredHours rain = viewer::storedHours(names, Today, QStringLiteral("pc"));
    EXPECT_TRUE(rain.provider[7]);
    EXPECT_FALSE(rain.provider[2]);
}

TEST(SailingLabel, TheHourIsThreeAfterTheFilesOwn) {
    const LocaleFormats european(QStringLiteral("dd.MM.yyyy"), QStringLiteral("HH:mm"));
    EXPECT_EQ(viewer::sailingMapsAt(european, Today, 1).label, QStringLiteral("Marevo 09.04.2007  24:00"));
    EXPECT_EQ(viewer::sailingMapsAt(european, Today, 16).label, QStringLiteral("Marevo 10.04.2007  15:00"));
    EXPECT_EQ(viewer::sailingMapsAt(european, Today, 16).mainlandFile, QStringLiteral("20070410000312.gif"));
    EXPECT_EQ(viewer::chartCodeForTab(2), QStringLiteral("t10"));
}

} // namespace
