// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What a pack carries and how its page holds the data: the charts the window would show at some
// hour of the week and nothing else, and data that no spot's name can break out of.
#include "pack/pack_contents.h"
#include "pack/pack_page.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QDate Today(2007, 4, 10);

TEST(PackContents, TheChartsShownOverTheWeekAndTheMeteogramsOfTheDaysAhead) {
    const QSet<QString> stored{
        // Yesterday's last provider chart and sailing maps stand in at the first hours; older
        // ones are never shown.
        u"20070409HALO22.gif"_s, u"20070409HALO10.gif"_s, u"20070409000321.gif"_s, u"20070409000318.gif"_s,
        u"20070410HALOpilv05.gif"_s,
        // The last slot of the week, and the maps of the day after it, which no hour shows.
        u"20070416001618.gif"_s, u"20070417000300.gif"_s,
        // Meteograms from today to the last day a page opened late in the week shows.
        u"20070409Pärnu.gif"_s, u"20070410Pärnu.gif"_s, u"20070419Pärnu.gif"_s, u"20070420Pärnu.gif"_s,
        u"20070410Riga.gif"_s, u"20070411Bay \"#1\".gif"_s, u"wave03.gif"_s, u"wave54.gif"_s, u"wave57.gif"_s,
        // Answers, not charts.
        u"Pärnu.xml"_s, u"quellan.txt"_s};
    const pack::PackContents contents =
        pack::packContents(stored, Today, {u"Pärnu"_s, u"Tartu"_s, u"Bay \"#1\""_s});

    EXPECT_EQ(contents.files(),
              QStringList({u"20070409000321.gif"_s, u"20070409HALO22.gif"_s, u"20070410HALOpilv05.gif"_s,
                           u"20070410Pärnu.gif"_s, u"20070411Bay \"#1\".gif"_s, u"20070416001618.gif"_s,
                           u"20070419Pärnu.gif"_s, u"wave03.gif"_s, u"wave54.gif"_s}));
    ASSERT_EQ(contents.hours.size(), 169);
    EXPECT_EQ(contents.hours[0].providerCharts[0], u"20070409HALO22.gif"_s);
    EXPECT_EQ(contents.hours[0].mainlandMap, u"20070409000321.gif"_s);
    EXPECT_EQ(contents.hours[0].islandsMap, QString());
    // Cloud cover at 07:00 is the chart of 05:00, and only that family has one.
    EXPECT_EQ(contents.hours[7].providerCharts,
              (std::array<QString, 4>{u""_s, u"20070410HALOpilv05.gif"_s, u""_s, u""_s}));
    EXPECT_EQ(contents.hours[167].islandsMap, u"20070416001618.gif"_s);
    ASSERT_EQ(contents.spots.size(), 3);
    EXPECT_EQ(contents.spots[0].meteograms.size(), 10);
    EXPECT_EQ(contents.spots[0].meteograms.first(), u"20070410Pärnu.gif"_s);
    EXPECT_EQ(contents.spots[0].meteograms.last(), u"20070419Pärnu.gif"_s);
    EXPECT_EQ(contents.spots[1].meteograms.join(QString()), QString());
    EXPECT_EQ(contents.waveMaps.size(), 18);
}

TEST(PackPage, NoNameEndsTheDataOrTheScriptEarly) {
    const QString name = u"</script><script>alert(\"x\")</script><!-- & 'Pärnu' \u2028"_s;
    const QByteArray html = pack::pageHtml(QJsonObject{{u"spot"_s, name}});
    const QByteArray opening = R"(<script type="application/json" id="pack-data">)";
    const qsizetype start = html.indexOf(opening) + opening.size();
    ASSERT_GE(start, opening.size());
    // A browser ends the element at the first "</script", whatever lies in a string.
    const QByteArray data = html.mid(start, html.indexOf("</script", start) - start);
    EXPECT_FALSE(data.contains('<'));
    QJsonParseError error;
    const QJsonDocument parsed = QJsonDocument::fromJson(data, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << qPrintable(error.errorString());
    EXPECT_EQ(parsed.object().value(u"spot"_s).toString(), name);
}

} // namespace
