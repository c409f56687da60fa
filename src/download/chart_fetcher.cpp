#include "download/chart_fetcher.h"

#include "net/chart_names.h"
#include "net/fetch.h"
#include "net/provider_requests.h"
#include "platform/clock.h"
#include "provider/provider_replies.h"

#include <QFile>
#include <QPointer>
#include <QSaveFile>
#include <QTemporaryFile>

namespace {

constexpr qint64 ForecastReplyLimit = 1024 * 1024;
constexpr int LastRunChoice = 3;

QByteArray readReply(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(ForecastReplyLimit) : QByteArray();
}

bool storeReply(const QString& path, const QByteArray& reply) {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(reply) == reply.size() && file.commit();
}

} // namespace

ChartFetcher::ChartFetcher(Downloader& downloader, HostConfig hosts, QString chartFolder, const Clock& clock,
                           LocaleFormats formats, LoginCheck login)
    : m_downloader(downloader), m_hosts(std::move(hosts)), m_chartFolder(std::move(chartFolder)),
      m_clock(clock), m_formats(std::move(formats)), m_login(std::move(login)) {}

QCoro::Task<bool> ChartFetcher::downloadi(QUrl url, QString file) {
    QPointer<ChartFetcher> self(this);
    const FetchResult result = co_await m_downloader.fetch(url, file);
    if (!self) {
        co_return false;
    }
    ++(result.ok ? m_tally.fetched : m_tally.failed);
    m_tally.bytes += result.ok ? result.bytes : 0;
    co_return result.ok;
}

QCoro::Task<> ChartFetcher::laehalo(int slaider, QString kaart) {
    QPointer<ChartFetcher> self(this);
    const bool loggedIn = co_await m_login();
    if (!self || !loggedIn) {
        co_return;
    }
    const QDate today = m_clock.today();
    const SliderMoment moment = sliderMoment(today, slaider);
    const QString file = halofail(m_chartFolder, moment.date, moment.hour, 0, kaart);
    const int block = 100 * floorDiv(slaider, 24) + moment.hour / 6;
    if (block != halojooks) {
        halouusjooks = 0;
    }
    halojooks = block;
    const auto address = [&](int choice) {
        return halourl(m_hosts.provider, today, moment.date, moment.hour, choice, kaart);
    };
    const bool fetched = co_await downloadi(address(halouusjooks), file);
    if (!self || fetched) {
        co_return;
    }
    for (int choice = 1; choice <= LastRunChoice; ++choice) {
        if (choice == halouusjooks) {
            continue;
        }
        const bool fetched = co_await downloadi(address(choice), file);
        if (!self) {
            co_return;
        }
        if (fetched) {
            halouusjooks = choice;
            co_return;
        }
    }
}

QCoro::Task<> ChartFetcher::laemarevo(int sliderHour) {
    QPointer<ChartFetcher> self(this);
    for (const QString& code : {MainlandMapCode, IslandsMapCode}) {
        const SailingMap map = sailingMap(m_hosts.marevo, m_clock.today(), sliderHour, code);
        co_await downloadi(map.url, chartPath(m_chartFolder, map.fileName));
        if (!self) {
            co_return;
        }
    }
}

QCoro::Task<> ChartFetcher::LoeQuellanSpot(Spot spot) {
    QPointer<ChartFetcher> self(this);
    const bool loggedIn = co_await m_login();
    if (!self || !loggedIn) {
        co_return;
    }
    // The reply is judged before it replaces the one stored: a page that names no day keeps the
    // spot's earlier reply and pictures.
    QTemporaryFile received;
    if (!received.open()) {
        co_return;
    }
    received.close();
    const bool replied = co_await downloadi(pointForecastUrl(m_hosts.provider, spot.lon, spot.lat, spot.elev),
                                            received.fileName());
    if (!self || !replied) {
        co_return;
    }
    const QByteArray reply = readReply(received.fileName());
    if (!isPointForecastReply(reply) ||
        !storeReply(chartPath(m_chartFolder, spotReplyFile(spot.name)), reply)) {
        co_return;
    }
    for (const ForecastDay& day : parsePointForecast(reply, m_formats)) {
        co_await downloadi(day.picture, chartPath(m_chartFolder, spotPictureFile(day.date, spot.name)));
        if (!self) {
            co_return;
        }
    }
}
