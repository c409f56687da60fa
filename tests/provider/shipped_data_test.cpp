// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The data files that ship with the program, read as the program reads them.
#include "platform/profile_file.h"
#include "provider/spot_list.h"
#include "test_support.h"

#include <QFile>
#include <QImage>
#include <QMap>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using testing_support::shippedDataFile;

namespace {

const QStringList Languages{u"estonian"_s, u"english"_s, u"latvian"_s};

// Every key the program looks up, in every language.
const QStringList LanguageKeys =
    QStringLiteral(
        "deleteold deletenow about webpage updates exit selrange selrangetooltip startdl mrv "
        "quellanwind quellancc quellantemp quellanperc quellancharts quellan3h onlyselected "
        "chupdates clicktip city waveinfo legend Sun Mon Tue Wed Thu Fri Sat tooltipwnd tooltipcc "
        "tooltiptemp tooltipperc tooltipcurrentmap deleteconf Dltime DLtime supporters version "
        "currentversion getupdate close updateavailable runninglatest legendtitle legendtxt yes no "
        "tooltipmeteogram tooltipslider tooltipplay tooltipdownload tooltipstored downloadonconnect "
        "onmeteredlink nolinkwatch exportpack packwritten packfailed runspots runcharts runfiles "
        "runended serviceprovider servicesailing loginrefused logincancelled loginmissing loginfailed "
        "loginfailedrun loginwaiting runstopped runstoppedhours runstoppedspots reasonhttp "
        "reasontimeout reasonnoconnection reasonnotpicture reasoncut reasongivenup failedmore runlog "
        "waveempty wavemissing wavedownloading waveok wavestop chartrun chartrunnewer accchartw accchartcc "
        "accchartt10 accchartpc "
        "accmainland accislands accsailing accsailingscroll accmeteogram acchourstrip accscale accplay "
        "accstop acchour accwavemap acclegendwind acclegendcolours accmenubar accstatusbar fullscreen "
        "fullscreenkeys meteogrammissing")
        .split(QLatin1Char(' '));

// Each section's keys with their texts as written, before the reader cuts anything.
QMap<QString, QMap<QString, QString>> rawSections(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    QMap<QString, QMap<QString, QString>> sections;
    QString section;
    for (const QByteArray& rawLine : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) {
            continue;
        }
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2);
            sections[section];
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        EXPECT_GT(equals, 0) << "not a key line in [" << section.toStdString() << "]: " << line.toStdString();
        const QString key = line.left(equals).trimmed();
        EXPECT_FALSE(sections[section].contains(key))
            << "twice in [" << section.toStdString() << "]: " << key.toStdString();
        sections[section][key] = line.mid(equals + 1).trimmed();
    }
    return sections;
}

// The places a text fills in ("%1", "%2"), in the order they stand.
QStringList placeholdersOf(const QString& text) {
    QStringList found;
    static const QRegularExpression placeholder(QStringLiteral("%[0-9]"));
    for (const QRegularExpressionMatch& match : placeholder.globalMatch(text)) {
        found << match.captured();
    }
    found.sort();
    return found;
}

TEST(ShippedLanguages, EveryLanguageHoldsExactlyTheSameKeysWithTextsThatFit) {
    const auto sections = rawSections(shippedDataFile(QStringLiteral("lang.ini")));
    ASSERT_EQ(sections.keys(), (QStringList{u"english"_s, u"estonian"_s, u"latvian"_s}));
    QStringList expectedKeys = LanguageKeys;
    expectedKeys.sort();
    for (const QString& language : Languages) {
        const QMap<QString, QString>& texts = sections[language];
        EXPECT_EQ(texts.keys(), expectedKeys) << language.toStdString();
        for (auto it = texts.begin(); it != texts.end(); ++it) {
            EXPECT_FALSE(it.value().isEmpty()) << language.toStdString() << " " << it.key().toStdString();
            EXPECT_LE(it.value().size(), ProfileFile::MaxValueLength)
                << language.toStdString() << " " << it.key().toStdString();
            EXPECT_EQ(placeholdersOf(it.value()), placeholdersOf(sections[u"english"_s][it.key()]))
                << language.toStdString() << " " << it.key().toStdString();
        }
    }
}

TEST(ShippedSpots, EverySectionIsASpotOnTheMapAndTartuIsAmongThem) {
    const QString path = shippedDataFile(QStringLiteral("spots.ini"));
    const QVector<Spot> spots = loadSpotList(path);
    EXPECT_EQ(spots.size(), ProfileFile::load(path).sectionNames().size());
    EXPECT_GE(spots.size(), 15);
    bool tartuSeen = false;
    for (const Spot& spot : spots) {
        EXPECT_GE(spot.lon, ChartMap::West) << spot.name.toStdString();
        EXPECT_LE(spot.lon, ChartMap::West + ChartMap::LonSpan) << spot.name.toStdString();
        EXPECT_LE(spot.lat, ChartMap::North) << spot.name.toStdString();
        EXPECT_GE(spot.lat, ChartMap::North - ChartMap::LatSpan) << spot.name.toStdString();
        tartuSeen = tartuSeen || spot.name == QStringLiteral("Tartu");
    }
    EXPECT_TRUE(tartuSeen);
}

TEST(ShippedPictures, EachPictureLoadsAtTheSizeItsPlaceNeeds) {
    const QMap<QString, QSize> pictures{
        {u"marker.png"_s, {8, 8}},
        {u"placeholder.gif"_s, {468, 510}},
        {u"meteogram_strip.png"_s, {117, 9}},
        {u"meteogram_scale.png"_s, {17, 97}},
        {u"play.png"_s, {24, 24}},
        {u"stop.png"_s, {24, 24}},
        {u"download.png"_s, {24, 24}},
        {u"download_disabled.png"_s, {24, 24}},
        {u"wind.png"_s, {16, 16}},
        {u"cloud.png"_s, {16, 16}},
        {u"temperature.png"_s, {16, 16}},
        {u"rain.png"_s, {16, 16}},
    };
    for (auto it = pictures.begin(); it != pictures.end(); ++it) {
        const QImage image(shippedDataFile(QStringLiteral("pictures/") + it.key()));
        EXPECT_EQ(image.size(), it.value()) << it.key().toStdString();
    }
    for (const char* legend : {"legend_wind.png", "legend_colours.png"}) {
        EXPECT_FALSE(QImage(shippedDataFile(QStringLiteral("pictures/") + QLatin1String(legend))).isNull())
            << legend;
    }
}

} // namespace
