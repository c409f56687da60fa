#pragma once

#include "platform/slider_hours.h"
#include "provider/spot_list.h"

#include <QVector>
#include <qcoro/qcorotask.h>

class ChartFetcher;
class StoredSettings;

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
    virtual void chartsStarted(int firstHour, int lastHour) = 0;
    virtual void hourFetched(int hour) = 0;
};

inline constexpr int LastProviderHour = 74;

// One run: the spot stage when its box is ticked and the login holds, then the charts of the
// whole slider or of the marked period (its start moved down to a multiple of three), by one or
// three hours. A Stop is honoured at the next check, never in the middle of a file, and a Stop in
// the spot stage skips the charts.
QCoro::Task<> downloadRun(ChartFetcher& fetcher, QVector<Spot> spots, DownloadRunHost& host);

// The run's choices as the window's boxes hold them right after start-up.
DownloadRunHost::Choices storedChoices(const StoredSettings& settings);
