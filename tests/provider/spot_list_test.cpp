// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "provider/spot_list.h"
#include "test_support.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using testing_support::TempProgramFolder;

namespace {

QStringList namesOf(const QVector<Spot>& spots) {
    QStringList names;
    for (const Spot& spot : spots) {
        names << spot.name;
    }
    return names;
}

class SpotListTest : public ::testing::Test {
protected:
    QVector<Spot> load(const QByteArray& content) {
        folder.write(QStringLiteral("spots.ini"), content);
        return loadSpotList(folder.file(QStringLiteral("spots.ini")));
    }

    TempProgramFolder folder;
};

TEST_F(SpotListTest, KeepsFileOrderAndReadsEachSectionsNumbers) {
    const QVector<Spot> spots = load("[Tartu]\nlon=26.729\nlat=58.378\nelev=57\n"
                                     "[Ainaži]\nelev=4\nlat=57.864\nlon=24.36\n"
                                     "[Haapsalu]\nlon=23.541\nlat=58.943\nelev=4\n");
    ASSERT_EQ(namesOf(spots), (QStringList{u"Tartu"_s, QStringLiteral("Ainaži"), u"Haapsalu"_s}));
    EXPECT_DOUBLE_EQ(spots[1].lon, 24.36);
    EXPECT_DOUBLE_EQ(spots[1].lat, 57.864);
    EXPECT_EQ(spots[1].elev, 4);
    EXPECT_DOUBLE_EQ(spots[2].lon, 23.541);
    EXPECT_EQ(spots[0].elev, 57);
}

TEST_F(SpotListTest, MissingKeysReadAs24AndBlankNamesAreSkipped) {
    const QVector<Spot> spots = load("[Nowhere]\n[   ]\nlon=1\n[OnlyLon]\nlon=22.5\n");
    ASSERT_EQ(namesOf(spots), (QStringList{u"Nowhere"_s, u"OnlyLon"_s}));
    EXPECT_DOUBLE_EQ(spots[0].lon, 24);
    EXPECT_DOUBLE_EQ(spots[0].lat, 24);
    EXPECT_EQ(spots[0].elev, 24);
    EXPECT_DOUBLE_EQ(spots[1].lon, 22.5);
    EXPECT_DOUBLE_EQ(spots[1].lat, 24);
}

TEST_F(SpotListTest, ReadsDecimalCommaAndPointWhateverTheLocale) {
    const QByteArray content =
        "[Comma]\nlon=24,5\nlat=-57,25\nelev=3,6\n[Point]\nlon=24.5\nlat=-57.25\nelev=3.6\n";
    for (const QLocale& locale : {QLocale(QLocale::German), QLocale(QLocale::English), QLocale::c()}) {
        const QLocale before;
        QLocale::setDefault(locale);
        const QVector<Spot> spots = load(content);
        QLocale::setDefault(before);
        ASSERT_EQ(spots.size(), 2) << locale.name().toStdString();
        for (const Spot& spot : spots) {
            EXPECT_DOUBLE_EQ(spot.lon, 24.5) << spot.name.toStdString();
            EXPECT_DOUBLE_EQ(spot.lat, -57.25) << spot.name.toStdString();
            EXPECT_EQ(spot.elev, 4) << spot.name.toStdString();
        }
    }
}

TEST_F(SpotListTest, RoundsElevationToNearestWithHalvesToEven) {
    const QVector<Spot> spots = load("[a]\nelev=2.5\n[b]\nelev=3.5\n[c]\nelev=-0.5\n[d]\nelev=10.49\n"
                                     "[e]\nelev=10.51\n[f]\nelev=-2.5\n");
    QVector<int> elevations;
    for (const Spot& spot : spots) {
        elevations << spot.elev;
    }
    EXPECT_EQ(elevations, (QVector<int>{2, 4, 0, 10, 11, -2}));
}

// A place with a number that cannot be read would be fetched for a made-up position; it is left
// out rather than guessed.
TEST_F(SpotListTest, LeavesOutSpotsWhoseNumbersCannotBeRead) {
    const QVector<Spot> spots = load("[Text]\nlon=east\n[Empty]\nlat=\n[Grouped]\nlon=1,024.5\n"
                                     "[Huge]\nelev=1e9\n[Infinite]\nlat=inf\n[Pole]\nlat=-90.5\n"
                                     "[Round]\nlon=180.01\n[Far]\nlat=-1e308\n[Good]\nlon=21.011\n");
    EXPECT_EQ(namesOf(spots), QStringList{u"Good"_s});
}

TEST_F(SpotListTest, LeavesOutNamesThatCouldLeaveTheChartFolder) {
    const QVector<Spot> spots = load("[../up]\n[a/b]\n[a\\b]\n[x..y]\n[.]\n[C:]\n[what?]\n[star*]\n"
                                     "[say \"hi\"]\n[<lt]\n[gt>]\n[pi|pe]\n[bell\x07]\n[tab\there]\n"
                                     "[Tallinn (Pirita)]\n[Narva-Jõesuu]\n[St. Peter]\n");
    EXPECT_EQ(namesOf(spots),
              (QStringList{u"Tallinn (Pirita)"_s, QStringLiteral("Narva-Jõesuu"), u"St. Peter"_s}));
}

TEST_F(SpotListTest, LeavesOutNamesWhosePicturesWouldOverwriteCharts) {
    const QVector<Spot> spots = load("[HALO12]\n[halopilv05]\n[HALOsade23]\n[000321]\n[001600]\n"
                                     "[HALO24]\n[HALO]\n[Halo Bay]\n[000322]\n[0003]\n");
    EXPECT_EQ(namesOf(spots), (QStringList{u"HALO24"_s, u"HALO"_s, u"Halo Bay"_s, u"000322"_s, u"0003"_s}));
}

TEST_F(SpotListTest, KeepsEverySpotOfALongList) {
    QByteArray content;
    QStringList expected;
    for (int i = 0; i < 60; ++i) {
        const QString name = QStringLiteral("Spot number %1 on the coast").arg(i, 2, 10, QLatin1Char('0'));
        expected << name;
        content += "[" + name.toUtf8() + "]\nlon=" + QByteArray::number(20 + i / 10.0) +
                   "\nlat=57\nelev=" + QByteArray::number(i) + "\n";
    }
    ASSERT_GT(expected.join(QChar()).size(), 1024);

    const QVector<Spot> spots = load(content);

    ASSERT_EQ(namesOf(spots), expected);
    EXPECT_DOUBLE_EQ(spots.last().lon, 25.9);
    EXPECT_EQ(spots.last().elev, 59);
}

TEST_F(SpotListTest, MissingEmptyOrBinaryFileGivesNoSpots) {
    EXPECT_TRUE(loadSpotList(folder.file(QStringLiteral("absent.ini"))).isEmpty());
    EXPECT_TRUE(load(QByteArray()).isEmpty());
    EXPECT_TRUE(load(QByteArray("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00!\xf9\x04", 20))
                    .isEmpty());
}

} // namespace
