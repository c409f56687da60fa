#pragma once

#include "platform/host_config.h"
#include "platform/locale_formats.h"
#include "provider/spot_list.h"

#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>
#include <qcoro/qcorotask.h>

class Clock;
class Downloader;

// What a run fetched, for its closing line.
struct FetchTally {
    int fetched = 0;
    int failed = 0;
    qint64 bytes = 0;
};

// The fetches of every chart family into the chart folder: provider charts with their fallback
// over older model runs, the sailing-site maps, and a spot's point forecast. The main window,
// its double-clicks and the run without a window all fetch through one of these. A fetch that
// comes back after its fetcher has gone (the window closed meanwhile) ends there.
class ChartFetcher final : public QObject {
    Q_OBJECT
public:
    // Asked before every provider request; it answers from its own state after the first time.
    using LoginCheck = std::function<QCoro::Task<bool>()>;

    ChartFetcher(Downloader& downloader, HostConfig hosts, QString chartFolder, const Clock& clock,
                 LocaleFormats formats, LoginCheck login);

    // One provider chart for an hour value of the provider's clock (two hours behind the slider).
    // Within a six-hour block the run that last worked is tried first; the others follow.
    QCoro::Task<> laehalo(int slaider, QString kaart);
    // The two sailing-site maps of a slider hour's three-hour slot, mainland first.
    QCoro::Task<> laemarevo(int sliderHour);
    // A spot's point forecast and the meteogram of each day it names.
    QCoro::Task<> LoeQuellanSpot(Spot spot);

    // The run choice that last gave a provider chart, and the six-hour block it belongs to.
    int halouusjooks = 0;
    int halojooks = 0;

    const FetchTally& tally() const { return m_tally; }

private:
    QCoro::Task<bool> downloadi(QUrl url, QString file);

    Downloader& m_downloader;
    HostConfig m_hosts;
    QString m_chartFolder;
    const Clock& m_clock;
    LocaleFormats m_formats;
    LoginCheck m_login;
    FetchTally m_tally;
};
