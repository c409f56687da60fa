// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The download run as one action of the fetch engine, without a window: side by side it stores
// what the one-at-a-time run stores and asks for the same requests, tells spots and hours in
// order, stops without starting anything new, gives up on a dead service, and asks only for what
// changed.
#include "demo_server.h"
#include "download/chart_fetcher.h"
#include "download/download_run.h"
#include "download/run_report.h"
#include "net/chart_names.h"
#include "net/fetch.h"
#include "net/file_origin.h"
#include "platform/clock.h"
#include "provider/provider_login.h"
#include "silent_host.h"
#include "test_support.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>
#include <qcoro/qcorotask.h>

using testing_support::SilentHost;
using testing_support::TempProgramFolder;

namespace {

using namespace std::chrono_literals;
using Choices = DownloadRunHost::Choices;

const QDate Today(2007, 4, 10);
const QTime BeforeTodaysRun(3, 0);
const QTime AfterTodaysRun(12, 0);
const QDateTime LongAgo(QDate(2001, 1, 1), QTime(12, 0));
const QVector<Spot> Spots{{QStringLiteral("Tartu"), 26.729, 58.378, 57},
                          {QStringLiteral("Pärnu"), 24.5, 58.385, 3}};

// What a run tells its host, and a Stop pressed when the test says.
class RecordingHost final : public DownloadRunHost {
public:
    RecordingHost(Choices chosen, Period marked, std::function<QCoro::Task<bool>()> login)
        : m_chosen(chosen), m_marked(marked), m_login(std::move(login)) {}

    Choices choices() const override { return m_chosen; }
    QCoro::Task<bool> login() override { return m_login(); }
    bool stopRequested() const override { return stop; }
    QCoro::Task<> yield() override { co_return; }
    void spotsStarted(int) override {}
    void spotFetched(int index) override { spotsTold << index; }
    void spotsEnded() override {}
    Period markedPeriod() const override { return m_marked; }
    void markedPeriodMoved(Period period) override { m_marked = period; }
    void chartsStarted(int, int, int) override {}
    void hourFetched(int hour) override { hoursTold << hour; }

    bool stop = false;
    QList<int> spotsTold;
    QList<int> hoursTold;

private:
    Choices m_chosen;
    Period m_marked;
    std::function<QCoro::Task<bool>()> m_login;
};

// One run into a program folder of its own, as the run without a window makes it: the demo
// account logged in once, a downloader with the given limits.
class WindowlessRun final {
    QUrl m_base;
    QString m_chartFolder;
    std::optional<bool> m_accepted;

public:
    WindowlessRun(const QUrl& base, const QString& chartFolder, const Clock& clock, FetchLimits limits,
                  Choices chosen, DownloadRunHost::Period marked, const QUrl& marevo = {})
        : m_base(base), m_chartFolder(chartFolder),
          fetcher(downloader, hostsAt(base, marevo), chartFolder, clock,
                  LocaleFormats(QStringLiteral("dd.MM.yyyy"), QStringLiteral("HH:mm")),
                  [this] { return login(); }),
          host(chosen, marked, [this] { return login(); }) {
        downloader.setLimits(limits);
        QObject::connect(&fetcher, &ChartFetcher::fileSettled,
                         [this](const SettledFile& file) { report.fileSettled(file); });
    }

    void go() { QCoro::waitFor(downloadRun(fetcher, Spots, host)); }

    Downloader downloader;
    ChartFetcher fetcher;
    RecordingHost host;
    RunReport report;

private:
    static HostConfig hostsAt(const QUrl& base, const QUrl& marevo) {
        HostConfig hosts;
        hosts.provider = base;
        hosts.marevo = marevo.isEmpty() ? base : marevo;
        hosts.loginMarker = QStringLiteral("Quellan login");
        return hosts;
    }

    QCoro::Task<bool> login() {
        if (!m_accepted) {
            const LoginRequest where{m_base, m_chartFolder, QStringLiteral("Quellan login")};
            const LoginReply reply =
                co_await requestLogin(downloader, where, QStringLiteral("demo"), QStringLiteral("demo"));
            m_accepted = reply.value_or(false);
        }
        co_return *m_accepted;
    }
};

FetchLimits withConnections(int connections) {
    FetchLimits limits;
    limits.connections = connections;
    return limits;
}

Choices everyFamilyEveryHour() {
    Choices c;
    c.marevo = c.quellan = c.pilvisus = c.temp = c.sademed = c.quellanyld = c.aintmärgitud = true;
    return c;
}

Choices sailingMapsOnly() {
    Choices c;
    c.marevo = c.quellan3h = true;
    return c;
}

// Every file of a chart folder with a digest of its bytes.
QMap<QString, QByteArray> folderDigest(const QString& chartFolder) {
    QMap<QString, QByteArray> digest;
    for (const QString& name : QDir(chartFolder).entryList(QDir::Files | QDir::Hidden)) {
        QFile file(chartFolder + name);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        digest.insert(name, QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex());
    }
    return digest;
}

class RunEngine : public ::testing::Test {
protected:
    std::unique_ptr<demo::DemoServer> serverAt(QTime now, int latencyMs = 0, quint16 port = 0) {
        demo::ServerOptions options;
        options.now = QDateTime(Today, now);
        options.latencyMs = latencyMs;
        auto server = std::make_unique<demo::DemoServer>(options);
        EXPECT_TRUE(server->start(port));
        return server;
    }

    // The requests a server received since the mark, in a stable order: a multiset.
    static QStringList requestsSince(const demo::DemoServer& server, int mark) {
        QStringList requests = server.requestedPaths().mid(mark);
        requests.sort();
        return requests;
    }

    const FixedClock afterTodaysRun{QDateTime(Today, AfterTodaysRun)};
    const TempProgramFolder program;
};

} // namespace

// Before today's 00 run is out the provider charts fall back over older runs; after it they do
// not. Either way six connections store the same files and make the same requests as one.
TEST_F(RunEngine, SideBySideStoresAndAsksWhatOneAtATimeDoes) {
    for (const QTime now : {BeforeTodaysRun, AfterTodaysRun}) {
        SCOPED_TRACE(now.toString().toStdString());
        const auto server = serverAt(now, 10);
        const FixedClock clock(QDateTime(Today, now));
        struct Outcome {
            QStringList requests;
            QMap<QString, QByteArray> files;
            QList<int> spots;
            QList<int> hours;
            int peak = 0;
        };
        const auto runWith = [&](int connections) {
            const TempProgramFolder own;
            const int mark = server->requestCount();
            WindowlessRun run(server->baseUrl(), own.chartFolder(), clock, withConnections(connections),
                              everyFamilyEveryHour(), {0, 11});
            run.go();
            Outcome outcome{requestsSince(*server, mark), folderDigest(own.chartFolder()), run.host.spotsTold,
                            run.host.hoursTold, server->peakRequestsInFlight()};
            return outcome;
        };
        const Outcome one = runWith(1);
        EXPECT_EQ(one.peak, 1);
        const Outcome six = runWith(6);
        EXPECT_GT(six.peak, 1);
        EXPECT_LE(six.peak, 6);

        EXPECT_EQ(six.requests, one.requests);
        EXPECT_EQ(six.files, one.files);
        EXPECT_GT(one.files.size(), 60);
        QList<int> everyHour;
        for (int hour = 0; hour <= 11; ++hour) {
            everyHour << hour;
        }
        EXPECT_EQ(one.hours, everyHour);
        EXPECT_EQ(six.hours, everyHour);
        EXPECT_EQ(six.spots, QList<int>({0, 1}));
    }
}

// Stop pressed while the second six maps are on their way, none of them done: they are finished
// and kept whole, and nothing is asked for after the click.
TEST_F(RunEngine, AStopStartsNothingNewAndKeepsWhatIsOnItsWay) {
    const auto server = serverAt(AfterTodaysRun, 300);
    WindowlessRun run(server->baseUrl(), program.chartFolder(), afterTodaysRun, withConnections(6),
                      sailingMapsOnly(), {});
    int requestsAtStop = -1;
    QTimer press;
    QObject::connect(&press, &QTimer::timeout, [&] {
        if (server->requestCount() >= 12 && requestsAtStop < 0) {
            QTimer::singleShot(100, [&] {
                run.host.stop = true;
                requestsAtStop = server->requestCount();
            });
            press.stop();
        }
    });
    press.start(5);
    run.go();
    QTest::qWait(100);

    EXPECT_EQ(requestsAtStop, 12) << "the stop came while the second six were on their way";
    EXPECT_EQ(server->requestCount(), requestsAtStop);
    const QStringList stored = QDir(program.chartFolder()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(stored.size(), requestsAtStop);
    for (const QString& name : stored) {
        EXPECT_FALSE(QImage(program.chartFolder() + name).isNull()) << name.toStdString();
    }
    EXPECT_EQ(run.host.hoursTold, QList<int>({0, 3, 6}));
    EXPECT_EQ(run.report.tally().fetched, 12);
}

// The sailing site accepts connections and never answers: after two timeouts its maps fail at
// once, and the provider's charts all arrive.
TEST_F(RunEngine, ADeadServiceIsGivenUpAfterTwoFailures) {
    const auto server = serverAt(AfterTodaysRun);
    const SilentHost deadSite;
    FetchLimits limits;
    limits.idle = 1s;
    Choices choices = sailingMapsOnly();
    choices.quellan = true;
    WindowlessRun run(server->baseUrl(), program.chartFolder(), afterTodaysRun, limits, choices, {},
                      QUrl(deadSite.base()));
    QElapsedTimer elapsed;
    elapsed.start();
    run.go();
    EXPECT_LT(elapsed.elapsed(), 4000) << "a few timeouts, not one per map";
    EXPECT_LE(deadSite.connectionsTaken(), limits.connections + 1);
    EXPECT_EQ(run.report.tally().failed, 2 * 57);
    EXPECT_EQ(run.report.tally().fetched, 25);
    EXPECT_EQ(QDir(program.chartFolder()).entryList({QStringLiteral("*HALO*")}, QDir::Files).size(), 25);
}

// Right after a first run, a second asks for nothing its services said stays fresh: only the
// login, which is never kept. Services that say nothing of freshness are asked whether each file
// changed, and the point forecasts, which name no time of their own, arrive again. Either way no
// stored file changes, nor its time.
TEST_F(RunEngine, ASecondRunAsksOnlyForWhatMayHaveChangedAndChangesNoFile) {
    for (const bool servicesSayFreshness : {true, false}) {
        SCOPED_TRACE(servicesSayFreshness ? "Cache-Control" : "Last-Modified alone");
        demo::ServerOptions options;
        options.now = QDateTime(Today, AfterTodaysRun);
        options.sendCacheControl = servicesSayFreshness;
        demo::DemoServer server(options);
        ASSERT_TRUE(server.start(0));
        const TempProgramFolder own;
        Choices choices = everyFamilyEveryHour();
        choices.quellan3h = true;
        const DownloadRunHost::Period marked{0, 30};
        WindowlessRun first(server.baseUrl(), own.chartFolder(), afterTodaysRun, withConnections(6), choices,
                            marked);
        first.go();
        const QMap<QString, QByteArray> before = folderDigest(own.chartFolder());
        for (const QString& name : before.keys()) {
            QFile file(own.chartFolder() + name);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            ASSERT_TRUE(file.setFileTime(LongAgo, QFileDevice::FileModificationTime));
        }
        const int requestsBefore = server.requestCount();

        WindowlessRun second(server.baseUrl(), own.chartFolder(), afterTodaysRun, withConnections(6), choices,
                             marked);
        second.go();
        EXPECT_EQ(folderDigest(own.chartFolder()), before);
        for (const QString& name : before.keys()) {
            if (name != loginAnswerFile()) {
                EXPECT_EQ(QFileInfo(own.chartFolder() + name).lastModified(), LongAgo) << name.toStdString();
            }
        }
        const FetchTally& again = second.report.tally();
        const int files = first.report.tally().fetched;
        EXPECT_EQ(again.failed, 0);
        if (servicesSayFreshness) {
            EXPECT_EQ(again.fetched, 0);
            EXPECT_EQ(again.unchanged, files);
            EXPECT_EQ(server.requestCount() - requestsBefore, 1) << "the login alone";
        } else {
            EXPECT_EQ(again.fetched, Spots.size());
            EXPECT_EQ(again.unchanged, files - Spots.size());
            EXPECT_LT(again.bytes * 20, first.report.tally().bytes);
        }
        server.stop();
    }
}

// At 03:00 the charts come from yesterday's 12 run, and the choices that found none before it are
// no failures; the run that worked is tried first for the rest of its six-hour block, and today's
// 06 starts a block anew. Once today's 00 run is out, the same names are fetched whole from it,
// though the stored files are newer than anything the server says.
TEST_F(RunEngine, AChartOfAnOlderRunIsReplacedOnceTheNewRunIsOut) {
    Choices windOnly;
    windOnly.quellan = windOnly.aintmärgitud = true;
    const DownloadRunHost::Period marked{3, 5};
    auto early = serverAt(BeforeTodaysRun);
    const quint16 port = early->port();
    const FixedClock earlyClock(QDateTime(Today, BeforeTodaysRun));
    WindowlessRun fallingBack(early->baseUrl(), program.chartFolder(), earlyClock, withConnections(6),
                              windOnly, marked);
    fallingBack.go();
    // Today's 01 and 06 try both choices of today's run first; 02 to 05 go to yesterday's at once.
    EXPECT_EQ(early->requestedPaths().filter(QStringLiteral("/m/EU0/")).size(), 3 + 4 + 3);
    EXPECT_EQ(fallingBack.report.tally().fetched, 6);
    EXPECT_EQ(fallingBack.report.tally().failed, 0);
    early.reset();

    const auto later = serverAt(AfterTodaysRun, 0, port);
    QStringList charts;
    for (int hour = 3; hour <= 8; ++hour) {
        const SliderMoment moment = sliderMoment(Today, hour - 2);
        const QString chart =
            halofail(program.chartFolder(), moment.date, moment.hour, 0, QStringLiteral("w"));
        ASSERT_EQ(
            readFileOrigin(chart).value_or(FileOrigin{}).url,
            halourl(later->baseUrl(), Today, moment.date, moment.hour, 2, QStringLiteral("w")).toEncoded());
        QFile file(chart);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(
            file.setFileTime(QDateTime::currentDateTime().addDays(1), QFileDevice::FileModificationTime));
        charts << chart;
    }
    WindowlessRun replacing(later->baseUrl(), program.chartFolder(), afterTodaysRun, withConnections(6),
                            windOnly, marked);
    replacing.go();
    EXPECT_EQ(replacing.report.tally().fetched, 6);
    EXPECT_EQ(replacing.report.tally().unchanged, 0);
    for (int hour = 3; hour <= 8; ++hour) {
        const SliderMoment moment = sliderMoment(Today, hour - 2);
        EXPECT_EQ(
            readFileOrigin(charts[hour - 3]).value_or(FileOrigin{}).url,
            halourl(later->baseUrl(), Today, moment.date, moment.hour, 0, QStringLiteral("w")).toEncoded());
    }
}

// The meteogram pictures' double-click: every spot side by side, told in list order, the login
// asked once. A link at a spot's reply is replaced by the reply, never written through.
TEST_F(RunEngine, AllSpotsAreFetchedSideBySideAndToldInOrder) {
    const auto server = serverAt(AfterTodaysRun, 50);
    const QString outside = program.file(QStringLiteral("outside.xml"));
    program.write(QStringLiteral("outside.xml"), "a file outside the chart folder");
    const QString tartuReply = program.chartFolder() + spotReplyFile(Spots[0].name);
    ASSERT_TRUE(QFile::link(outside, tartuReply));
    WindowlessRun run(server->baseUrl(), program.chartFolder(), afterTodaysRun, withConnections(6), {}, {});
    QList<int> told;
    QCoro::waitFor(fetchAllSpots(
        run.fetcher, Spots, [&told](int n) { told << n; }, [] { return true; }));
    EXPECT_EQ(told, QList<int>({0, 1}));
    EXPECT_EQ(server->requestedPaths().filter(QStringLiteral("/cg/login/")).size(), 1);
    EXPECT_GT(server->peakRequestsInFlight(), 2);
    for (const Spot& spot : Spots) {
        EXPECT_TRUE(QFile::exists(program.chartFolder() + spotReplyFile(spot.name)));
        for (int day = 0; day < 7; ++day) {
            EXPECT_TRUE(
                QFile::exists(program.chartFolder() + spotPictureFile(Today.addDays(day), spot.name)));
        }
    }
    EXPECT_EQ(run.report.tally().fetched, 2 * 8);
    EXPECT_FALSE(QFileInfo(tartuReply).isSymLink());
    QFile outsideFile(outside);
    ASSERT_TRUE(outsideFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(outsideFile.readAll(), "a file outside the chart folder");
    EXPECT_EQ(QDir(program.chartFolder()).entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden),
              QStringList())
        << "nothing staged is left";
}
