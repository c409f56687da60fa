// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Fetches from a server that misbehaves on purpose: each ends in bounded time and memory, and the
// file already stored stays as it was.
#include "demo_server.h"
#include "folder_snapshot.h"
#include "gif_encoder.h"
#include "hostile_server.h"
#include "net/chart_names.h"
#include "net/fetch_session.h"
#include "test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

using testing_support::FolderSnapshot;
using testing_support::HostileReply;
using testing_support::HostileServer;
using End = HostileReply::End;

namespace {

using namespace std::chrono_literals;

constexpr qint64 MiB = 1024 * 1024;
const QByteArray Stored = QByteArrayLiteral("GIF89a the chart stored before");
const QByteArray Ok = QByteArrayLiteral("HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream");

// What a kind of target may receive at most.
struct Cap {
    const char* file;
    qint64 bytes;
};

// A body far longer than the caps of charts and answer files, sent as fast as the client takes it,
// with no length announced.
HostileReply overlongBody() {
    return {Ok, QByteArrayLiteral("GIF89a"), 256 * MiB, {}};
}

#ifdef __SANITIZE_ADDRESS__
// AddressSanitizer holds freed memory in quarantine, so the resident size tells nothing there.
constexpr bool ResidentSizeTellsUse = false;
#else
constexpr bool ResidentSizeTellsUse = true;
#endif

// The memory the process holds now, as Linux counts it.
qint64 residentBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    const qint64 pages =
        statm.open(QIODevice::ReadOnly) ? statm.readAll().split(' ').value(1).toLongLong() : 0;
    return pages * sysconf(_SC_PAGESIZE);
}

// The most memory the process held above its start while this lived, sampled on a thread of its
// own so that a busy event loop misses nothing.
class ResidentPeak final {
public:
    ResidentPeak()
        : m_start(residentBytes()), m_peak(m_start), m_sampler([this](const std::stop_token& stop) {
              while (!stop.stop_requested()) {
                  m_peak = std::max(m_peak.load(), residentBytes());
                  std::this_thread::sleep_for(1ms);
              }
          }) {}
    // Ends the sampling.
    qint64 growth() {
        m_sampler.request_stop();
        m_sampler.join();
        return m_peak - m_start;
    }

private:
    const qint64 m_start;
    std::atomic<qint64> m_peak;
    std::jthread m_sampler;
};

// A whole GIF, as a chart arrives when nothing goes wrong.
QByteArray wholeChart() {
    QImage image(120, 80, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    return demo::encodeGif(image);
}

class HostileFetch : public ::testing::Test {
protected:
    // Fetches into a file of the chart folder that holds a good chart beforehand. Whatever comes of
    // it, no other file changes, the stored one changes only when the fetch succeeded, and nothing
    // is left behind.
    FetchResult fetchInto(const QString& name, const HostileServer& server, const QString& path = {}) {
        program.write(QStringLiteral("kaardid/") + name, Stored);
        const FolderSnapshot before(program.chartFolder());
        const FetchResult result = QCoro::waitFor(downloader.fetch(
            server.url(path.isEmpty() ? QLatin1Char('/') + name : path), program.chartFolder() + name));
        before.expectUnchangedBut(result.ok && !result.unchanged ? name : QString());
        return result;
    }

    QByteArray contentOf(const QString& name) const {
        QFile file(program.chartFolder() + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    testing_support::TempProgramFolder program;
    Downloader downloader;
};

} // namespace

// A reply that announces a length over the cap of its target's kind fails before its body; one that
// announces none ends at the cap (an update's cap is larger than any overlong body here).
TEST_F(HostileFetch, ABodyOverTheCapOfItsKindFails) {
    for (const Cap cap : {Cap{"20240501000309.gif", 16 * MiB}, Cap{"Tartu.xml", MiB}, Cap{"verinfo.txt", MiB},
                          Cap{"quellan.txt", MiB}, Cap{"uuendus.exe", 256 * MiB}}) {
        SCOPED_TRACE(cap.file);
        const QString name = QString::fromLatin1(cap.file);
        const qint64 announced = cap.bytes + 1;
        const HostileServer announcing({Ok + "\r\nContent-Length: " + QByteArray::number(announced),
                                        QByteArrayLiteral("GIF89a"),
                                        announced - 6,
                                        {}});
        const FetchResult refused = fetchInto(name, announcing);
        EXPECT_FALSE(refused.ok);
        EXPECT_EQ(refused.bytes, 0);
        if (cap.bytes > 16 * MiB) {
            continue;
        }
        const HostileServer server(overlongBody());
        ResidentPeak memory;
        // Once the body has begun, the program is busy elsewhere for half a second: meanwhile the
        // body must wait at the server, not pile up in memory.
        QTimer busy;
        QObject::connect(&busy, &QTimer::timeout, [&busy, &server] {
            if (server.bytesSent() > 0) {
                busy.stop();
                QThread::msleep(500);
            }
        });
        busy.start(1);
        const FetchResult result = fetchInto(name, server);
        EXPECT_FALSE(result.ok);
        EXPECT_LE(result.bytes, cap.bytes);
        // Half the body: a body that piled up whole would cross it, while the network thread's
        // buffers and the allocator's per-thread arenas on a loaded machine stay well under it.
        if (ResidentSizeTellsUse) {
            EXPECT_LT(memory.growth(), 128 * MiB);
        }
        EXPECT_EQ(contentOf(name), Stored);
    }
}

namespace {

// A reply the transfer alone may take for whole, and what must come of it.
struct BrokenReply {
    const char* name;
    const char* target;
    std::function<HostileReply(const QByteArray& chart)> reply;
    FetchFailure failure;
};

void PrintTo(const BrokenReply& broken, std::ostream* out) {
    *out << broken.name;
}

QByteArray chunked(const QByteArray& part) {
    return QByteArray::number(part.size(), 16) + "\r\n" + part + "\r\n";
}

const QByteArray TextAnswer = QByteArrayLiteral("<date>10.04.2007</date><href>a</href>\r\n").repeated(8);

const BrokenReply BrokenReplies[] = {
    {"NoLengthClosedHalfway", "chart.gif",
     [](const QByteArray& chart) {
         return HostileReply{"HTTP/1.0 200 OK\r\nContent-Type: image/gif", chart.left(chart.size() / 2)};
     },
     FetchFailure::CutShort},
    {"NoLengthReset", "chart.gif",
     [](const QByteArray& chart) {
         return HostileReply{
             "HTTP/1.1 200 OK\r\nConnection: close", chart.left(chart.size() / 2), 0, {}, End::Reset};
     },
     FetchFailure::CutShort},
    {"BrokenChunkLine", "chart.gif",
     [](const QByteArray& chart) {
         const qsizetype half = chart.size() / 2;
         return HostileReply{"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked",
                             chunked(chart.left(half)) + "zz\r\n" + chart.mid(half)};
     },
     FetchFailure::CutShort},
    {"LengthLongerThanTheBody", "chart.gif",
     [](const QByteArray& chart) {
         return HostileReply{"HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(chart.size()),
                             chart.left(chart.size() / 2)};
     },
     FetchFailure::CutShort},
    {"TextLengthLongerThanTheBody", "Tartu.xml",
     [](const QByteArray&) {
         return HostileReply{"HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(TextAnswer.size()),
                             TextAnswer.left(TextAnswer.size() / 2),
                             0,
                             {},
                             End::Reset};
     },
     FetchFailure::CutShort},
    {"CutCompressedBody", "20240501Tartu.gif",
     [](const QByteArray&) {
         // A gzip stream of a meteogram in four uncompressed blocks, of which only two arrive.
         const QByteArray picture = QByteArrayLiteral("GIF89a") + QByteArray(3994, 'x');
         QByteArray stream = QByteArray::fromHex("1f8b0800000000000003");
         for (qsizetype offset = 0; offset < picture.size(); offset += 1000) {
             const bool last = offset + 1000 == picture.size();
             stream += QByteArray::fromHex(last ? "01e80317fc" : "00e80317fc") + picture.mid(offset, 1000);
         }
         const qsizetype whole = stream.size() + 8; // with the checksum and the length that end it
         return HostileReply{"HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\nContent-Length: " +
                                 QByteArray::number(whole),
                             stream.left(2020)};
     },
     FetchFailure::CutShort},
    {"PictureBomb", "chart.gif",
     [](const QByteArray& chart) {
         // The chart's own blocks under a screen that claims 5,700 × 5,700 pixels.
         QByteArray bomb = chart;
         bomb[6] = bomb[8] = char(0x44);
         bomb[7] = bomb[9] = char(0x16);
         return HostileReply{"HTTP/1.1 200 OK\r\nContent-Type: image/gif", bomb};
     },
     FetchFailure::NotAPicture},
};

class BrokenReplyFetch : public HostileFetch, public ::testing::WithParamInterface<BrokenReply> {};

} // namespace

TEST_P(BrokenReplyFetch, FailsAndKeepsTheStoredFile) {
    const HostileServer server(GetParam().reply(wholeChart()));
    const QString name = QString::fromLatin1(GetParam().target);
    const FetchResult result = fetchInto(name, server);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failure, GetParam().failure) << result.error.toStdString();
    EXPECT_EQ(contentOf(name), Stored);
}

INSTANTIATE_TEST_SUITE_P(EveryBreak, BrokenReplyFetch, ::testing::ValuesIn(BrokenReplies),
                         [](const ::testing::TestParamInfo<BrokenReply>& info) {
                             return std::string(info.param.name);
                         });

// The server announces a length shorter than what it sends: what follows the announced length must
// not be read as the next reply on the connection kept alive.
TEST_F(HostileFetch, AShortLengthDoesNotSpoilTheNextReplyOnItsConnection) {
    const QByteArray chart = wholeChart();
    const HostileServer server([&chart](const testing_support::HostileRequest& request) {
        const QByteArray body = request.path.endsWith(".gif") ? chart : TextAnswer;
        const qsizetype announced = request.path.startsWith("/short") ? body.size() / 2 : body.size();
        return HostileReply{"HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(announced),
                            body,
                            0,
                            {},
                            End::KeepAlive};
    });
    EXPECT_EQ(fetchInto(QStringLiteral("chart.gif"), server, QStringLiteral("/short.gif")).failure,
              FetchFailure::CutShort);
    EXPECT_TRUE(fetchInto(QStringLiteral("next.gif"), server).ok);
    EXPECT_EQ(contentOf(QStringLiteral("next.gif")), chart);

    // A text answer is as long as its server says.
    EXPECT_TRUE(fetchInto(QStringLiteral("Tartu.xml"), server, QStringLiteral("/short.xml")).ok);
    EXPECT_EQ(contentOf(QStringLiteral("Tartu.xml")), TextAnswer.left(TextAnswer.size() / 2));
    EXPECT_TRUE(fetchInto(QStringLiteral("Pärnu.xml"), server).ok);
    EXPECT_EQ(contentOf(QStringLiteral("Pärnu.xml")), TextAnswer);
}

// A host that stops in the middle of a reply is as dead as one that never answers: two such fetches
// in a row give it up for the rest of the action, while the overall deadline of a fetch counts
// against the file alone. The next action asks the host again.
TEST_F(HostileFetch, AHostThatStopsIsGivenUpAfterTwoStallsWhereverItStopped) {
    const QByteArray chart = wholeChart();
    const HostileServer stalling([&chart](const testing_support::HostileRequest& request) {
        const QByteArray length = "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(chart.size());
        return request.path == "/head.gif" ? HostileReply{length, {}, 0, {}, End::Stall}
                                           : HostileReply{length, chart.left(100), 0, {}, End::Stall};
    });
    const HostileServer trickling({"HTTP/1.1 200 OK\r\nContent-Length: 1000", "GIF89a", 994, 50ms});
    downloader.setLimits({.idle = 300ms, .deadline = 600ms, .connections = 1});
    FetchSession session(downloader, Refresh::Whole);
    const auto fetch = [&](const HostileServer& server, const char* path) {
        const QString target = program.chartFolder() + QString::fromLatin1(path).mid(1);
        return QCoro::waitFor(session.fetch(server.url(QString::fromLatin1(path)), target, {})).value();
    };
    for (int twice = 0; twice < 2; ++twice) {
        const FetchResult overran = fetch(trickling, "/slow.gif");
        EXPECT_EQ(overran.failure, FetchFailure::Timeout);
        EXPECT_FALSE(overran.unreachable) << "a deadline is the file's fault";
    }
    for (const char* path : {"/head.gif", "/body.gif"}) {
        const FetchResult stalled = fetch(stalling, path);
        EXPECT_TRUE(stalled.unreachable) << path;
        EXPECT_EQ(stalled.failure, FetchFailure::Timeout) << path;
    }
    const FetchResult next = fetch(stalling, "/next.gif");
    EXPECT_EQ(next.failure, FetchFailure::GivenUp);
    EXPECT_TRUE(next.unreachable);
    EXPECT_EQ(stalling.requestsAnswered(), 2);
    EXPECT_EQ(fetch(trickling, "/slow.gif").failure, FetchFailure::Timeout)
        << "the other host is still asked";

    FetchSession nextAction(downloader, Refresh::Whole);
    EXPECT_TRUE(QCoro::waitFor(nextAction.fetch(stalling.url(QStringLiteral("/again.gif")),
                                                program.chartFolder() + QStringLiteral("again.gif"), {}))
                    ->unreachable);
    EXPECT_EQ(stalling.requestsAnswered(), 3);
}

// A host that floods its replies' heads fails them as a host that does not answer, while the
// window stays responsive and the healthy host's fetches of the same action arrive, though the
// network thread was busy with the flood for longer than their idle limit.
TEST_F(HostileFetch, AHeaderFloodFailsItsHostAloneAndKeepsTheWindowAnswering) {
    const HostileServer flooding({testing_support::floodedHead(100000), wholeChart(), 0, {}, End::KeepAlive});
    demo::DemoServer healthy{demo::ServerOptions{}};
    ASSERT_TRUE(healthy.start(0));
    downloader.setLimits({.idle = 2s});
    FetchSession session(downloader, Refresh::Whole);

    std::vector<QCoro::Task<std::optional<FetchResult>>> floods;
    std::vector<QCoro::Task<std::optional<FetchResult>>> charts;
    for (int k = 1; k <= 3; ++k) {
        floods.push_back(session.fetch(flooding.url(QStringLiteral("/%1.gif").arg(k)),
                                       program.chartFolder() + QStringLiteral("flood%1.gif").arg(k), {k}));
    }
    for (int k = 1; k <= 12; ++k) {
        charts.push_back(session.fetch(waveMapUrl(healthy.baseUrl(), k),
                                       chartPath(program.chartFolder(), waveMapFile(k)), {k}));
    }
    QElapsedTimer sinceTick;
    qint64 worstDelay = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout,
                     [&] { worstDelay = std::max(worstDelay, sinceTick.restart() - 100); });
    sinceTick.start();
    tick.start(100);
    int floodsFailed = 0;
    for (auto& flood : floods) {
        const FetchResult result = QCoro::waitFor(flood).value();
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.unreachable) << result.error.toStdString();
        floodsFailed += result.ok ? 0 : 1;
    }
    for (auto& chart : charts) {
        const FetchResult result = QCoro::waitFor(chart).value();
        EXPECT_TRUE(result.ok) << result.error.toStdString();
    }
    EXPECT_EQ(floodsFailed, 3);
    EXPECT_LT(worstDelay, 500);
    healthy.stop();
}

// Data that arrived while the window was busy arrived in time, however long the window was busy.
TEST_F(HostileFetch, ABusyWindowDoesNotTimeOutRepliesThatArrivedMeanwhile) {
    const QByteArray chart = wholeChart();
    const HostileServer server({"HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(chart.size()),
                                chart,
                                0,
                                {},
                                End::KeepAlive});
    downloader.setLimits({.idle = 200ms, .deadline = 400ms});
    std::vector<QCoro::Task<FetchResult>> fetches;
    for (int k = 1; k <= 4; ++k) {
        fetches.push_back(downloader.fetch(server.url(QStringLiteral("/%1.gif").arg(k)),
                                           program.chartFolder() + QStringLiteral("%1.gif").arg(k)));
    }
    QTimer::singleShot(0, [] { QThread::msleep(1000); });
    for (auto& fetch : fetches) {
        const FetchResult result = QCoro::waitFor(fetch);
        EXPECT_TRUE(result.ok) << result.error.toStdString();
    }
}
