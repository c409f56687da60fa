// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "download/download_run.h"

#include "download/chart_fetcher.h"
#include "download/run_report.h"
#include "net/chart_names.h"
#include "provider/provider_session.h"
#include "settings/stored_settings.h"

#include <QPointer>
#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <vector>

namespace {

using Choices = DownloadRunHost::Choices;

// A provider chart family and its box.
struct Family {
    const char* code;
    bool Choices::*ticked;
};
// The order in which an hour asks for them.
constexpr Family ProviderFamilies[] = {
    {"w", &Choices::quellan}, {"cc", &Choices::pilvisus}, {"pc", &Choices::sademed}, {"t10", &Choices::temp}};

bool anyProviderChartTicked(const Choices& c) {
    return std::any_of(std::begin(ProviderFamilies), std::end(ProviderFamilies),
                       [&c](const Family& family) { return c.*family.ticked; });
}

bool anyChartTicked(const Choices& c) {
    return c.marevo || anyProviderChartTicked(c);
}

// The marked period starts on a three-hour slot, so its sailing maps are all fetched.
DownloadRunHost::Period hourRange(DownloadRunHost& host) {
    if (!host.choices().aintmärgitud) {
        return {0, SliderMaximum};
    }
    DownloadRunHost::Period period = host.markedPeriod();
    const int drop = period.start - 3 * floorDiv(period.start, 3);
    if (drop != 0) {
        period = {period.start - drop, period.length + drop};
        host.markedPeriodMoved(period);
    }
    return period;
}

// The charts of a run, every one asked for at once: each waits for its turn in the action, and a
// provider chart also for the chart of its block before it. The host is told hour by hour.
class ChartStage final {
public:
    ChartStage(ChartFetcher& fetcher, DownloadRunHost& host) : m_fetcher(&fetcher), m_host(host) {}

    QCoro::Task<> run(int first, int last, int step) {
        for (int hour = first; hour <= last; hour += step) {
            planHour(hour);
            m_hours.push_back({hour, m_units.size()});
        }
        co_await settleHourByHour();
        if (m_fetcher && m_lastTried) {
            m_fetcher->runChoice = *m_lastTried;
        }
    }

private:
    struct Chain {
        RunChoiceMemory memory;
        QCoro::Task<>* last = nullptr;
    };
    struct PlannedHour {
        int hour;
        size_t unitsEnd;
    };

    void planHour(int hour) {
        const int hourOfDay = hour - 24 * floorDiv(hour, 24);
        if (hourOfDay % 3 == 0) {
            const FetchTurn maps = turn(&Choices::marevo);
            m_units.push_back(m_fetcher->laemarevo(hour, maps));
        }
        if (hour > LastProviderHour) {
            return;
        }
        for (const Family& family : ProviderFamilies) {
            Chain& chain = m_chains[sixHourBlock(providerHour(hour))];
            const FetchTurn chart = turn(family.ticked);
            m_units.push_back(providerChart(chain.last, providerHour(hour), QString::fromLatin1(family.code),
                                            &chain.memory, chart));
            chain.last = &m_units.back();
        }
    }

    FetchTurn turn(bool Choices::*ticked) {
        DownloadRunHost& host = m_host;
        return {.order = static_cast<int>(m_units.size()), .wanted = [&host, ticked] {
                    return !host.stopRequested() && host.choices().*ticked;
                }};
    }

    // Its box is read when its turn comes: a family unticked then is not fetched, and asks for no
    // login either.
    QCoro::Task<> providerChart(QCoro::Task<>* before, int providerHour, QString code,
                                RunChoiceMemory* memory, FetchTurn turn) {
        if (before) {
            co_await *before;
        }
        const std::shared_ptr<FetchSession> action = m_fetcher ? m_fetcher->action() : nullptr;
        if (!action) {
            co_return;
        }
        const bool wanted = co_await action->awaitTurn(turn);
        if (!wanted || !m_fetcher) {
            co_return;
        }
        if (!m_lastTriedOrder || turn.order > *m_lastTriedOrder) {
            m_lastTriedOrder = turn.order;
            m_lastTried = memory;
        }
        co_await m_fetcher->laehalo(providerHour, code, std::move(turn), memory);
    }

    // Each hour once all its files have settled; after a Stop only what is on its way is awaited.
    QCoro::Task<> settleHourByHour() {
        size_t settled = 0;
        bool telling = true;
        for (const PlannedHour& planned : m_hours) {
            for (; settled < planned.unitsEnd; ++settled) {
                co_await m_units[settled];
            }
            if (!telling || m_host.stopRequested()) {
                telling = false;
                continue;
            }
            m_host.hourFetched(planned.hour);
            co_await m_host.yield();
            telling = !m_host.stopRequested();
        }
    }

    QPointer<ChartFetcher> m_fetcher;
    DownloadRunHost& m_host;
    // Stable while more are added, as the chains await the units before them.
    std::deque<QCoro::Task<>> m_units;
    std::map<int, Chain> m_chains;
    std::vector<PlannedHour> m_hours;
    std::optional<int> m_lastTriedOrder;
    RunChoiceMemory* m_lastTried = nullptr;
};

QCoro::Task<> chartStage(ChartFetcher& fetcher, DownloadRunHost& host) {
    QPointer<ChartFetcher> alive(&fetcher);
    fetcher.runChoice.halouusjooks = 0;
    const DownloadRunHost::Period range = hourRange(host);
    const int step = host.choices().quellan3h ? 3 : 1;
    // Asked before the first chart, so that the charts side by side find it answered.
    if (anyProviderChartTicked(host.choices())) {
        co_await fetcher.loggedIn();
        if (!alive) {
            co_return;
        }
    }
    host.chartsStarted(range.start, range.start + range.length, step);
    ChartStage stage(fetcher, host);
    co_await stage.run(range.start, range.start + range.length, step);
}

} // namespace

QCoro::Task<> fetchAllSpots(ChartFetcher& fetcher, QVector<Spot> spots, std::function<void(int)> spotFetched,
                            std::function<bool()> goOn) {
    QPointer<ChartFetcher> alive(&fetcher);
    const std::shared_ptr<FetchSession> action = fetcher.action();
    const bool loggedIn = co_await fetcher.loggedIn();
    if (!alive || !loggedIn) {
        co_return;
    }
    std::vector<QCoro::Task<>> started;
    started.reserve(static_cast<size_t>(spots.size()));
    for (int n = 0; n < spots.size(); ++n) {
        const FetchTurn turn{n, goOn};
        started.push_back(fetcher.LoeQuellanSpot(spots[n], turn));
    }
    bool telling = true;
    for (int n = 0; n < spots.size(); ++n) {
        co_await started[static_cast<size_t>(n)];
        if (telling) {
            spotFetched(n);
            telling = !goOn || goOn();
        }
    }
}

QCoro::Task<> downloadRun(ChartFetcher& fetcher, QVector<Spot> spots, DownloadRunHost& host) {
    QPointer<ChartFetcher> alive(&fetcher);
    const std::shared_ptr<FetchSession> action = fetcher.action(Refresh::IfStale);
    if (host.choices().quellanyld) {
        const bool loggedIn = co_await host.login();
        if (loggedIn && alive) {
            host.spotsStarted(spots.size());
            const std::function<void(int)> told = [&host](int n) {
                host.spotFetched(n);
            };
            const std::function<bool()> goOn = [&host] {
                return !host.stopRequested();
            };
            co_await fetchAllSpots(fetcher, spots, told, goOn);
            host.spotsEnded();
        }
    }
    if (alive && !host.stopRequested() && anyChartTicked(host.choices())) {
        co_await chartStage(fetcher, host);
    }
}

RunRecording::RunRecording(RunReport& report, Downloader& downloader, ChartFetcher& fetcher,
                           ProviderSession& session)
    : m_connections{
          QObject::connect(&downloader, &Downloader::fetchEnded, &fetcher,
                           [&report](const FetchRecord& request) { report.requestEnded(request); }),
          QObject::connect(&fetcher, &ChartFetcher::fileSettled, &fetcher,
                           [&report](const SettledFile& file) { report.fileSettled(file); }),
          QObject::connect(&session, &ProviderSession::loginStarted, &fetcher,
                           [&report] { report.loginStarted(); }),
          QObject::connect(&session, &ProviderSession::loginAnswered, &fetcher,
                           [&report](const LoginResult& result) { report.loginAnswered(result); })} {}

RunRecording::~RunRecording() {
    for (const QMetaObject::Connection& connection : m_connections) {
        QObject::disconnect(connection);
    }
}

DownloadRunHost::Choices choicesOf(const std::function<bool(const settings_table::Toggle&)>& ticked) {
    namespace t = settings_table;
    return {.marevo = ticked(t::marevo),
            .quellan = ticked(t::quellan),
            .pilvisus = ticked(t::pilvisus),
            .temp = ticked(t::temp),
            .sademed = ticked(t::sademed),
            .quellanyld = ticked(t::quellanyld),
            .quellan3h = ticked(t::quellan3h),
            .aintmärgitud = ticked(t::aintmärgitud)};
}

DownloadRunHost::Choices storedChoices(const StoredSettings& settings) {
    return choicesOf([&settings](const settings_table::Toggle& toggle) { return settings.ticked(toggle); });
}
