// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The provider's publication model, which the download run's fallback to an earlier run leans
// on; the pictures' answer to a client that has them already; the home site's update check.
#include "demo_client.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace demo_test;

namespace {

// An HTTP date moved by some seconds.
std::string shifted(const std::string& httpDate, int seconds) {
    const QString format = QStringLiteral("ddd, dd MMM yyyy hh:mm:ss 'GMT'");
    QDateTime moment = QLocale::c().toDateTime(QString::fromStdString(httpDate), format);
    moment.setTimeSpec(Qt::UTC);
    return QLocale::c().toString(moment.addSecs(seconds), format).toStdString();
}

} // namespace

// A run of date D, hour 00 or 12, is served from its start plus the publication hours until two
// days after its start.
TEST(ProviderCharts, ARunIsServedFromItsPublicationForTwoDays) {
    struct Case {
        QTime now;
        int publishAfterHours;
        const char* chart;
        int status;
    };
    const Case cases[] = {
        {QTime(3, 0), 5, "w.07041000.06", 404},     // today's 00 run is out at 05:00
        {QTime(4, 59), 5, "w.07041000.06", 404},    // a minute before
        {QTime(5, 0, 30), 5, "w.07041000.06", 200}, // just after
        {QTime(3, 0), 2, "w.07041000.06", 200},     // a quicker publisher
        {QTime(3, 0), 5, "w.07040912.24", 200},     // yesterday's 12 run serves meanwhile
        {QTime(3, 0), 5, "w.07040812.36", 200},     // 39 hours old: still kept
        {QTime(3, 0), 5, "w.07040800.48", 404},     // 51 hours old: gone
        {QTime(3, 0), 5, "w.07041100.06", 404},     // a run of tomorrow
        {QTime(13, 0), 5, "w.07040812.48", 404},    // 49 hours old
        {QTime(13, 0), 5, "w.07040900.48", 200},    // 37 hours old
    };
    for (const Case& c : cases) {
        demo::ServerOptions options;
        options.now = QDateTime(QDate(2007, 4, 10), c.now);
        options.publishAfterHours = c.publishAfterHours;
        const auto server = startServer(options);
        const QString chart = QStringLiteral("/m/EU0/maps/BA/BA.%1.gif").arg(QLatin1String(c.chart));
        EXPECT_EQ(fetch(server->port(), chart).status, c.status)
            << c.chart << " at " << qPrintable(c.now.toString());
    }
}

// A picture is answered 304 for a tag that matches, or without a tag for a time not before it
// was made; text answers carry no validators.
TEST(Pictures, AreAnsweredNotModifiedOnlyWhenTheClientHasThem) {
    const auto server = startServer(demo::ServerOptions{});
    const QString map = QStringLiteral("/stc/itamerinyt/images/data/wave03.gif");
    const Fetched first = fetch(server->port(), map);
    ASSERT_EQ(first.status, 200);
    ASSERT_EQ(shifted(first.lastModified, 0), first.lastModified) << first.lastModified;
    ASSERT_FALSE(first.etag.empty());
    const auto statusWith = [&](const RequestHeaders& headers) {
        return fetch(server->port(), map, headers).status;
    };
    EXPECT_EQ(statusWith({{"If-Modified-Since", first.lastModified}}), 304);
    EXPECT_EQ(statusWith({{"If-Modified-Since", shifted(first.lastModified, 3600)}}), 304);
    EXPECT_EQ(statusWith({{"If-Modified-Since", shifted(first.lastModified, -1)}}), 200);
    EXPECT_EQ(statusWith({{"If-Modified-Since", "yesterday"}}), 200);
    EXPECT_EQ(statusWith({{"If-None-Match", first.etag}}), 304);
    EXPECT_EQ(statusWith({{"If-None-Match", "\"other\""}, {"If-Modified-Since", first.lastModified}}), 200)
        << "a tag asked for decides alone";
    const Fetched answer = fetch(server->port(), QStringLiteral("/brl/toetajad.php"));
    EXPECT_EQ(answer.status, 200);
    EXPECT_TRUE(answer.lastModified.empty());
}

// Unless told a version to offer, the demo stops no download run at the update window. (A told
// version is offered as the update window's tests ask for it.)
TEST(HomeSite, OffersNoUpdateUnlessToldAVersion) {
    const auto server = startServer(demo::ServerOptions{});
    EXPECT_EQ(fetch(server->port(), QStringLiteral("/brl/uuendused.php3?ver=1000000")).body,
              "Kasutuses on uusim versioon\r\n");
}
