// The provider's area charts with their publication model, its login and its point forecasts.
#include "demo_client.h"
#include "pictures.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace demo_test;

namespace {

QString chart(const QString& name) {
    return QStringLiteral("/m/EU0/maps/BA/BA.") + name + QStringLiteral(".gif");
}

QString loginTarget(const QString& email, const QString& password) {
    return QStringLiteral("/cg/login/?email=%1&th_password=%2&lang=en&login=submit").arg(email, password);
}

const QString forecastTarget = QStringLiteral(
    "/cg/mgx?lang=en&lon=24.5&lat=59.4&elev=10&stack=0&dayim=0&tunits=C&expl=0&windunits=M&tzoff=2");

} // namespace

TEST(ProviderCharts, RunsAppearAtPublicationAndVanishAfterTwoDays) {
    const auto server = startServerAt(earlyMorning());
    // Today's 00 run is published at 05:00, so in the early morning yesterday's 12 run serves.
    EXPECT_EQ(fetch(server->port(), chart(u"w.07041000.06"_s)).status, 404);
    EXPECT_EQ(fetch(server->port(), chart(u"w.07040912.24"_s)).status, 200);
    EXPECT_EQ(fetch(server->port(), chart(u"w.07040812.36"_s)).status, 200) << "39 hours old: still kept";
    EXPECT_EQ(fetch(server->port(), chart(u"w.07040800.48"_s)).status, 404) << "51 hours old: gone";
    EXPECT_EQ(fetch(server->port(), chart(u"w.07041100.06"_s)).status, 404) << "a run of tomorrow";
}

TEST(ProviderCharts, TodaysRunIsPublishedAfterTheConfiguredHours) {
    const QDate today(2007, 4, 10);
    EXPECT_EQ(fetch(startServerAt(QDateTime(today, QTime(4, 59)))->port(), chart(u"w.07041000.06"_s)).status,
              404);
    EXPECT_EQ(
        fetch(startServerAt(QDateTime(today, QTime(5, 0, 30)))->port(), chart(u"w.07041000.06"_s)).status,
        200);

    demo::ServerOptions quickPublisher;
    quickPublisher.now = earlyMorning();
    quickPublisher.publishAfterHours = 2;
    EXPECT_EQ(fetch(startServer(quickPublisher)->port(), chart(u"w.07041000.06"_s)).status, 200);
}

TEST(ProviderCharts, ExpiryFollowsTheClockPastNoon) {
    // At 13:00 the 12 run of two days before is 49 hours old.
    const auto server = startServerAt(QDateTime(QDate(2007, 4, 10), QTime(13, 0)));
    EXPECT_EQ(fetch(server->port(), chart(u"w.07040812.48"_s)).status, 404);
    EXPECT_EQ(fetch(server->port(), chart(u"w.07040900.48"_s)).status, 200);
}

TEST(ProviderCharts, MalformedAddressesAreNotFound) {
    const auto server = startServerAt(earlyMorning());
    for (const char* name : {"x.07040912.24", "W.07040912.24", "w.07040906.24", "w.07040912.6",
                             "w.07040912.012", "w.07023112.24", "w.0704091.24", "w.07040912.1000"}) {
        EXPECT_EQ(fetch(server->port(), chart(QString::fromLatin1(name))).status, 404) << name;
    }
    EXPECT_EQ(fetch(server->port(), QStringLiteral("/m/EU0/maps/BA/BA.w.07040912.24.png")).status, 404);
    EXPECT_EQ(fetch(server->port(), QStringLiteral("/m/EU0/maps/XX/BA.w.07040912.24.gif")).status, 404);
}

TEST(ProviderCharts, EveryFamilyIsADistinctChartPicture) {
    const auto server = startServerAt(earlyMorning());
    QList<QByteArray> pictures;
    for (const char* code : {"w", "cc", "t10", "pc"}) {
        const Fetched fetched =
            fetch(server->port(), chart(QStringLiteral("%1.07040912.24").arg(QLatin1String(code))));
        ASSERT_EQ(fetched.status, 200) << code;
        EXPECT_EQ(fetched.contentType, "image/gif");
        EXPECT_EQ(gifPicture(fetched.body).size(), QSize(468, 510)) << code;
        EXPECT_FALSE(pictures.contains(fetched.body)) << code;
        pictures << fetched.body;
    }
    const Fetched longStep = fetch(server->port(), chart(u"w.07040912.102"_s));
    EXPECT_EQ(gifPicture(longStep.body).size(), QSize(468, 510));
    EXPECT_NE(longStep.body, pictures.constFirst()) << "another step is another picture";
}

TEST(ProviderCharts, RepeatedFetchesGiveTheSamePicture) {
    const auto server = startServerAt(earlyMorning());
    const Fetched first = fetch(server->port(), chart(u"cc.07040912.30"_s));
    const Fetched second = fetch(server->port(), chart(u"cc.07040912.30"_s));
    ASSERT_EQ(first.status, 200);
    EXPECT_EQ(first.body, second.body);
}

TEST(ProviderLogin, TheMarkerIsInTheFirstLineExactlyWhenRefused) {
    const auto server = startServerAt(earlyMorning());
    const Fetched accepted =
        fetch(server->port(), loginTarget(QStringLiteral("demo"), QStringLiteral("demo")));
    EXPECT_EQ(accepted.status, 200);
    EXPECT_FALSE(firstLine(accepted.body).contains("Quellan login"));
    EXPECT_EQ(accepted.body.mid(accepted.body.indexOf('\r'), 2), "\r\n");

    for (const QString& target :
         {loginTarget(QStringLiteral("demo"), QStringLiteral("wrong")),
          loginTarget(QStringLiteral("someone"), QStringLiteral("demo")),
          QStringLiteral("/cg/login/?email=demo&lang=en&login=submit"), QStringLiteral("/cg/login/")}) {
        const Fetched refused = fetch(server->port(), target);
        EXPECT_EQ(refused.status, 200) << qPrintable(target);
        EXPECT_TRUE(firstLine(refused.body).contains("Quellan login")) << qPrintable(target);
        EXPECT_EQ(refused.body.mid(refused.body.indexOf('\r'), 2), "\r\n") << "lines end in CRLF";
    }
}

TEST(ProviderLogin, ValuesArePercentDecodedAndTheAccountIsConfigurable) {
    demo::ServerOptions options;
    options.user = QStringLiteral("skipper@example.org");
    options.password = QStringLiteral("a b");
    options.loginMarker = QStringLiteral("Seaweather login");
    const auto server = startServer(options);
    const Fetched accepted =
        fetch(server->port(), loginTarget(QStringLiteral("skipper%40example.org"), QStringLiteral("a%20b")));
    EXPECT_FALSE(firstLine(accepted.body).contains("Seaweather login"));
    const Fetched refused =
        fetch(server->port(), loginTarget(QStringLiteral("demo"), QStringLiteral("demo")));
    EXPECT_TRUE(firstLine(refused.body).contains("Seaweather login"));
}

TEST(ProviderForecast, NamesSevenDaysFromTodayWithFetchablePictures) {
    const auto server = startServerAt(earlyMorning());
    const Fetched reply = fetch(server->port(), forecastTarget);
    ASSERT_EQ(reply.status, 200);
    EXPECT_FALSE(reply.body.contains('\r')) << "lines end in bare line feeds";
    const QList<QByteArray> lines = reply.body.split('\n');
    QStringList dates;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!lines[i].startsWith("<date>")) {
            continue;
        }
        dates << QString::fromUtf8(lines[i].mid(6, 10));
        ASSERT_LT(i + 1, lines.size());
        const QByteArray& hrefLine = lines[i + 1];
        ASSERT_TRUE(hrefLine.startsWith("<href>") && hrefLine.endsWith("</href>")) << hrefLine.constData();
        const QUrl picture(QString::fromUtf8(hrefLine.mid(6, hrefLine.size() - 13)));
        EXPECT_EQ(picture.host(), QStringLiteral("127.0.0.1"));
        EXPECT_EQ(picture.port(), server->port());
        EXPECT_EQ(gifPicture(fetch(server->port(), picture.path()).body).size(), demo::meteogramSize)
            << hrefLine.constData();
    }
    EXPECT_EQ(dates, QStringList({u"2007-04-10"_s, u"2007-04-11"_s, u"2007-04-12"_s, u"2007-04-13"_s,
                                  u"2007-04-14"_s, u"2007-04-15"_s, u"2007-04-16"_s}));
}

TEST(ProviderForecast, APlaceWithoutCoordinatesIsNotFound) {
    const auto server = startServerAt(earlyMorning());
    EXPECT_EQ(fetch(server->port(), QStringLiteral("/cg/mgx?lang=en&lat=59.4&elev=10")).status, 404);
    EXPECT_EQ(fetch(server->port(), QStringLiteral("/cg/mgx?lang=en&lon=east&lat=59.4")).status, 404);
    EXPECT_EQ(fetch(server->port(), QStringLiteral("/cg/pics/mgx/24.5_59.4_20070231.gif")).status, 404);
}
