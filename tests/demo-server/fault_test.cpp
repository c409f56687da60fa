// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The fault pattern, stopping, and the request log. Each fault's answer, the request count and the
// requested paths are checked by the fetch tests with the program's own client.
#include "demo_client.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using namespace demo_test;

namespace {

const QString supporters = QStringLiteral("/brl/toetajad.php");

QList<int> statusPattern(quint32 seed) {
    demo::ServerOptions options;
    options.faultKind = demo::FaultKind::ServerError500;
    options.faultPercent = 50;
    options.seed = seed;
    const auto server = startServer(options);
    QList<int> statuses;
    for (int i = 0; i < 24; ++i) {
        statuses << fetch(server->port(), supporters).status;
    }
    return statuses;
}

} // namespace

TEST(Faults, TheSeedRepeatsThePattern) {
    const QList<int> first = statusPattern(7);
    EXPECT_EQ(statusPattern(7), first);
    EXPECT_NE(statusPattern(8), first);
    EXPECT_TRUE(first.contains(200) && first.contains(500)) << "about half the requests fail";
}

// Set from the command line or later, a fault limited to a path strikes there and nowhere else.
TEST(Faults, APathLimitsTheFaultToItsService) {
    Expected<demo::ServerOptions> options =
        demo::parseOptions({QStringLiteral("brisel-demo-server"), QStringLiteral("--fault-kind"),
                            QStringLiteral("500"), QStringLiteral("--fault-percent"), QStringLiteral("100"),
                            QStringLiteral("--fault-path"), QStringLiteral("/cg/login/")});
    ASSERT_TRUE(options) << qPrintable(options.error());
    options->now = earlyMorning();
    const auto server = startServer(*options);
    const QString login = QStringLiteral("/cg/login/?email=demo&pwd=demo");
    EXPECT_EQ(fetch(server->port(), login).status, 500);
    EXPECT_EQ(fetch(server->port(), supporters).status, 200);
    server->setFault(demo::FaultKind::NotFound404, 100, supporters);
    EXPECT_EQ(fetch(server->port(), supporters).status, 404);
    EXPECT_EQ(fetch(server->port(), login).status, 200);
}

// A reply held back and a connection kept open for the next request each held a stop for seconds.
TEST(Timing, StopWaitsNeitherForAHeldReplyNorForAnIdleConnection) {
    demo::ServerOptions options;
    options.faultKind = demo::FaultKind::Slow;
    options.faultPercent = 100;
    options.faultPath = QStringLiteral("/held");
    options.slowMs = 20000;
    demo::DemoServer server(options);
    ASSERT_TRUE(server.start(0));
    httplib::Client idle("127.0.0.1", server.port());
    idle.set_keep_alive(true);
    ASSERT_TRUE(idle.Get(supporters.toStdString()));
    std::thread held([port = server.port()] { fetch(port, QStringLiteral("/held")); });
    while (server.requestCount() < 2) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    QElapsedTimer timer;
    timer.start();
    server.stop();
    EXPECT_LT(timer.elapsed(), 1000);
    held.join();
}

// The log keeps a request's target as it came: its percent escapes are no placeholders.
TEST(RequestRecord, LogsEveryRequestAsItCame) {
    QTemporaryDir folder;
    demo::ServerOptions options;
    options.now = earlyMorning();
    options.logFile = folder.filePath(QStringLiteral("requests.log"));
    const auto server = startServer(options);
    const QString escaped = QStringLiteral("/nothing/here%2B%3F");
    fetch(server->port(), escaped);

    QFile log(options.logFile);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> fields = log.readAll().trimmed().split(' ');
    ASSERT_EQ(fields.size(), 4);
    EXPECT_EQ(QDateTime::fromString(QString::fromLatin1(fields[0]), Qt::ISODateWithMs).date(),
              QDate(2007, 4, 10));
    EXPECT_EQ(QString::fromUtf8(fields[1]), escaped);
    EXPECT_EQ(fields[2], "404");
    EXPECT_GT(fields[3].toInt(), 0);
}
