// Faults, timing, the request record and the listening socket.
#include "demo_client.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <thread>

using namespace demo_test;

namespace {

const QString supporters = QStringLiteral("/brl/toetajad.php");
const QString windChart = QStringLiteral("/m/EU0/maps/BA/BA.w.07040912.24.gif");

std::unique_ptr<demo::DemoServer> startFaulty(demo::FaultKind kind, int percent, quint32 seed = 1) {
    demo::ServerOptions options;
    options.now = earlyMorning();
    options.faultKind = kind;
    options.faultPercent = percent;
    options.seed = seed;
    return startServer(options);
}

QList<int> statusPattern(quint16 port, int requests) {
    QList<int> statuses;
    for (int i = 0; i < requests; ++i) {
        statuses << fetch(port, supporters).status;
    }
    return statuses;
}

// The server's own end of each open connection to the port, found among this process's sockets.
QList<int> acceptedSockets(quint16 port) {
    QList<int> sockets;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        const int descriptor = std::stoi(entry.path().filename().string());
        sockaddr_in local{};
        sockaddr_in peer{};
        socklen_t localLength = sizeof local;
        socklen_t peerLength = sizeof peer;
        if (getsockname(descriptor, reinterpret_cast<sockaddr*>(&local), &localLength) == 0 &&
            local.sin_family == AF_INET && ntohs(local.sin_port) == port &&
            getpeername(descriptor, reinterpret_cast<sockaddr*>(&peer), &peerLength) == 0) {
            sockets << descriptor;
        }
    }
    return sockets;
}

} // namespace

TEST(Faults, StatusFaultsReplaceTheAnswer) {
    EXPECT_EQ(fetch(startFaulty(demo::FaultKind::NotFound404, 100)->port(), windChart).status, 404);
    EXPECT_EQ(fetch(startFaulty(demo::FaultKind::ServerError500, 100)->port(), windChart).status, 500);
}

TEST(Faults, APortalAnswersEveryPathWithItsOwnPage) {
    const auto server = startFaulty(demo::FaultKind::Portal, 100);
    for (const QString& path : {windChart, QStringLiteral("/no/such/page")}) {
        const Fetched fetched = fetch(server->port(), path);
        EXPECT_EQ(fetched.status, 200);
        EXPECT_EQ(fetched.contentType, "text/html");
        EXPECT_EQ(fetched.body, "<html><body>Marina Wi-Fi: please log in</body></html>");
    }
}

TEST(Faults, ACutReplyEndsBeforeItsAnnouncedLength) {
    const auto server = startFaulty(demo::FaultKind::Cut, 100);
    const Fetched fetched = fetch(server->port(), windChart);
    EXPECT_EQ(fetched.status, 200);
    EXPECT_TRUE(fetched.failed);
    EXPECT_GT(fetched.body.size(), 0);
    EXPECT_LT(fetched.body.size(), fetched.announcedLength);
}

TEST(Faults, AResetConnectionGivesNoReplyAtAll) {
    const auto server = startFaulty(demo::FaultKind::Reset, 100);
    const Fetched fetched = fetch(server->port(), windChart);
    EXPECT_TRUE(fetched.failed);
    EXPECT_EQ(fetched.status, 0);
    EXPECT_TRUE(fetched.body.isEmpty());
}

TEST(Faults, ASlowReplyOutlastsAnImpatientClient) {
    demo::ServerOptions options;
    options.faultKind = demo::FaultKind::Slow;
    options.faultPercent = 100;
    options.slowMs = 600;
    const auto server = startServer(options);
    EXPECT_TRUE(fetch(server->port(), supporters, 200).failed);

    QElapsedTimer timer;
    timer.start();
    const Fetched patient = fetch(server->port(), supporters, 5000);
    EXPECT_EQ(patient.status, 200);
    EXPECT_GE(timer.elapsed(), 600);
}

TEST(Faults, TheSeedRepeatsThePattern) {
    const QList<int> first = statusPattern(startFaulty(demo::FaultKind::ServerError500, 50, 7)->port(), 24);
    const QList<int> again = statusPattern(startFaulty(demo::FaultKind::ServerError500, 50, 7)->port(), 24);
    const QList<int> otherSeed =
        statusPattern(startFaulty(demo::FaultKind::ServerError500, 50, 8)->port(), 24);
    EXPECT_EQ(first, again);
    EXPECT_NE(first, otherSeed);
    EXPECT_TRUE(first.contains(200) && first.contains(500)) << "about half the requests fail";
}

TEST(Faults, CanBeSwitchedWhileRunning) {
    const auto server = startFaulty(demo::FaultKind::None, 0);
    EXPECT_EQ(fetch(server->port(), supporters).status, 200);
    server->setFault(demo::FaultKind::ServerError500, 100);
    EXPECT_EQ(fetch(server->port(), supporters).status, 500);
    server->setFault(demo::FaultKind::None, 0);
    EXPECT_EQ(fetch(server->port(), supporters).status, 200);
}

TEST(Timing, LatencyDelaysEveryReply) {
    demo::ServerOptions options;
    options.latencyMs = 150;
    const auto server = startServer(options);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(fetch(server->port(), supporters).status, 200);
    EXPECT_GE(timer.elapsed(), 150);
}

TEST(Timing, StopDoesNotWaitForAHeldReply) {
    demo::ServerOptions options;
    options.latencyMs = 20000;
    demo::DemoServer server(options);
    ASSERT_TRUE(server.start(0));
    std::thread client([port = server.port()] { fetch(port, supporters); });
    while (server.requestCount() == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    QElapsedTimer timer;
    timer.start();
    server.stop();
    client.join();
    EXPECT_LT(timer.elapsed(), 5000);
}

TEST(Timing, StopEndsIdleConnectionsAtOnce) {
    demo::DemoServer server({});
    ASSERT_TRUE(server.start(0));
    httplib::Client client("127.0.0.1", server.port());
    client.set_keep_alive(true);
    ASSERT_TRUE(client.Get(supporters.toStdString()));
    QElapsedTimer timer;
    timer.start();
    server.stop();
    EXPECT_LT(timer.elapsed(), 1000) << "an idle connection is otherwise kept for seconds";
}

TEST(RequestRecord, CountsAndLogsEveryRequest) {
    QTemporaryDir folder;
    demo::ServerOptions options;
    options.now = earlyMorning();
    options.logFile = folder.filePath(QStringLiteral("requests.log"));
    const auto server = startServer(options);
    const QString login = QStringLiteral("/cg/login/?email=demo&th_password=demo&lang=en&login=submit");
    fetch(server->port(), login);
    const QString escaped = QStringLiteral("/nothing/here%2B%3F");
    fetch(server->port(), escaped);

    EXPECT_EQ(server->requestCount(), 2);
    EXPECT_EQ(server->requestedPaths(), QStringList({login, escaped}));
    QFile log(options.logFile);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2);
    const QList<QByteArray> fields = lines[1].split(' ');
    ASSERT_EQ(fields.size(), 4);
    EXPECT_EQ(QDateTime::fromString(QString::fromLatin1(fields[0]), Qt::ISODateWithMs).date(),
              QDate(2007, 4, 10));
    EXPECT_EQ(QString::fromUtf8(fields[1]), escaped);
    EXPECT_EQ(fields[2], "404");
    EXPECT_GT(fields[3].toInt(), 0);
}

TEST(Listening, PortZeroPicksAFreeLoopbackPort) {
    const auto first = startServerAt(earlyMorning());
    const auto second = startServerAt(earlyMorning());
    EXPECT_NE(first->port(), 0);
    EXPECT_NE(first->port(), second->port());
    EXPECT_EQ(first->baseUrl(), QUrl(QStringLiteral("http://127.0.0.1:%1").arg(first->port())));

    demo::DemoServer taken({});
    EXPECT_FALSE(taken.start(first->port()));
}

TEST(Listening, ConnectionsSendWithoutDelay) {
    const auto server = startServerAt(earlyMorning());
    httplib::Client client("127.0.0.1", server->port());
    client.set_keep_alive(true);
    ASSERT_TRUE(client.Get(supporters.toStdString()));
    const QList<int> sockets = acceptedSockets(server->port());
    ASSERT_FALSE(sockets.isEmpty());
    for (const int socket : sockets) {
        int noDelay = 0;
        socklen_t length = sizeof noDelay;
        ASSERT_EQ(getsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &noDelay, &length), 0);
        EXPECT_NE(noDelay, 0);
    }
}
