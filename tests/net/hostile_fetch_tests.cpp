// Fetches from a server that misbehaves on purpose: each ends in bounded time and memory, and the
// file already stored stays as it was.
#include "hostile_server.h"
#include "net/fetch.h"
#include "platform/host_config.h"
#include "test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

using testing_support::HostileReply;
using testing_support::HostileServer;

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

class HostileFetch : public ::testing::Test {
protected:
    // Fetches into a file of the chart folder that holds a good chart beforehand.
    FetchResult fetchInto(const QString& name, const HostileServer& server) {
        program.write(QStringLiteral("kaardid/") + name, Stored);
        stored << name;
        return QCoro::waitFor(
            downloader.fetch(server.url(QLatin1Char('/') + name), program.chartFolder() + name));
    }

    // The file is as it was, and the folder holds nothing but the files stored beforehand.
    void expectStoredFileKept(const QString& name) const {
        QFile file(program.chartFolder() + name);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.readAll() == Stored);
        const QStringList contents =
            QDir(program.chartFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        QStringList expected = stored;
        expected.sort(Qt::CaseInsensitive);
        EXPECT_EQ(contents.join(QLatin1Char(' ')).toStdString(),
                  expected.join(QLatin1Char(' ')).toStdString());
    }

    testing_support::TempProgramFolder program;
    QStringList stored;
    Downloader downloader;
};

} // namespace

TEST_F(HostileFetch, AnOverlongBodyEndsAtTheCapOfItsKind) {
    for (const Cap cap :
         {Cap{"20240501000309.gif", 16 * MiB}, Cap{"Tartu.xml", MiB}, Cap{"verinfo.txt", MiB}}) {
        SCOPED_TRACE(cap.file);
        const QString name = QString::fromLatin1(cap.file);
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
        expectStoredFileKept(name);
    }
}

TEST_F(HostileFetch, ALengthOverTheCapFailsBeforeTheBody) {
    for (const Cap cap :
         {Cap{"20240501000309.gif", 16 * MiB}, Cap{"quellan.txt", MiB}, Cap{"uuendus.exe", 256 * MiB}}) {
        SCOPED_TRACE(cap.file);
        const QString name = QString::fromLatin1(cap.file);
        const qint64 announced = cap.bytes + 1;
        const HostileServer server({Ok + "\r\nContent-Length: " + QByteArray::number(announced),
                                    QByteArrayLiteral("GIF89a"),
                                    announced - 6,
                                    {}});
        const FetchResult result = fetchInto(name, server);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.bytes, 0);
        expectStoredFileKept(name);
    }
}

TEST_F(HostileFetch, ATrickleEndsAtTheConfiguredDeadline) {
    program.write(QStringLiteral("brisel.ini"), "[download]\ntimeout=30\ndeadline=1\n");
    downloader.setLimits(HostConfig::load(program.file(QStringLiteral("brisel.ini"))).fetchLimits);
    // A byte every tenth of a second: never idle for long, never done in time.
    const HostileServer server({Ok + "\r\nContent-Length: 46", QByteArrayLiteral("GIF89a"), 40, 100ms});
    QElapsedTimer clock;
    clock.start();
    const FetchResult result = fetchInto(QStringLiteral("20240501000309.gif"), server);
    EXPECT_FALSE(result.ok);
    EXPECT_GE(clock.elapsed(), 900);
    EXPECT_LT(clock.elapsed(), 2500);
    expectStoredFileKept(QStringLiteral("20240501000309.gif"));
}

TEST_F(HostileFetch, ACutCompressedBodyIsNotStored) {
    // A gzip stream of a meteogram in four uncompressed blocks, of which only two arrive.
    const QByteArray picture = QByteArrayLiteral("GIF89a") + QByteArray(3994, 'x');
    QByteArray stream = QByteArray::fromHex("1f8b0800000000000003");
    for (qsizetype offset = 0; offset < picture.size(); offset += 1000) {
        const bool last = offset + 1000 == picture.size();
        stream += QByteArray::fromHex(last ? "01e80317fc" : "00e80317fc") + picture.mid(offset, 1000);
    }
    const qsizetype whole = stream.size() + 8; // with the checksum and the length that end it
    const HostileServer server(
        {Ok + "\r\nContent-Encoding: gzip\r\nContent-Length: " + QByteArray::number(whole),
         stream.left(2020),
         0,
         {}});
    EXPECT_FALSE(fetchInto(QStringLiteral("20240501Tartu.gif"), server).ok);
    expectStoredFileKept(QStringLiteral("20240501Tartu.gif"));
}
