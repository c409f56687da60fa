// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the fetch engine adds to a single fetch: asking only for what changed, giving up on hosts
// that do not answer, and waiting no longer than the connect limit for a connection.
#include "demo_server.h"
#include "gif_encoder.h"
#include "hostile_server.h"
#include "net/chart_names.h"
#include "net/fetch_session.h"
#include "net/file_origin.h"
#include "net/provider_requests.h"
#include "silent_host.h"
#include "test_support.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>
#include <qcoro/qcorotask.h>

using testing_support::HostileReply;
using testing_support::HostileServer;
using testing_support::SilentHost;
using testing_support::TempProgramFolder;

namespace {

using namespace std::chrono_literals;

const QDateTime LongAgo(QDate(2001, 1, 1), QTime(12, 0));

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void backdate(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(LongAgo, QFileDevice::FileModificationTime));
}

QDateTime modifiedAt(const QString& path) {
    return QFileInfo(path).lastModified();
}

class ConditionalRefresh : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.start(0)); }

    FetchResult fetchInto(const QUrl& url, const QString& target, Refresh refresh = Refresh::IfChanged) {
        return QCoro::waitFor(downloader.fetch(url, target, refresh));
    }

    demo::DemoServer server{demo::ServerOptions{}};
    TempProgramFolder program;
    Downloader downloader;
    const QString target = chartPath(program.chartFolder(), waveMapFile(1));
};

} // namespace

TEST_F(ConditionalRefresh, AFileFromTheSameAddressIsAskedForOnlyIfChangedAndKeptAsItWas) {
    const QUrl first = waveMapUrl(server.baseUrl(), 1);
    ASSERT_TRUE(fetchInto(first, target).ok);
    ASSERT_EQ(readFileOrigin(target).value_or(FileOrigin{}).url, first.toEncoded());
    backdate(target);
    const QByteArray stored = contentOf(target);

    const FetchResult again = fetchInto(first, target);
    EXPECT_TRUE(again.ok);
    EXPECT_TRUE(again.unchanged);
    EXPECT_EQ(again.httpStatus, 304);
    EXPECT_EQ(again.bytes, 0);
    EXPECT_EQ(contentOf(target), stored);
    EXPECT_EQ(modifiedAt(target), LongAgo) << "a 304 leaves even the file's time";

    // A stored picture cut short, its origin still recorded, is fetched whole: a server asked
    // whether it changed would keep the cut file.
    {
        QFile cut(target);
        ASSERT_TRUE(cut.open(QIODevice::ReadWrite));
        ASSERT_TRUE(cut.resize(stored.size() / 2));
    }
    const FetchResult mended = fetchInto(first, target);
    EXPECT_EQ(mended.httpStatus, 200);
    EXPECT_EQ(contentOf(target), stored);

    // Asked for whole, the same address sends its body again.
    EXPECT_EQ(fetchInto(first, target, Refresh::Whole).httpStatus, 200);

    // Another address into the same name is fetched whole: what is stored came from elsewhere.
    const FetchResult other = fetchInto(waveMapUrl(server.baseUrl(), 2), target);
    EXPECT_TRUE(other.ok);
    EXPECT_FALSE(other.unchanged);
    EXPECT_EQ(other.httpStatus, 200);
    EXPECT_NE(contentOf(target), stored);
}

// The validators go back exactly as the server wrote them, never as the local clock reads. A tag
// longer than any real server's is not kept, on any disk, as on a file system that keeps no
// attributes: the file is still stored, and the next fetch is a whole one.
TEST(ConditionalRequest, SendsBackTheServersOwnValidatorsOrNoneForATagTooLong) {
    for (const QByteArray& tag : {QByteArray("\"run-00\""), '"' + QByteArray(40 * 1024, 'x') + '"'}) {
        const bool kept = tag.size() < 100;
        SCOPED_TRACE(kept ? "a short tag" : "a tag of 40 KiB");
        const HostileServer server({"HTTP/1.1 200 OK\r\nContent-Length: 6\r\n"
                                    "Last-Modified: Tue, 10 Apr 2007 05:00:00 GMT\r\nETag: " +
                                        tag,
                                    "answer",
                                    0,
                                    {}});
        TempProgramFolder program;
        Downloader downloader;
        const QString target = program.chartFolder() + QStringLiteral("answer.txt");
        for (int fetch = 0; fetch < 2; ++fetch) {
            const FetchResult result = QCoro::waitFor(
                downloader.fetch(server.url(QStringLiteral("/a")), target, Refresh::IfChanged));
            EXPECT_TRUE(result.ok) << result.error.toStdString();
            EXPECT_EQ(contentOf(target), "answer");
        }
        const QByteArray second = server.lastRequest();
        EXPECT_EQ(readFileOrigin(target).has_value(), kept);
        if (kept) {
            EXPECT_TRUE(second.contains("\r\nIf-Modified-Since: Tue, 10 Apr 2007 05:00:00 GMT"))
                << second.data();
            EXPECT_TRUE(second.contains("\r\nIf-None-Match: \"run-00\"")) << second.data();
        } else {
            EXPECT_FALSE(second.contains("If-")) << second.left(300).data();
        }
    }
}

TEST(ConnectLimit, AHostThatTakesNoConnectionIsGivenUpInTime) {
    const SilentHost full(SilentHost::Takes::Nothing);
    TempProgramFolder program;
    Downloader downloader;
    FetchLimits limits;
    limits.connect = 300ms;
    downloader.setLimits(limits);
    QElapsedTimer clock;
    clock.start();
    const FetchResult result = QCoro::waitFor(downloader.fetch(
        full.url(QStringLiteral("/x.gif")), program.chartFolder() + QStringLiteral("x.gif")));
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.unreachable);
    EXPECT_EQ(result.error, QStringLiteral("no connection within 300 ms"));
}

namespace {

constexpr qint64 Now = 2'000'000'000;

QByteArray wholeGif() {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    return demo::encodeGif(image);
}

// A publisher that says `freshness` of its one picture, and answers a request that names the
// picture's tag with a 304.
HostileServer publisher(const QByteArray& freshness) {
    const QByteArray chart = wholeGif();
    return HostileServer([chart, freshness](const testing_support::HostileRequest& request) {
        const QByteArray tag = "\r\nETag: \"v1\"" + (freshness.isEmpty() ? QByteArray() : "\r\n" + freshness);
        if (request.head.contains("\r\nIf-None-Match: \"v1\"")) {
            return HostileReply{"HTTP/1.1 304 Not Modified" + tag, {}, 0, {}, HostileReply::End::KeepAlive};
        }
        return HostileReply{"HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(chart.size()) + tag,
                            chart,
                            0,
                            {},
                            HostileReply::End::KeepAlive};
    });
}

class FreshFetch : public ::testing::Test {
protected:
    FreshFetch() {
        downloader.setSystemClock([this] { return now; });
    }
    // What a run does with the file at `now`: the requests the server heard by then, and the result.
    std::pair<int, FetchResult> run(const HostileServer& server, const QString& path,
                                    Refresh refresh = Refresh::IfStale) {
        const FetchResult result = QCoro::waitFor(downloader.fetch(server.url(path), target, refresh));
        EXPECT_TRUE(result.ok) << result.error.toStdString();
        return {server.requestsAnswered(), result};
    }

    TempProgramFolder program;
    Downloader downloader;
    qint64 now = Now;
    const QString target = program.chartFolder() + QStringLiteral("chart.gif");
};

} // namespace

TEST_F(FreshFetch, ARunAsksOnlyForWhatIsNoLongerFresh) {
    const HostileServer server = publisher("Cache-Control: max-age=600");
    EXPECT_EQ(run(server, QStringLiteral("/a.gif")).first, 1);
    now = Now + 599;
    const auto [asked, fresh] = run(server, QStringLiteral("/a.gif"));
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(fresh.fresh);
    EXPECT_TRUE(fresh.unchanged);
    EXPECT_TRUE(describeFetch(server.url(QStringLiteral("/a.gif")), fresh).endsWith(QLatin1String(" fresh")));

    // Stale, it is asked for conditionally, and the 304 makes it fresh again.
    now = Now + 600;
    EXPECT_EQ(run(server, QStringLiteral("/a.gif")).second.httpStatus, 304);
    now = Now + 1199;
    EXPECT_EQ(run(server, QStringLiteral("/a.gif")).first, 2);

    // What the user asks for by hand always goes to the server.
    EXPECT_EQ(run(server, QStringLiteral("/a.gif"), Refresh::IfChanged).first, 3);
    // So does another address into the same name.
    EXPECT_EQ(run(server, QStringLiteral("/b.gif")).first, 4);
    // A clock set back before the receipt makes nothing fresh.
    now = Now - 3600;
    EXPECT_EQ(run(server, QStringLiteral("/b.gif")).first, 5);
}

// Each header the rules read is recorded with the file and read back (the rules themselves are
// tested one by one on their own), and a provider chart is known by its address.
TEST_F(FreshFetch, WhatTheReplySaidIsKeptWithTheFileAndAProviderChartIsKnown) {
    const QByteArray date = "Date: Wed, 18 May 2033 03:33:20 GMT";
    const struct {
        QByteArray said;
        QString path;
        qint64 freshFor;
    } rules[] = {
        {"Cache-Control: no-cache", QStringLiteral("/a.gif"), 0},
        {"Expires: Wed, 18 May 2033 04:33:20 GMT\r\n" + date, QStringLiteral("/a.gif"), 3600},
        {"Last-Modified: Wed, 18 May 2033 03:16:40 GMT\r\n" + date, QStringLiteral("/a.gif"), 100},
        {"", QStringLiteral("/a.gif"), 0},
        {"",
         areaChartUrl(QUrl(QStringLiteral("http://x")), QStringLiteral("w"), QDate(2033, 5, 18), 0, 3).path(),
         24 * 3600},
    };
    for (const auto& rule : rules) {
        SCOPED_TRACE((rule.said + " at " + rule.path.toLatin1()).toStdString());
        QFile::remove(target);
        const HostileServer server = publisher(rule.said);
        now = Now;
        run(server, rule.path);
        now = Now + std::max<qint64>(rule.freshFor - 1, 0);
        EXPECT_EQ(run(server, rule.path).first, rule.freshFor > 0 ? 1 : 2);
    }
}
