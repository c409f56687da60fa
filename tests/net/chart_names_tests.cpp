// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/chart_names.h"

#include <gtest/gtest.h>

namespace {

const QDate April10(2007, 4, 10);
const QUrl Provider(QStringLiteral("http://provider.test:8080"));
const QUrl Marevo(QStringLiteral("http://marevo.test"));

QString urlText(const QUrl& url) {
    return QString::fromLatin1(url.toEncoded());
}

QString areaChart(const QDate& kp, int kell, int number, const QString& taht = QStringLiteral("w")) {
    return urlText(halourl(Provider, April10, kp, kell, number, taht));
}

} // namespace

TEST(SliderHours, MomentOfAnHour) {
    const auto expectMoment = [](int hour, const QDate& date, int hourOfDay) {
        const SliderMoment moment = sliderMoment(April10, hour);
        EXPECT_EQ(moment.date, date) << hour;
        EXPECT_EQ(moment.hour, hourOfDay) << hour;
    };
    expectMoment(0, April10, 0);
    expectMoment(23, April10, 23);
    expectMoment(36, QDate(2007, 4, 11), 12);
    expectMoment(168, QDate(2007, 4, 17), 0);
    expectMoment(-2, QDate(2007, 4, 9), 22);
    expectMoment(-26, QDate(2007, 4, 8), 22);
}

TEST(ProviderChartNames, WordOfEachChartFamily) {
    const QString folder = QStringLiteral("/home/u/kaardid/");
    EXPECT_EQ(halofail(folder, April10, 9, 0, QStringLiteral("w")),
              folder + QStringLiteral("20070410HALO09.gif"));
    EXPECT_EQ(halofail(folder, April10, 9, 0, QStringLiteral("cc")),
              folder + QStringLiteral("20070410HALOpilv09.gif"));
    EXPECT_EQ(halofail(folder, April10, 17, 0, QStringLiteral("t10")),
              folder + QStringLiteral("20070410HALOtemp17.gif"));
    EXPECT_EQ(halofail(folder, April10, 0, 0, QStringLiteral("pc")),
              folder + QStringLiteral("20070410HALOsade00.gif"));
    EXPECT_EQ(halofail(folder, April10, 9, 0, QStringLiteral("xyz")),
              folder + QStringLiteral("20070410HALO09.gif"));
    // Neither the run chosen nor the folder's separator changes the name.
    EXPECT_EQ(halofail(QStringLiteral("/home/u/kaardid"), April10, 9, 3, QStringLiteral("w")),
              folder + QStringLiteral("20070410HALO09.gif"));
}

// Choices 0 and 1 are today's 00 run (yesterday's 12 run for a chart not after today's midnight),
// 2 and 3 the runs before it; a step of a hundred or more has three digits.
TEST(ProviderChartAddresses, RunAndStepOfEachChoice) {
    struct Row {
        QDate kp;
        int kell;
        int number;
        const char* taht;
        const char* file;
    };
    const Row rows[] = {{QDate(2007, 4, 11), 12, 0, "w", "BA.w.07041000.36.gif"},
                        {QDate(2007, 4, 11), 12, 2, "w", "BA.w.07040912.48.gif"},
                        {April10, 6, 2, "cc", "BA.cc.07040912.18.gif"},
                        {April10, 6, 3, "t10", "BA.t10.07040812.42.gif"},
                        {April10, 0, 0, "w", "BA.w.07040912.12.gif"},
                        {QDate(2007, 4, 9), 22, 0, "w", "BA.w.07040912.10.gif"},
                        {April10, 1, 0, "w", "BA.w.07041000.01.gif"},
                        {QDate(2007, 4, 14), 6, 0, "w", "BA.w.07041000.102.gif"},
                        {QDate(2007, 4, 13), 3, 0, "w", "BA.w.07041000.75.gif"}};
    for (const Row& row : rows) {
        EXPECT_EQ(areaChart(row.kp, row.kell, row.number, QString::fromLatin1(row.taht)),
                  QStringLiteral("http://provider.test:8080/m/EU0/maps/BA/") + QLatin1String(row.file));
    }
    for (int kell : {1, 9, 23}) {
        EXPECT_EQ(areaChart(April10, kell, 0), areaChart(April10, kell, 1)) << kell;
    }
}

TEST(ProviderChartAddresses, NoAddressForUnknownChoiceOrUnconfiguredProviderAndABaseWithAPath) {
    EXPECT_TRUE(halourl(Provider, April10, April10, 9, 4, QStringLiteral("w")).isEmpty());
    EXPECT_TRUE(halourl(Provider, April10, April10, 9, -1, QStringLiteral("w")).isEmpty());
    EXPECT_TRUE(halourl(QUrl(), April10, April10, 9, 0, QStringLiteral("w")).isEmpty());
    const QUrl base(QStringLiteral("http://provider.test/mirror/"));
    EXPECT_EQ(urlText(halourl(base, April10, April10, 9, 0, QStringLiteral("pc"))),
              QStringLiteral("http://provider.test/mirror/m/EU0/maps/BA/BA.pc.07041000.09.gif"));
}

// Every hour of a three-hour slot names the maps of the slot; the first slot of a day is stamped
// the day before.
TEST(SailingMaps, EveryHourOfASlotNamesItsMaps) {
    struct Row {
        int hour;
        QString code;
        const char* file;
        QDate validDate;
        int validHour;
    };
    const Row rows[] = {{15, MainlandMapCode, "20070410000312.gif", April10, 15},
                        {15, IslandsMapCode, "20070410001612.gif", April10, 15},
                        {0, MainlandMapCode, "20070409000321.gif", April10, 0},
                        {1, MainlandMapCode, "20070409000321.gif", April10, 0},
                        {2, MainlandMapCode, "20070409000321.gif", April10, 0},
                        {3, IslandsMapCode, "20070410001600.gif", April10, 3},
                        {4, IslandsMapCode, "20070410001600.gif", April10, 3},
                        {5, IslandsMapCode, "20070410001600.gif", April10, 3},
                        {23, MainlandMapCode, "20070410000318.gif", April10, 21},
                        {73, MainlandMapCode, "20070412000321.gif", QDate(2007, 4, 13), 0}};
    for (const Row& row : rows) {
        const SailingMap map = sailingMap(Marevo, April10, row.hour, row.code);
        const QString file = QString::fromLatin1(row.file);
        EXPECT_EQ(map.fileName, file) << row.hour;
        EXPECT_EQ(urlText(map.url), QStringLiteral("http://marevo.test/daten/segel/%1/%2/%3/%4")
                                        .arg(file.left(4), file.mid(4, 2), file.mid(6, 2), file.mid(8)))
            << row.hour;
        EXPECT_EQ(map.validDate, row.validDate) << row.hour;
        EXPECT_EQ(map.validHour, row.validHour) << row.hour;
    }
    const SailingMap mainland = sailingMap(Marevo, April10, 15, MainlandMapCode);
    EXPECT_EQ(mainland.date, April10);
    EXPECT_EQ(mainland.hour, 12);
}

// The wave maps' names and addresses are the wave window's: it names the maps it shows, and the
// demo service answers no other address.
TEST(OtherChartNames, SpotFiles) {
    EXPECT_EQ(spotReplyFile(QStringLiteral("Tallinn")), QStringLiteral("Tallinn.xml"));
    EXPECT_EQ(spotPictureFile(April10, QStringLiteral("Tallinn")), QStringLiteral("20070410Tallinn.gif"));
    EXPECT_EQ(spotPictureFile(QDate(2007, 1, 5), QStringLiteral("Pärnu")),
              QStringLiteral("20070105Pärnu.gif"));
}
