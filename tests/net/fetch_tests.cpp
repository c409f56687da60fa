// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "demo_server.h"
#include "folder_snapshot.h"
#include "net/chart_names.h"
#include "net/fetch.h"
#include "net/provider_requests.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <qcoro/qcorotask.h>
#include <qcoro/qcorotimer.h>

using testing_support::FolderSnapshot;
using testing_support::TempProgramFolder;

namespace {

using namespace std::chrono_literals;

const QByteArray GoodChart = QByteArrayLiteral("GIF89a yesterday's good chart");

class Fetch : public ::testing::Test {
protected:
    explicit Fetch(demo::ServerOptions options = {}) : server(std::move(options)) {}

    void SetUp() override { ASSERT_TRUE(server.start(0)); }
    void TearDown() override { server.stop(); }

    QString chart(const QString& name) const { return chartPath(program.chartFolder(), name); }
    QUrl waveMap() const { return waveMapUrl(server.baseUrl(), 1); }

    // Whatever comes of a fetch, no other file changes, the target changes only when the fetch
    // succeeded, and nothing is left behind.
    FetchResult fetchInto(const QUrl& url, const QString& target) {
        const FolderSnapshot before(program.chartFolder());
        const FetchResult result = QCoro::waitFor(downloader.fetch(url, target));
        before.expectUnchangedBut(result.ok && !result.unchanged ? QFileInfo(target).fileName() : QString());
        return result;
    }
    QByteArray contentOf(const QString& path) const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Everything in the chart folder, temporary files included.
    QStringList folderContents() const {
        return QDir(program.chartFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    demo::DemoServer server;
    TempProgramFolder program;
    Downloader downloader;
};

} // namespace

TEST_F(Fetch, OnlyWebAddressesAreRequested) {
    const QString target = chart(QStringLiteral("passwd.txt"));
    const QString ftp =
        QStringLiteral("ftp://127.0.0.1:%1/stc/itamerinyt/images/data/wave03.gif").arg(server.port());
    const QString noScheme =
        QStringLiteral("127.0.0.1:%1/stc/itamerinyt/images/data/wave03.gif").arg(server.port());
    for (const QString& address : {QStringLiteral("file:///etc/passwd"), ftp, noScheme, QString()}) {
        EXPECT_FALSE(QCoro::waitFor(downloader.downloadi(address, target))) << address.toStdString();
    }
    EXPECT_FALSE(fetchInto(QUrl(), target).ok);
    EXPECT_EQ(server.requestCount(), 0);
    EXPECT_TRUE(folderContents().isEmpty());
}

TEST_F(Fetch, LoginValuesArriveAsTyped) {
    demo::ServerOptions options;
    options.user = QStringLiteral("a+b@x.ee");
    options.password = QStringLiteral("p&w#1+2=3 ä");
    demo::DemoServer provider(options);
    ASSERT_TRUE(provider.start(0));
    const QString answer = chart(loginAnswerFile());
    ASSERT_TRUE(fetchInto(loginUrl(provider.baseUrl(), options.user, options.password), answer).ok);
    EXPECT_FALSE(contentOf(answer).contains("Quellan login"));
    EXPECT_EQ(
        provider.requestedPaths().value(0),
        QStringLiteral(
            "/cg/login/?email=a%2Bb%40x.ee&th_password=p%26w%231%2B2%3D3%20%C3%A4&lang=en&login=submit"));

    ASSERT_TRUE(fetchInto(loginUrl(provider.baseUrl(), options.user, QStringLiteral("p&w")), answer).ok);
    EXPECT_TRUE(contentOf(answer).contains("Quellan login"));

    // The text form a window hands to downloadi sends the same request.
    const QString text = loginUrl(provider.baseUrl(), options.user, options.password).toString();
    ASSERT_TRUE(QCoro::waitFor(downloader.downloadi(text, answer)));
    EXPECT_EQ(provider.requestedPaths().value(2), provider.requestedPaths().value(0));
    provider.stop();
}

// A missing folder fails before the request; a target that cannot be replaced fails after it.
TEST_F(Fetch, ATargetThatCannotBeWrittenFails) {
    const FetchResult result = fetchInto(waveMap(), program.file(QStringLiteral("nowhere/wave03.gif")));
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_EQ(server.requestCount(), 0);

    const QString target = chart(waveMapFile(1));
    ASSERT_TRUE(QDir().mkdir(target));
    EXPECT_FALSE(fetchInto(waveMap(), target).ok);
    EXPECT_TRUE(QFileInfo(target).isDir());
    EXPECT_EQ(folderContents(), QStringList{waveMapFile(1)});
}

// A full disk, as the file system reports it: writes beyond a small size fail (EFBIG).
TEST_F(Fetch, WriteFailureKeepsTheExistingFileAndSaysTheSystemsReason) {
    const QString target = chart(waveMapFile(1));
    program.write(QStringLiteral("kaardid/") + waveMapFile(1), GoodChart);
    FetchResult full;
    FetchResult missing;
    {
        const testing_support::FileSizeLimit disk(0);
        full = fetchInto(waveMap(), target);
        // A status the server answered is not hidden by a disk that could not take its page.
        server.setFault(demo::FaultKind::NotFound404, 100);
        missing = fetchInto(waveMap(), target);
    }
    EXPECT_FALSE(full.ok);
    EXPECT_EQ(full.failure, FetchFailure::Storage);
    EXPECT_EQ(full.error, QString::fromLocal8Bit(std::strerror(EFBIG)));
    EXPECT_GT(full.bytes, 0);
    EXPECT_EQ(missing.failure, FetchFailure::HttpStatus) << missing.error.toStdString();
    EXPECT_EQ(missing.httpStatus, 404);
    EXPECT_EQ(contentOf(target), GoodChart);
}

TEST_F(Fetch, ALinkInTheChartFolderIsReplacedNotFollowed) {
    program.write(QStringLiteral("outside.gif"), GoodChart);
    ASSERT_TRUE(QDir(program.root()).mkdir(QStringLiteral("elsewhere")));
    const QString linked = chart(waveMapFile(1));
    const QString dangling = chart(waveMapFile(2));
    ASSERT_TRUE(QFile::link(program.file(QStringLiteral("outside.gif")), linked));
    ASSERT_TRUE(QFile::link(program.file(QStringLiteral("elsewhere/new.gif")), dangling));

    EXPECT_TRUE(fetchInto(waveMap(), linked).ok);
    EXPECT_TRUE(fetchInto(waveMapUrl(server.baseUrl(), 2), dangling).ok);
    for (const QString& path : {linked, dangling}) {
        EXPECT_FALSE(QFileInfo(path).isSymLink()) << path.toStdString();
        EXPECT_TRUE(contentOf(path).startsWith("GIF8")) << path.toStdString();
    }
    EXPECT_EQ(contentOf(program.file(QStringLiteral("outside.gif"))), GoodChart);
    EXPECT_TRUE(QDir(program.file(QStringLiteral("elsewhere"))).isEmpty());
    EXPECT_EQ(folderContents(), QStringList({waveMapFile(1), waveMapFile(2)}));
}

// A portal's page where a chart was asked for, and a connection reset before any reply: each fails
// for its reason and leaves the stored chart as it was. A text answer is taken as it comes: the
// caller judges it.
TEST_F(Fetch, APortalPageOrAResetLeavesTheStoredChart) {
    const QString gif = chart(waveMapFile(1));
    program.write(QStringLiteral("kaardid/") + waveMapFile(1), GoodChart);
    for (const auto& [fault, failure, status] :
         {std::tuple{demo::FaultKind::Portal, FetchFailure::NotAPicture, 200},
          std::tuple{demo::FaultKind::Reset, FetchFailure::Other, 0}}) {
        server.setFault(fault, 100);
        const FetchResult result = fetchInto(waveMap(), gif);
        EXPECT_EQ(result.failure, failure) << result.error.toStdString();
        EXPECT_EQ(result.httpStatus, status) << result.error.toStdString();
        EXPECT_FALSE(result.error.isEmpty());
        EXPECT_EQ(contentOf(gif), GoodChart);
    }

    server.setFault(demo::FaultKind::Portal, 100);
    const QString answer = chart(loginAnswerFile());
    EXPECT_TRUE(fetchInto(waveMap(), answer).ok);
    EXPECT_TRUE(contentOf(answer).startsWith("<html>"));
}

TEST_F(Fetch, DownloaderGoingAwayEndsItsFetchesCleanly) {
    server.setFault(demo::FaultKind::Slow, 100);
    auto doomed = std::make_unique<Downloader>();
    QCoro::Task<FetchResult> running = doomed->fetch(waveMap(), chart(waveMapFile(1)));
    QCoro::waitFor(QCoro::sleepFor(100ms));
    doomed.reset();
    EXPECT_FALSE(QCoro::waitFor(running).ok);
    EXPECT_TRUE(folderContents().isEmpty());
}
