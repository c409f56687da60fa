// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The executable's command line, and the executable itself.
#include "demo_client.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace demo_test;

namespace {

QStringList commandLine(const QString& options) {
    return (u"brisel-demo-server "_s + options).split(u' ', Qt::SkipEmptyParts);
}

} // namespace

TEST(Options, ReadsEveryOption) {
    const Expected<demo::ServerOptions> parsed = demo::parseOptions(commandLine(
        u"--port 8080 --now 2007-04-10T03:00:00 --publish-after 4 --user skipper --password secret "
        "--latest-version 2003004 --latency-ms 25 --fault-percent 30 --fault-kind cut --seed 42 "
        "--log /tmp/demo.log --slow-ms 900 --login-marker Sea-login --no-cache-control"_s));
    ASSERT_TRUE(parsed) << qPrintable(parsed.error());
    const demo::ServerOptions& options = *parsed;
    EXPECT_EQ(options.port, 8080);
    EXPECT_EQ(options.now, earlyMorning());
    EXPECT_EQ(options.publishAfterHours, 4);
    EXPECT_EQ(options.user, u"skipper"_s);
    EXPECT_EQ(options.password, u"secret"_s);
    EXPECT_EQ(options.latestVersion, 2003004);
    EXPECT_EQ(options.latencyMs, 25);
    EXPECT_EQ(options.faultPercent, 30);
    EXPECT_EQ(options.faultKind, demo::FaultKind::Cut);
    EXPECT_EQ(options.seed, 42u);
    EXPECT_EQ(options.logFile, u"/tmp/demo.log"_s);
    EXPECT_EQ(options.slowMs, 900);
    EXPECT_EQ(options.loginMarker, u"Sea-login"_s);
    EXPECT_FALSE(options.sendCacheControl);
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
