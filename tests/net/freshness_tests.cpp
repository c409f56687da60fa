// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// When a stored file needs no request: what servers send, read as a private cache reads it.
#include "net/freshness.h"
#include "net/provider_requests.h"

#include <gtest/gtest.h>

namespace {

constexpr qint64 Received = 1'000'000'000;
const QByteArray ServerDate = "Sun, 09 Sep 2001 01:46:40 GMT"; // the moment received, by the server

struct Case {
    const char* name;
    FreshnessRecord record;
    bool fixedOncePublished;
    qint64 freshFor; // seconds after receipt; 0: never fresh
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

FreshnessRecord said(QByteArray cacheControl, QByteArray expires = {}, QByteArray date = ServerDate,
                     QByteArray age = {}, QByteArray lastModified = {}) {
    return {std::move(cacheControl), std::move(expires),      std::move(date),
            std::move(age),          std::move(lastModified), Received};
}

const Case Cases[] = {
    {"MaxAge", said("public, max-age=600"), false, 600},
    {"MaxAgeQuoted", said("max-age=\"600\""), false, 600},
    {"MaxAgeLessTheAgeAtReceipt", said("max-age=600", {}, ServerDate, "200"), false, 400},
    {"MaxAgeWinsOverExpires", said("max-age=60", "Sun, 09 Sep 2001 02:46:40 GMT"), true, 60},
    {"MustRevalidateAndImmutableChangeNothing", said("max-age=60, must-revalidate, immutable"), false, 60},
    {"NoCacheAsksEveryTime", said("no-cache, max-age=600"), true, 0},
    {"NoStoreAsksEveryTime", said("No-Store"), true, 0},
    {"MaxAgeZeroAsksEveryTime", said("max-age=0"), true, 0},
    {"AMaxAgeThatIsNoNumberIsStale", said("max-age=soon"), true, 0},
    {"ExpiresLessDate", said({}, "Sun, 09 Sep 2001 02:46:40 GMT"), false, 3600},
    {"ExpiresInTheOldForms", said({}, "Sunday, 09-Sep-01 02:46:40 GMT", "Sun Sep  9 01:46:40 2001"), false,
     3600},
    {"ExpiresWithoutDateIsNeverFresh", said({}, "Sun, 09 Sep 2001 02:46:40 GMT", {}), true, 0},
    {"ExpiresThatIsNoDateIsNeverFresh", said({}, "0"), true, 0},
    {"AModelRunChartForADay", said("public"), true, 24 * 3600},
    {"LastModifiedGivesATenth", said({}, {}, ServerDate, {}, "Sun, 09 Sep 2001 01:30:00 GMT"), false, 100},
    {"LastModifiedAtMostAQuarterHour", said({}, {}, ServerDate, {}, "Sat, 08 Sep 2001 01:46:40 GMT"), false,
     900},
    {"LastModifiedWithoutDateIsNeverFresh", said({}, {}, {}, {}, "Sat, 08 Sep 2001 01:46:40 GMT"), false, 0},
    {"NothingSaidIsNeverFresh", said({}), false, 0},
};

class Freshness : public ::testing::TestWithParam<Case> {};

} // namespace

TEST_P(Freshness, LastsExactlyAsTheReplySaid) {
    const Case& c = GetParam();
    EXPECT_EQ(isFresh(c.record, Received, c.fixedOncePublished), c.freshFor > 0);
    if (c.freshFor > 0) {
        EXPECT_TRUE(isFresh(c.record, Received + c.freshFor - 1, c.fixedOncePublished));
        EXPECT_FALSE(isFresh(c.record, Received + c.freshFor, c.fixedOncePublished));
    }
    // A clock set back before the receipt makes nothing fresh.
    EXPECT_FALSE(isFresh(c.record, Received - 1, c.fixedOncePublished));
    // The record survives its attribute.
    const std::optional<FreshnessRecord> kept = decodeFreshness(encodeFreshness(c.record));
    ASSERT_TRUE(kept.has_value());
    FreshnessRecord withValidator = *kept;
    withValidator.lastModified = c.record.lastModified;
    EXPECT_EQ(isFresh(withValidator, Received, c.fixedOncePublished), c.freshFor > 0);
}

INSTANTIATE_TEST_SUITE_P(WhatServersSay, Freshness, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(info.param.name);
                         });

TEST(FreshnessRecordText, AnythingButARecordIsNone) {
    for (const QByteArray& text :
         {QByteArray(), QByteArray("received:x"), QByteArray("cache-control:max-age=9"),
          QByteArray("received:1\nsomething:else"), QByteArray(5000, 'a')}) {
        EXPECT_FALSE(decodeFreshness(text).has_value()) << text.left(40).toStdString();
    }
}

TEST(AreaChartAddress, NamesItsRunAndLeadTimeAndNothingElseDoes) {
    const QUrl base(QStringLiteral("http://127.0.0.1:8080"));
    const QUrl chart = areaChartUrl(base, QStringLiteral("t10"), QDate(2007, 4, 9), 12, 38);
    const std::optional<AreaChartRun> run = areaChartRunOf(chart);
    ASSERT_TRUE(run.has_value()) << chart.toString().toStdString();
    EXPECT_EQ(run->chartCode, QStringLiteral("t10"));
    EXPECT_EQ(run->runDate, QDate(2007, 4, 9));
    EXPECT_EQ(run->runHour, 12);
    EXPECT_EQ(run->step, 38);
    for (const QUrl& other :
         {loginUrl(base, QStringLiteral("a"), QStringLiteral("b")), pointForecastUrl(base, 24.5, 58.4, 10),
          QUrl(QStringLiteral("http://x/m/EU0/maps/BA/BA.w.07133100.03.gif")),
          QUrl(QStringLiteral("http://x/daten/segel/2007/04/10/000303.gif"))}) {
        EXPECT_FALSE(areaChartRunOf(other).has_value()) << other.toString().toStdString();
    }
}
