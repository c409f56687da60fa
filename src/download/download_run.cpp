#include "download/download_run.h"

#include "download/chart_fetcher.h"
#include "net/chart_names.h"
#include "settings/stored_settings.h"

namespace {

QCoro::Task<> spotStage(ChartFetcher& fetcher, const QVector<Spot>& spots, DownloadRunHost& host) {
    host.spotsStarted(spots.size());
    for (int n = 0; n < spots.size(); ++n) {
        co_await fetcher.LoeQuellanSpot(spots[n]);
        host.spotFetched(n);
        co_await host.yield();
        if (host.stopRequested()) {
            break;
        }
    }
    host.spotsEnded();
}

bool anyChartTicked(const DownloadRunHost::Choices& c) {
    return c.marevo || c.quellan || c.pilvisus || c.sademed || c.temp;
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

// One provider family of an hour; false when the user asked to stop.
QCoro::Task<bool> providerChart(ChartFetcher& fetcher, DownloadRunHost& host, bool ticked, int hour,
                                const char* code) {
    if (ticked) {
        co_await fetcher.laehalo(hour - 2, QString::fromLatin1(code));
        co_await host.yield();
        co_return !host.stopRequested();
    }
    co_return true;
}

// The hour's charts; false when the user asked to stop.
QCoro::Task<bool> chartsOfHour(ChartFetcher& fetcher, DownloadRunHost& host, int hour) {
    const int hourOfDay = hour - 24 * floorDiv(hour, 24);
    if (host.choices().marevo && hourOfDay % 3 == 0) {
        co_await fetcher.laemarevo(hour);
        co_await host.yield();
    }
    if (host.stopRequested()) {
        co_return false;
    }
    if (hour > LastProviderHour) {
        co_return true;
    }
    // Each family in its turn; a co_await stays out of compound conditions, which GCC 12 does not
    // suspend and resume reliably.
    const std::pair<bool, const char*> families[] = {
        {host.choices().quellan, "w"}, {host.choices().pilvisus, "cc"}, {host.choices().sademed, "pc"}};
    for (const auto& [ticked, code] : families) {
        const bool goOn = co_await providerChart(fetcher, host, ticked, hour, code);
        if (!goOn) {
            co_return false;
        }
    }
    co_await host.yield();
    co_return co_await providerChart(fetcher, host, host.choices().temp, hour, "t10");
}

QCoro::Task<> chartStage(ChartFetcher& fetcher, DownloadRunHost& host) {
    fetcher.halouusjooks = 0;
    const DownloadRunHost::Period range = hourRange(host);
    const int first = range.start;
    const int last = range.start + range.length;
    const int step = host.choices().quellan3h ? 3 : 1;
    host.chartsStarted(first, last);
    for (int hour = first; hour <= last; hour += step) {
        if (!co_await chartsOfHour(fetcher, host, hour)) {
            break;
        }
        host.hourFetched(hour);
        if (host.stopRequested()) {
            break;
        }
    }
}

} // namespace

QCoro::Task<> downloadRun(ChartFetcher& fetcher, QVector<Spot> spots, DownloadRunHost& host) {
    if (host.choices().quellanyld) {
        const bool loggedIn = co_await host.login();
        if (loggedIn) {
            co_await spotStage(fetcher, spots, host);
        }
    }
    if (!host.stopRequested() && anyChartTicked(host.choices())) {
        co_await chartStage(fetcher, host);
    }
}

DownloadRunHost::Choices storedChoices(const StoredSettings& settings) {
    namespace t = settings_table;
    const auto ticked = [&settings](const t::Toggle& toggle) {
        return settings.ticked(toggle);
    };
    return {ticked(t::marevo),  ticked(t::quellan),    ticked(t::pilvisus),  ticked(t::temp),
            ticked(t::sademed), ticked(t::quellanyld), ticked(t::quellan3h), ticked(t::aintmärgitud)};
}
