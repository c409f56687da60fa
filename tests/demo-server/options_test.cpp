// The executable's command line, and the executable itself.
#include "demo_client.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace demo_test;

namespace {

QStringList commandLine(const QStringList& options) {
    return QStringList{QStringLiteral("brisel-demo-server")} + options;
}

} // namespace

TEST(Options, ReadsEveryOption) {
    demo::ServerOptions options;
    QString error;
    ASSERT_TRUE(demo::parseOptions(commandLine({"--port",
                                                "8080",
                                                "--now",
                                                "2007-04-10T03:00:00",
                                                "--publish-after",
                                                "4",
                                                "--user",
                                                "skipper",
                                                "--password",
                                                "secret",
                                                "--latest-version",
                                                "2003004",
                                                "--latency-ms",
                                                "25",
                                                "--fault-percent",
                                                "30",
                                                "--fault-kind",
                                                "cut",
                                                "--seed",
                                                "42",
                                                "--log",
                                                "/tmp/demo.log",
                                                "--slow-ms",
                                                "900",
                                                "--login-marker",
                                                "Sea login"}),
                                   &options, &error))
        << qPrintable(error);
    EXPECT_EQ(options.port, 8080);
    EXPECT_EQ(options.now, earlyMorning());
    EXPECT_EQ(options.publishAfterHours, 4);
    EXPECT_EQ(options.user, QStringLiteral("skipper"));
    EXPECT_EQ(options.password, QStringLiteral("secret"));
    EXPECT_EQ(options.latestVersion, 2003004);
    EXPECT_EQ(options.latencyMs, 25);
    EXPECT_EQ(options.faultPercent, 30);
    EXPECT_EQ(options.faultKind, demo::FaultKind::Cut);
    EXPECT_EQ(options.seed, 42u);
    EXPECT_EQ(options.logFile, QStringLiteral("/tmp/demo.log"));
    EXPECT_EQ(options.slowMs, 900);
    EXPECT_EQ(options.loginMarker, QStringLiteral("Sea login"));
}

TEST(Options, EveryFaultKindHasAName) {
    const QList<std::pair<const char*, demo::FaultKind>> names{
        {"404", demo::FaultKind::NotFound404}, {"500", demo::FaultKind::ServerError500},
        {"reset", demo::FaultKind::Reset},     {"cut", demo::FaultKind::Cut},
        {"slow", demo::FaultKind::Slow},       {"portal", demo::FaultKind::Portal}};
    for (const auto& [name, kind] : names) {
        demo::ServerOptions options;
        QString error;
        ASSERT_TRUE(demo::parseOptions(commandLine({"--fault-kind", name}), &options, &error)) << name;
        EXPECT_EQ(options.faultKind, kind) << name;
    }
}

TEST(Options, RejectsBadValuesAndLeavesTheOptionsAlone) {
    const QList<QStringList> badLines{{"--port", "70000"},           {"--port", "eighty"},
                                      {"--now", "yesterday"},        {"--publish-after", "-1"},
                                      {"--latency-ms", "-5"},        {"--fault-percent", "101"},
                                      {"--fault-kind", "teapot"},    {"--seed", "-1"},
                                      {"--latest-version", "1.0.2"}, {"--user", ""},
                                      {"--unknown-option"},          {"stray-argument"},
                                      {"--seed", "1", "--port", "x"}};
    for (const QStringList& bad : badLines) {
        demo::ServerOptions options;
        QString error;
        EXPECT_FALSE(demo::parseOptions(commandLine(bad), &options, &error)) << qPrintable(bad.join(' '));
        EXPECT_FALSE(error.isEmpty()) << qPrintable(bad.join(' '));
        EXPECT_EQ(options.seed, 1u) << "nothing is taken from a rejected command line";
    }
}

TEST(Executable, PrintsItsPortFirstAndStopsOnTerm) {
    QProcess process;
    process.start(QStringLiteral(DEMO_SERVER_EXECUTABLE), {"--port", "0", "--now", "2007-04-10T03:00:00"});
    ASSERT_TRUE(process.waitForStarted(5000));
    while (!process.canReadLine() && process.waitForReadyRead(10000)) {
    }
    bool isNumber = false;
    const int port = process.readLine().trimmed().toInt(&isNumber);
    ASSERT_TRUE(isNumber && port > 0);
    EXPECT_EQ(fetch(quint16(port), QStringLiteral("/daten/segel/2007/04/10/000312.gif")).status, 200);

    process.terminate();
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
}

TEST(Executable, PrintsTheUpdaterKeyForTheDemoFolderAndEnds) {
    QProcess process;
    process.start(QStringLiteral(DEMO_SERVER_EXECUTABLE), {"--print-public-key"});
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(QString::fromLatin1(process.readAllStandardOutput()), demo::demoUpdaterPublicKey() + '\n');
}
