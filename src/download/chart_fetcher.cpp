// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "download/chart_fetcher.h"

#include "net/chart_names.h"
#include "net/fetch.h"
#include "net/provider_requests.h"
#include "platform/clock.h"
#include "platform/stored_files.h"
#include "provider/provider_replies.h"

#include <QFileInfo>
#include <QPointer>
#include <qcoro/qcorosignal.h>
#include <vector>

namespace {

constexpr int LastRunChoice = 3;

} // namespace

int sixHourBlock(int providerHour) {
    const int day = floorDiv(providerHour, 24);
    return 100 * day + (providerHour - 24 * day) / 6;
}

ChartFetcher::ChartFetcher(Downloader& downloader, HostConfig hosts, QString chartFolder, const Clock& clock,
                           LocaleFormats formats, LoginCheck login)
    : m_downloader(downloader), m_hosts(std::move(hosts)), m_chartFolder(std::move(chartFolder)),
      m_clock(clock), m_formats(std::move(formats)), m_login(std::move(login)) {}

std::shared_ptr<FetchSession> ChartFetcher::action(Refresh refresh) {
    std::shared_ptr<FetchSession> session = m_action.lock();
    if (!session) {
        session = std::make_shared<FetchSession>(m_downloader, refresh);
        m_action = session;
    }
    return session;
}

QCoro::Task<bool> ChartFetcher::loggedIn() {
    if (m_loginUnderWay) {
        co_return co_await qCoro(this, &ChartFetcher::loginAnswered);
    }
    QPointer<ChartFetcher> self(this);
    m_loginUnderWay = true;
    const bool accepted = co_await m_login();
    if (!self) {
        co_return false;
    }
    m_loginUnderWay = false;
    Q_EMIT loginAnswered(accepted);
    co_return accepted;
}

QCoro::Task<std::optional<FetchResult>> ChartFetcher::request(FetchSession& session, QUrl url, QString file,
                                                              FetchTurn turn, ReaderCheck readerCheck) {
    QPointer<ChartFetcher> self(this);
    // Once its fetcher has gone, a fetch that has not started never will.
    turn.wanted = [self, wanted = std::move(turn.wanted)] {
        return self && (!wanted || wanted());
    };
    const std::optional<FetchResult> result =
        co_await session.fetch(url, file, std::move(turn), std::move(readerCheck));
    co_return self ? result : std::nullopt;
}

QCoro::Task<ChartFetcher::Outcome> ChartFetcher::downloadi(FetchSession& session, Service service, QUrl url,
                                                           QString file, QString name, FetchTurn turn,
                                                           ReaderCheck readerCheck) {
    QPointer<ChartFetcher> self(this);
    const std::optional<FetchResult> result =
        co_await request(session, url, file, std::move(turn), std::move(readerCheck));
    if (!self || !result) {
        co_return Outcome::Withdrawn;
    }
    Q_EMIT fileSettled({service, name, *result});
    co_return result->ok ? Outcome::Stored : Outcome::Failed;
}

QCoro::Task<> ChartFetcher::laehalo(int slaider, QString kaart) {
    return laehalo(slaider, std::move(kaart), FetchTurn(), &runChoice);
}

QCoro::Task<> ChartFetcher::laemarevo(int sliderHour) {
    return laemarevo(sliderHour, FetchTurn());
}

QCoro::Task<> ChartFetcher::LoeQuellanSpot(Spot spot) {
    return LoeQuellanSpot(std::move(spot), FetchTurn());
}

QCoro::Task<> ChartFetcher::laehalo(int slaider, QString kaart, FetchTurn turn, RunChoiceMemory* memory) {
    QPointer<ChartFetcher> self(this);
    const std::shared_ptr<FetchSession> session = action();
    const bool loggedIn = co_await this->loggedIn();
    if (!self || !loggedIn) {
        co_return;
    }
    RunChoiceMemory& remembered = *memory;
    const QDate today = m_clock.today();
    const SliderMoment moment = sliderMoment(today, slaider);
    const QString file = halofail(m_chartFolder, moment.date, moment.hour, 0, kaart);
    const int block = sixHourBlock(slaider);
    if (block != remembered.halojooks) {
        remembered.halouusjooks = 0;
    }
    remembered.halojooks = block;
    QList<int> choices{remembered.halouusjooks};
    for (int choice = 1; choice <= LastRunChoice; ++choice) {
        if (choice != remembered.halouusjooks) {
            choices << choice;
        }
    }
    // A choice that fails only leads to the next: the chart has failed when the last one did, or
    // when a Stop came before it. One that could not be stored ends the chart: no other run's
    // would be, and the disk's reason, not a later run's missing chart, is why it failed.
    std::optional<FetchResult> last;
    for (const int choice : choices) {
        const QUrl url = halourl(m_hosts.provider, today, moment.date, moment.hour, choice, kaart);
        const std::optional<FetchResult> answer = co_await request(*session, url, file, turn);
        if (!self) {
            co_return;
        }
        if (!answer) {
            break;
        }
        last = answer;
        if (answer->ok) {
            remembered.halouusjooks = choice;
            break;
        }
        if (answer->failure == FetchFailure::Storage) {
            break;
        }
    }
    if (last) {
        Q_EMIT fileSettled({Service::Provider, QFileInfo(file).fileName(), *last});
    }
}

// Both maps are asked for at once; the mainland map takes its turn first.
QCoro::Task<> ChartFetcher::laemarevo(int sliderHour, FetchTurn turn) {
    const std::shared_ptr<FetchSession> session = action();
    std::vector<QCoro::Task<Outcome>> maps;
    for (const QString& code : {MainlandMapCode, IslandsMapCode}) {
        const SailingMap map = sailingMap(m_hosts.marevo, m_clock.today(), sliderHour, code);
        maps.push_back(downloadi(*session, Service::SailingSite, map.url,
                                 chartPath(m_chartFolder, map.fileName), map.fileName, turn));
    }
    for (QCoro::Task<Outcome>& map : maps) {
        co_await map;
    }
}

QCoro::Task<> ChartFetcher::LoeQuellanSpot(Spot spot, FetchTurn turn) {
    QPointer<ChartFetcher> self(this);
    const std::shared_ptr<FetchSession> session = action();
    const bool loggedIn = co_await this->loggedIn();
    if (!self || !loggedIn) {
        co_return;
    }
    // The reply is judged before it replaces the one stored: a page that names no day keeps the
    // spot's earlier reply and pictures. A reply still fresh is read as stored.
    const QString replyFile = chartPath(m_chartFolder, spotReplyFile(spot.name));
    const Outcome replied = co_await downloadi(
        *session, Service::Provider, pointForecastUrl(m_hosts.provider, spot.lon, spot.lat, spot.elev),
        replyFile, spotReplyFile(spot.name), turn, isPointForecastReply);
    if (!self || replied != Outcome::Stored) {
        co_return;
    }
    const QByteArray reply = readRegularFile(replyFile, LargestAnswerFile).value_or(QByteArray());
    // The days side by side, each in the spot's turn.
    std::vector<QCoro::Task<Outcome>> days;
    for (const ForecastDay& day : parsePointForecast(reply, m_formats)) {
        const QString name = spotPictureFile(day.date, spot.name);
        days.push_back(
            downloadi(*session, Service::Provider, day.picture, chartPath(m_chartFolder, name), name, turn));
    }
    for (QCoro::Task<Outcome>& day : days) {
        co_await day;
    }
}
