#include "platform/locale_formats.h"
#include "viewer/chart_display.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QDate Today(2007, 4, 10);

QStringList candidateNames(int p, const QString& code = QStringLiteral("w")) {
    QStringList names;
    for (const QString& path : viewer::providerCandidates(QStringLiteral("/k"), Today, p, code)) {
        names << (path.isEmpty() ? QString() : path.section(u'/', -1));
    }
    return names;
}

TEST(ProviderCandidates, TwoHoursBehindWithTwoEarlierHoursAsStandIns) {
    EXPECT_EQ(candidateNames(0),
              QStringList({u"20070409HALO22.gif"_s, u"20070409HALO21.gif"_s, u"20070409HALO20.gif"_s}));
    EXPECT_EQ(candidateNames(1),
              QStringList({u"20070409HALO23.gif"_s, u"20070409HALO22.gif"_s, u"20070409HALO21.gif"_s}));
    // Hour 0 has no hour before it on the same day; the third choice is yesterday's 22:00.
    EXPECT_EQ(candidateNames(2), QStringList({u"20070410HALO00.gif"_s, u""_s, u"20070409HALO22.gif"_s}));
    EXPECT_EQ(candidateNames(3),
              QStringList({u"20070410HALO01.gif"_s, u"20070410HALO00.gif"_s, u"20070409HALO22.gif"_s}));
    EXPECT_EQ(
        candidateNames(168, QStringLiteral("cc")),
        QStringList({u"20070416HALOpilv22.gif"_s, u"20070416HALOpilv21.gif"_s, u"20070416HALOpilv20.gif"_s}));
}

TEST(StoredHours, AnHourCountsWhenItsChartOrAStandInIsStored) {
    const QSet<QString> names{u"20070410HALO00.gif"_s, u"20070410000312.gif"_s, u"20070410HALOsade05.gif"_s};
    const viewer::StoredHours wind = viewer::storedHours(names, Today, QStringLiteral("w"));
    ASSERT_EQ(wind.provider.size(), 169);
    EXPECT_TRUE(wind.provider[2]);
    EXPECT_TRUE(wind.provider[3]);
    EXPECT_TRUE(wind.provider[4]);
    EXPECT_FALSE(wind.provider[5]);
    EXPECT_FALSE(wind.provider[7]);
    EXPECT_EQ(wind.sailing.count(true), 3);
    EXPECT_TRUE(wind.sailing[15] && wind.sailing[16] && wind.sailing[17]);
    const viewer::StoredHours rain = viewer::storedHours(names, Today, QStringLiteral("pc"));
    EXPECT_TRUE(rain.provider[7]);
    EXPECT_FALSE(rain.provider[2]);
}

TEST(ChartFilesShown, ReachIntoYesterdayOnlyForItsLastChartsAndMaps) {
    QStringList past;
    for (const QString& name : viewer::chartFilesShown(Today)) {
        if (name < QStringLiteral("20070410")) {
            past << name;
        }
    }
    past.sort();
    QStringList expected{u"20070409000321.gif"_s, u"20070409001621.gif"_s};
    for (const char* word : {"", "pilv", "temp", "sade"}) {
        for (int hour = 20; hour <= 23; ++hour) {
            expected << QStringLiteral("20070409HALO%1%2.gif").arg(QLatin1String(word)).arg(hour);
        }
    }
    expected.sort();
    EXPECT_EQ(past, expected);
}

TEST(SailingLabel, TheHourIsThreeAfterTheFilesOwn) {
    const LocaleFormats european(QStringLiteral("dd.MM.yyyy"), QStringLiteral("HH:mm"));
    EXPECT_EQ(viewer::sailingMapsAt(european, Today, 1).label, QStringLiteral("Marevo 09.04.2007  24:00"));
    EXPECT_EQ(viewer::sailingMapsAt(european, Today, 16).label, QStringLiteral("Marevo 10.04.2007  15:00"));
    EXPECT_EQ(viewer::sailingMapsAt(european, Today, 16).mainlandFile, QStringLiteral("20070410000312.gif"));
    EXPECT_EQ(viewer::chartCodeForTab(2), QStringLiteral("t10"));
}

} // namespace
