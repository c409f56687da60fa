// The executable's command line, and the executable itself.
#include "demo_client.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace demo_test;

namespace {

QStringList commandLine(const QStringList& options) {
    return QStringList{QStringLiteral("brisel-demo-server")} + options;
}

} // namespace

TEST(Options, ReadsEveryOption) {
    demo::ServerOptions options;
    QString error;
    ASSERT_TRUE(demo::parseOptions(commandLine({u"--port"_s,
                                                u"8080"_s,
                                                u"--now"_s,
                                                u"2007-04-10T03:00:00"_s,
                                                u"--publish-after"_s,
                                                u"4"_s,
                                                u"--user"_s,
                                                u"skipper"_s,
                                                u"--password"_s,
                                                u"secret"_s,
                                                u"--latest-version"_s,
                                                u"2003004"_s,
                                                u"--latency-ms"_s,
                                                u"25"_s,
                                                u"--fault-percent"_s,
                                                u"30"_s,
                                                u"--fault-kind"_s,
                                                u"cut"_s,
                                                u"--seed"_s,
                                                u"42"_s,
                                                u"--log"_s,
                                                u"/tmp/demo.log"_s,
                                                u"--slow-ms"_s,
                                                u"900"_s,
                                                u"--login-marker"_s,
                                                u"Sea login"_s}),
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
        ASSERT_TRUE(
            demo::parseOptions(commandLine({u"--fault-kind"_s, QString::fromLatin1(name)}), &options, &error))
            << name;
        EXPECT_EQ(options.faultKind, kind) << name;
    }
}

TEST(Options, RejectsBadValuesAndLeavesTheOptionsAlone) {
    const QList<QStringList> badLines{{u"--port"_s, u"70000"_s},
                                      {u"--port"_s, u"eighty"_s},
                                      {u"--now"_s, u"yesterday"_s},
                                      {u"--publish-after"_s, u"-1"_s},
                                      {u"--latency-ms"_s, u"-5"_s},
                                      {u"--fault-percent"_s, u"101"_s},
                                      {u"--fault-kind"_s, u"teapot"_s},
                                      {u"--seed"_s, u"-1"_s},
                                      {u"--latest-version"_s, u"1.0.2"_s},
                                      {u"--user"_s, u""_s},
                                      {u"--unknown-option"_s},
                                      {u"stray-argument"_s},
                                      {u"--seed"_s, u"1"_s, u"--port"_s, u"x"_s}};
    for (const QStringList& bad : badLines) {
        demo::ServerOptions options;
        QString error;
        EXPECT_FALSE(demo::parseOptions(commandLine(bad), &options, &error)) << qPrintable(bad.join(u' '));
        EXPECT_FALSE(error.isEmpty()) << qPrintable(bad.join(u' '));
        EXPECT_EQ(options.seed, 1u) << "nothing is taken from a rejected command line";
    }
}

TEST(Executable, PrintsItsPortFirstAndStopsOnTerm) {
    QProcess process;
    process.start(QStringLiteral(DEMO_SERVER_EXECUTABLE),
                  {u"--port"_s, u"0"_s, u"--now"_s, u"2007-04-10T03:00:00"_s});
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
    process.start(QStringLiteral(DEMO_SERVER_EXECUTABLE), {u"--print-public-key"_s});
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(QString::fromLatin1(process.readAllStandardOutput()), demo::demoUpdaterPublicKey() + u'\n');
}
