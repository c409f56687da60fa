// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/slider_hours.h"
#include "provider/spot_list.h"

#include <QList>
#include <QMetaObject>
#include <QVector>
#include <functional>
#include <qcoro/qcorotask.h>

class ChartFetcher;
class Downloader;
class ProviderSession;
class RunReport;
class StoredSettings;
namespace settings_table {
struct Toggle;
}

// What a download run reads and tells as it goes. The main window answers with its check boxes,
// its Stop button, its progress bars and its display; the run without a window with the stored
// settings and a terminal.
class DownloadRunHost {
public:
    struct Choices {
        bool marevo = false;
        bool quellan = false;
        bool pilvisus = false;
        bool temp = false;
        bool sademed = false;
        bool quellanyld = false;
        bool quellan3h = false;
        bool aintmärgitud = false;
    };
    using Period = ::Period;

    virtual ~DownloadRunHost() = default;
    // Read anew at every use: ticking a box during a run counts from the next hour on.
    virtual Choices choices() const = 0;
    virtual QCoro::Task<bool> login() = 0;
    virtual bool stopRequested() const = 0;
    // Lets the user act between files: move the slider, press Stop.
    virtual QCoro::Task<> yield() = 0;

    virtual void spotsStarted(int count) = 0;
    virtual void spotFetched(int index) = 0;
    virtual void spotsEnded() = 0;

    virtual Period markedPeriod() const = 0;
    virtual void markedPeriodMoved(Period period) = 0;
    // The hours from the first to the last by the step.
    virtual void chartsStarted(int firstHour, int lastHour, int step) = 0;
    virtual void hourFetched(int hour) = 0;
};

inline constexpr int LastProviderHour = 74;

// One run: the spot stage when its box is ticked and the login holds, then the charts of the
// whole slider or of the marked period (its start moved down to a multiple of three), by one or
// three hours. It is one action: its files are asked for ahead and fetched side by side, as many at
// once as the fetch limits' connections, yet the host hears of them as the one-at-a-time run would
// tell them: spot by spot, then hour by hour, each hour once all its files have settled. The
// provider charts of one six-hour block fetch one after another, each starting from the run choice
// the chart before it found; blocks, sailing maps and spots go side by side.
//
// The boxes and Stop are read when a request's turn comes, so a change counts from the requests not
// yet started. From a Stop on, no request starts; those on their way are finished and kept, then
// the run ends; a Stop in the spot stage skips the charts.
QCoro::Task<> downloadRun(ChartFetcher& fetcher, QVector<Spot> spots, DownloadRunHost& host);

// While it lives, the report hears of every request the downloader ends, every file the fetcher
// settles and every login answer: the window and the run without a window record a run alike.
// The fetcher must not outlive the report; once the fetcher has gone, the report hears nothing.
class RunRecording final {
public:
    RunRecording(RunReport& report, Downloader& downloader, ChartFetcher& fetcher, ProviderSession& session);
    ~RunRecording();
    RunRecording(const RunRecording&) = delete;
    RunRecording& operator=(const RunRecording&) = delete;

private:
    QList<QMetaObject::Connection> m_connections;
};

// The run's choices, each read from whether its box's toggle is ticked.
DownloadRunHost::Choices choicesOf(const std::function<bool(const settings_table::Toggle&)>& ticked);
// The run's choices as the window's boxes hold them right after start-up.
DownloadRunHost::Choices storedChoices(const StoredSettings& settings);

// Every spot's point forecast as one action, side by side, as the meteogram pictures' double-click
// and the run's spot stage fetch them: the login is asked once, and `spotFetched(n)` is told in
// list order once spot n and all before it have settled. When `goOn` says no (asked before each
// request and after each spot told; a window that closed says no), no request starts any more,
// what is on its way is finished, and no further spot is told.
QCoro::Task<> fetchAllSpots(ChartFetcher& fetcher, QVector<Spot> spots, std::function<void(int)> spotFetched,
                            std::function<bool()> goOn);
