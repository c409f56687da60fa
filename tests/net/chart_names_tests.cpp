#include "net/chart_names.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

const QDate April10(2007, 4, 10);
const QUrl Provider(QStringLiteral("http://provider.test:8080"));
const QUrl Marevo(QStringLiteral("http://marevo.test"));
const QUrl Wave(QStringLiteral("http://wave.test"));

QString urlText(const QUrl& url) {
    return QString::fromLatin1(url.toEncoded());
}

QString areaChart(const QDate& kp, int kell, int number, const QString& taht = QStringLiteral("w")) {
    return urlText(halourl(Provider, April10, kp, kell, number, taht));
}

} // namespace

TEST(SliderHours, RoundTowardsMinusInfinity) {
    EXPECT_EQ(floorDiv(0, 24), 0);
    EXPECT_EQ(floorDiv(23, 24), 0);
    EXPECT_EQ(floorDiv(24, 24), 1);
    EXPECT_EQ(floorDiv(-1, 24), -1);
    EXPECT_EQ(floorDiv(-24, 24), -1);
    EXPECT_EQ(floorDiv(-25, 24), -2);
    EXPECT_EQ(floorDiv(-2, 3), -1);
}

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
}

TEST(ProviderChartNames, RunChoiceAndFolderSeparatorDoNotChangeTheName) {
    const QString withSeparator = halofail(QStringLiteral("/p/kaardid/"), April10, 9, 0, QStringLiteral("w"));
    EXPECT_EQ(halofail(QStringLiteral("/p/kaardid"), April10, 9, 3, QStringLiteral("w")), withSeparator);
}

TEST(ProviderChartNames, HourBeforeTodayNamesYesterday) {
    const SliderMoment moment = sliderMoment(April10, -2);
    EXPECT_EQ(
        QDir(halofail(QStringLiteral("/k"), moment.date, moment.hour, 0, QStringLiteral("w"))).dirName(),
        QStringLiteral("20070409HALO22.gif"));
}

TEST(ProviderChartAddresses, WorkedExamples) {
    const QDate april11(2007, 4, 11);
    EXPECT_EQ(areaChart(april11, 12, 0),
              QStringLiteral("http://provider.test:8080/m/EU0/maps/BA/BA.w.07041000.36.gif"));
    EXPECT_EQ(areaChart(april11, 12, 2),
              QStringLiteral("http://provider.test:8080/m/EU0/maps/BA/BA.w.07040912.48.gif"));
}

TEST(ProviderChartAddresses, ChoicesZeroAndOneAreTheSameRun) {
    for (int kell : {1, 9, 23}) {
        EXPECT_EQ(areaChart(April10, kell, 0), areaChart(April10, kell, 1)) << kell;
    }
}

TEST(ProviderChartAddresses, OlderRuns) {
    EXPECT_EQ(areaChart(April10, 6, 2, QStringLiteral("cc")),
              QStringLiteral("http://provider.test:8080/m/EU0/maps/BA/BA.cc.07040912.18.gif"));
    EXPECT_EQ(areaChart(April10, 6, 3, QStringLiteral("t10")),
              QStringLiteral("http://provider.test:8080/m/EU0/maps/BA/BA.t10.07040812.42.gif"));
}

TEST(ProviderChartAddresses, ChartNotAfterTodaysMidnightRunComesFromYesterdaysNoonRun) {
    EXPECT_EQ(areaChart(April10, 0, 0),
              QStringLiteral("http://provider.test:8080/m/EU0/maps/BA/BA.w.07040912.12.gif"));
    EXPECT_EQ(areaChart(QDate(2007, 4, 9), 22, 0),
              QStringLiteral("http://provider.test:8080/m/EU0/maps/BA/BA.w.07040912.10.gif"));
    EXPECT_EQ(areaChart(April10, 1, 0),
              QStringLiteral("http://provider.test:8080/m/EU0/maps/BA/BA.w.07041000.01.gif"));
}

TEST(ProviderChartAddresses, StepFromHundredHasThreeDigits) {
    EXPECT_TRUE(areaChart(QDate(2007, 4, 14), 6, 0).endsWith(QStringLiteral("/BA.w.07041000.102.gif")));
    EXPECT_TRUE(areaChart(QDate(2007, 4, 13), 3, 0).endsWith(QStringLiteral("/BA.w.07041000.75.gif")));
}

TEST(ProviderChartAddresses, NoAddressForUnknownChoiceOrUnconfiguredProvider) {
    EXPECT_TRUE(halourl(Provider, April10, April10, 9, 4, QStringLiteral("w")).isEmpty());
    EXPECT_TRUE(halourl(Provider, April10, April10, 9, -1, QStringLiteral("w")).isEmpty());
    EXPECT_TRUE(halourl(QUrl(), April10, April10, 9, 0, QStringLiteral("w")).isEmpty());
}

TEST(ProviderChartAddresses, BaseWithPathAndTrailingSlash) {
    const QUrl base(QStringLiteral("http://provider.test/mirror/"));
    EXPECT_EQ(urlText(halourl(base, April10, April10, 9, 0, QStringLiteral("pc"))),
              QStringLiteral("http://provider.test/mirror/m/EU0/maps/BA/BA.pc.07041000.09.gif"));
}

TEST(SailingMaps, WorkedExample) {
    const SailingMap mainland = sailingMap(Marevo, April10, 15, MainlandMapCode);
    EXPECT_EQ(mainland.fileName, QStringLiteral("20070410000312.gif"));
    EXPECT_EQ(urlText(mainland.url), QStringLiteral("http://marevo.test/daten/segel/2007/04/10/000312.gif"));
    EXPECT_EQ(mainland.date, April10);
    EXPECT_EQ(mainland.hour, 12);
    EXPECT_EQ(mainland.validDate, April10);
    EXPECT_EQ(mainland.validHour, 15);
    const SailingMap islands = sailingMap(Marevo, April10, 15, IslandsMapCode);
    EXPECT_EQ(islands.fileName, QStringLiteral("20070410001612.gif"));
    EXPECT_EQ(urlText(islands.url), QStringLiteral("http://marevo.test/daten/segel/2007/04/10/001612.gif"));
}

TEST(SailingMaps, FirstSlotOfADayIsStampedTheDayBefore) {
    for (int hour : {0, 1, 2}) {
        const SailingMap map = sailingMap(Marevo, April10, hour, MainlandMapCode);
        EXPECT_EQ(map.fileName, QStringLiteral("20070409000321.gif")) << hour;
        EXPECT_EQ(urlText(map.url), QStringLiteral("http://marevo.test/daten/segel/2007/04/09/000321.gif"))
            << hour;
        EXPECT_EQ(map.validDate, April10) << hour;
        EXPECT_EQ(map.validHour, 0) << hour;
    }
}

TEST(SailingMaps, EveryHourOfASlotNamesTheSameMaps) {
    for (int hour : {3, 4, 5}) {
        EXPECT_EQ(sailingMap(Marevo, April10, hour, IslandsMapCode).fileName,
                  QStringLiteral("20070410001600.gif"));
    }
    const SailingMap lastOfDay = sailingMap(Marevo, April10, 23, MainlandMapCode);
    EXPECT_EQ(lastOfDay.fileName, QStringLiteral("20070410000318.gif"));
    EXPECT_EQ(lastOfDay.validHour, 21);
}

TEST(SailingMaps, ThreeDaysAheadAtOneOClock) {
    const SailingMap map = sailingMap(Marevo, April10, 73, MainlandMapCode);
    EXPECT_EQ(map.fileName, QStringLiteral("20070412000321.gif"));
    EXPECT_EQ(map.validDate, QDate(2007, 4, 13));
    EXPECT_EQ(urlText(map.url), QStringLiteral("http://marevo.test/daten/segel/2007/04/12/000321.gif"));
}

TEST(OtherChartNames, SpotFiles) {
    EXPECT_EQ(spotReplyFile(QStringLiteral("Tallinn")), QStringLiteral("Tallinn.xml"));
    EXPECT_EQ(spotPictureFile(April10, QStringLiteral("Tallinn")), QStringLiteral("20070410Tallinn.gif"));
    EXPECT_EQ(spotPictureFile(QDate(2007, 1, 5), QStringLiteral("Pärnu")),
              QStringLiteral("20070105Pärnu.gif"));
}

TEST(OtherChartNames, WaveMaps) {
    EXPECT_EQ(waveMapFile(1), QStringLiteral("wave03.gif"));
    EXPECT_EQ(waveMapFile(3), QStringLiteral("wave09.gif"));
    EXPECT_EQ(waveMapFile(WaveMapCount), QStringLiteral("wave54.gif"));
    EXPECT_EQ(urlText(waveMapUrl(Wave, 1)),
              QStringLiteral("http://wave.test/stc/itamerinyt/images/data/wave03.gif"));
    EXPECT_EQ(urlText(waveMapUrl(Wave, 18)),
              QStringLiteral("http://wave.test/stc/itamerinyt/images/data/wave54.gif"));
}
