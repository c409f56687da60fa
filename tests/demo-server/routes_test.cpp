// The sailing site's maps, the wave service's maps, the program's home site, and the pictures'
// answer to a client that has them already.
#include "demo_client.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <sodium.h>

using namespace demo_test;

TEST(SailingSite, KeepsEveryThreeHourSlotFromYesterdayEveningToAWeekAhead) {
    const auto server = startServerAt(earlyMorning());
    const quint16 port = server->port();
    EXPECT_EQ(fetch(port, QStringLiteral("/daten/segel/2007/04/09/000321.gif")).status, 200)
        << "yesterday 21:00";
    EXPECT_EQ(fetch(port, QStringLiteral("/daten/segel/2007/04/09/000318.gif")).status, 404)
        << "yesterday 18:00";
    EXPECT_EQ(fetch(port, QStringLiteral("/daten/segel/2007/04/16/001621.gif")).status, 200)
        << "six days on, 21:00";
    EXPECT_EQ(fetch(port, QStringLiteral("/daten/segel/2007/04/17/000303.gif")).status, 404)
        << "beyond the week";
    for (const char* path : {"/daten/segel/2007/04/10/000304.gif", "/daten/segel/2007/04/10/000324.gif",
                             "/daten/segel/2007/04/10/000512.gif", "/daten/segel/2007/04/31/000312.gif",
                             "/daten/segel/2007/4/10/000312.gif"}) {
        EXPECT_EQ(fetch(port, QString::fromLatin1(path)).status, 404) << path;
    }
}

TEST(SailingSite, EachMapHasItsOwnSize) {
    const auto server = startServerAt(earlyMorning());
    const Fetched wind = fetch(server->port(), QStringLiteral("/daten/segel/2007/04/10/000312.gif"));
    const Fetched other = fetch(server->port(), QStringLiteral("/daten/segel/2007/04/10/001612.gif"));
    EXPECT_EQ(gifPicture(wind.body).size(), QSize(395, 269));
    EXPECT_EQ(gifPicture(other.body).size(), QSize(387, 263));
}

TEST(WaveService, ServesEighteenLeadTimes) {
    const auto server = startServerAt(earlyMorning());
    for (int lead = 3; lead <= 54; lead += 3) {
        const QString path =
            QStringLiteral("/stc/itamerinyt/images/data/wave%1.gif").arg(lead, 2, 10, QLatin1Char('0'));
        EXPECT_EQ(gifPicture(fetch(server->port(), path).body).size(), QSize(400, 400)) << qPrintable(path);
    }
    for (const char* name : {"wave00", "wave04", "wave57", "wave3", "wave003"}) {
        const QString path = QStringLiteral("/stc/itamerinyt/images/data/%1.gif").arg(QLatin1String(name));
        EXPECT_EQ(fetch(server->port(), path).status, 404) << name;
    }
}

namespace {

// An HTTP date moved by some seconds.
std::string shifted(const std::string& httpDate, int seconds) {
    const QString format = QStringLiteral("ddd, dd MMM yyyy hh:mm:ss 'GMT'");
    QDateTime moment = QLocale::c().toDateTime(QString::fromStdString(httpDate), format);
    moment.setTimeSpec(Qt::UTC);
    return QLocale::c().toString(moment.addSecs(seconds), format).toStdString();
}

} // namespace

// A picture is answered 304 for a tag that matches, or without a tag for a time not before it
// was made; text answers carry no validators.
TEST(Pictures, AreAnsweredNotModifiedOnlyWhenTheClientHasThem) {
    const auto server = startServerAt(earlyMorning());
    const QString map = QStringLiteral("/stc/itamerinyt/images/data/wave03.gif");
    const Fetched first = fetch(server->port(), map);
    ASSERT_EQ(first.status, 200);
    ASSERT_EQ(shifted(first.lastModified, 0), first.lastModified) << first.lastModified;
    ASSERT_FALSE(first.etag.empty());
    const auto statusWith = [&](const RequestHeaders& headers) {
        return fetch(server->port(), map, 5000, headers).status;
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

TEST(HomeSite, OffersUpdatesOnlyToOlderVersions) {
    demo::ServerOptions options;
    options.latestVersion = 1000021;
    const auto server = startServer(options);
    const Fetched older = fetch(server->port(), QStringLiteral("/brl/uuendused.php3?ver=1000020"));
    EXPECT_EQ(older.status, 200);
    EXPECT_TRUE(older.body.startsWith("UUENDUSED peale teie programmi versiooni\r\n"));
    EXPECT_TRUE(older.body.contains("1.0.21")) << "names the version on offer";

    for (const char* version : {"1000021", "2000000"}) {
        const Fetched current =
            fetch(server->port(), QStringLiteral("/brl/uuendused.php3?ver=%1").arg(QLatin1String(version)));
        EXPECT_EQ(current.body, "Kasutuses on uusim versioon\r\n") << version;
    }
    EXPECT_EQ(fetch(server->port(), QStringLiteral("/brl/uuendused.php3?ver=new")).status, 404);

    // Unless told a version to offer, the demo stops no download run at the update window.
    const auto plain = startServer(demo::ServerOptions{});
    EXPECT_EQ(fetch(plain->port(), QStringLiteral("/brl/uuendused.php3?ver=1000000")).body,
              "Kasutuses on uusim versioon\r\n");
}

TEST(HomeSite, ServesTheUpdaterAndTheSupporters) {
    const auto server = startServerAt(earlyMorning());
    EXPECT_TRUE(fetch(server->port(), QStringLiteral("/brl/uuendus.exe")).body.startsWith("#!/bin/sh\n"));

    const QByteArray supporters = fetch(server->port(), QStringLiteral("/brl/toetajad.php")).body;
    EXPECT_TRUE(supporters.endsWith("\r\n"));
    EXPECT_GE(supporters.count("\r\n"), 3);
    EXPECT_EQ(supporters.count('\n'), supporters.count("\r\n")) << "no bare line feeds";
}

namespace {

bool signedByTheDemoKey(const QByteArray& program, const QByteArray& signature) {
    const QByteArray key = QByteArray::fromBase64(demo::demoUpdaterPublicKey().toLatin1());
    return sodium_init() >= 0 && key.size() == crypto_sign_PUBLICKEYBYTES &&
           signature.size() == crypto_sign_BYTES &&
           crypto_sign_verify_detached(reinterpret_cast<const unsigned char*>(signature.constData()),
                                       reinterpret_cast<const unsigned char*>(program.constData()),
                                       size_t(program.size()),
                                       reinterpret_cast<const unsigned char*>(key.constData())) == 0;
}

} // namespace

TEST(HomeSite, SignsTheUpdaterWithTheDemoKey) {
    const auto server = startServerAt(earlyMorning());
    const QByteArray program = fetch(server->port(), QStringLiteral("/brl/uuendus.exe")).body;
    const QByteArray signature = fetch(server->port(), QStringLiteral("/brl/uuendus.exe.sig")).body;
    EXPECT_TRUE(signedByTheDemoKey(program, signature));

    demo::ServerOptions tampering;
    tampering.tamperUpdater = true;
    const auto tampered = startServer(tampering);
    const QByteArray changed = fetch(tampered->port(), QStringLiteral("/brl/uuendus.exe")).body;
    EXPECT_EQ(changed.size(), program.size());
    EXPECT_NE(changed, program);
    EXPECT_EQ(fetch(tampered->port(), QStringLiteral("/brl/uuendus.exe.sig")).body, signature);
    EXPECT_FALSE(signedByTheDemoKey(changed, signature));
}

TEST(HomeSite, AGivenUpdateAnswerReplacesTheVersionComparison) {
    demo::ServerOptions options;
    options.updateAnswer = QByteArrayLiteral("uuendused\r\n");
    const auto server = startServer(options);
    EXPECT_EQ(fetch(server->port(), QStringLiteral("/brl/uuendused.php3?ver=1")).body, "uuendused\r\n");
}
