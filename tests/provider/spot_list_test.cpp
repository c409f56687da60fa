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

// Each spot as "name lon lat elev", its degrees in the shortest form that reads back the same.
QStringList spotsOf(const QVector<Spot>& spots) {
    QStringList lines;
    for (const Spot& spot : spots) {
        lines << u"%1 %2 %3 %4"_s
                     .arg(spot.name, QString::number(spot.lon, 'g', QLocale::FloatingPointShortest),
                          QString::number(spot.lat, 'g', QLocale::FloatingPointShortest))
                     .arg(spot.elev);
    }
    return lines;
}

class SpotListTest : public ::testing::Test {
protected:
    QVector<Spot> load(const QByteArray& content) {
        folder.write(QStringLiteral("spots.ini"), content);
        return loadSpotList(folder.file(QStringLiteral("spots.ini")));
    }

    TempProgramFolder folder;
};

struct SpotFile {
    const char* what;
    QByteArray content;
    QStringList spots;
};

// A place whose number cannot be read would be fetched for a made-up position, and a name that
// leaves the chart folder or names a chart would write over other files: both are left out rather
// than guessed. Every file reads the same whatever the locale.
TEST_F(SpotListTest, EachFileGivesItsSpotsInFileOrderInEveryLocale) {
    const SpotFile files[] = {
        {"numbers of each section",
         "[Tartu]\nlon=26.729\nlat=58.378\nelev=57\n[Ainaži]\nelev=4\nlat=57.864\nlon=24.36\n",
         {u"Tartu 26.729 58.378 57"_s, u"Ainaži 24.36 57.864 4"_s}},
        {"missing keys read as 24, a blank name is skipped",
         "[Nowhere]\n[   ]\nlon=1\n[OnlyLon]\nlon=22.5\n",
         {u"Nowhere 24 24 24"_s, u"OnlyLon 22.5 24 24"_s}},
        {"a decimal comma or point",
         "[Comma]\nlon=24,5\nlat=-57,25\nelev=3,6\n[Point]\nlon=24.5\nlat=-57.25\nelev=3.6\n",
         {u"Comma 24.5 -57.25 4"_s, u"Point 24.5 -57.25 4"_s}},
        {"elevations rounded half to even",
         "[a]\nelev=2.5\n[b]\nelev=3.5\n[c]\nelev=-0.5\n[d]\nelev=10.49\n[e]\nelev=10.51\n[f]\nelev=-2.5\n",
         {u"a 24 24 2"_s, u"b 24 24 4"_s, u"c 24 24 0"_s, u"d 24 24 10"_s, u"e 24 24 11"_s, u"f 24 24 -2"_s}},
        {"numbers that cannot be read or lie beyond the earth's",
         "[Text]\nlon=east\n[Empty]\nlat=\n[Grouped]\nlon=1,024.5\n[Huge]\nelev=1e9\n[Infinite]\nlat=inf\n"
         "[Pole]\nlat=-90.5\n[Round]\nlon=180.01\n[Far]\nlat=-1e308\n[Good]\nlon=21.011\n",
         {u"Good 21.011 24 24"_s}},
        {"names that could leave the chart folder",
         "[../up]\n[a/b]\n[a\\b]\n[x..y]\n[.]\n[C:]\n[what?]\n[star*]\n[say \"hi\"]\n[<lt]\n[gt>]\n[pi|pe]\n"
         "[bell\x07]\n[tab\there]\n[Tallinn (Pirita)]\n[Narva-Jõesuu]\n[St. Peter]\n",
         {u"Tallinn (Pirita) 24 24 24"_s, u"Narva-Jõesuu 24 24 24"_s, u"St. Peter 24 24 24"_s}},
        {"names whose pictures would overwrite charts",
         "[HALO12]\n[halopilv05]\n[HALOsade23]\n[000321]\n[001600]\n"
         "[HALO24]\n[HALO]\n[Halo Bay]\n[000322]\n[0003]\n",
         {u"HALO24 24 24 24"_s, u"HALO 24 24 24"_s, u"Halo Bay 24 24 24"_s, u"000322 24 24 24"_s,
          u"0003 24 24 24"_s}},
        {"an empty file", QByteArray(), {}},
        {"a picture",
         QByteArray("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00!\xf9\x04", 20),
         {}},
    };
    const QLocale before;
    for (const QLocale& locale : {QLocale(QLocale::German), QLocale(QLocale::English), QLocale::c()}) {
        QLocale::setDefault(locale);
        for (const SpotFile& file : files) {
            EXPECT_EQ(spotsOf(load(file.content)), file.spots)
                << file.what << " in " << locale.name().toStdString();
        }
    }
    QLocale::setDefault(before);
}

TEST_F(SpotListTest, KeepsEverySpotOfALongList) {
    QByteArray content;
    QStringList expected;
    for (int i = 0; i < 60; ++i) {
        const QString name = QStringLiteral("Spot number %1 on the coast").arg(i, 2, 10, QLatin1Char('0'));
        const QByteArray lon = QByteArray::number(20 + i / 10.0);
        expected << name + u' ' + QString::fromLatin1(lon) + u" 57 "_s + QString::number(i);
        content += "[" + name.toUtf8() + "]\nlon=" + lon + "\nlat=57\nelev=" + QByteArray::number(i) + "\n";
    }
    ASSERT_GT(expected.join(QChar()).size(), 1024);
    EXPECT_EQ(spotsOf(load(content)), expected);
}

} // namespace
