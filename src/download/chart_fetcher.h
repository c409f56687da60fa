// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "download/run_report.h"
#include "net/fetch_session.h"
#include "platform/host_config.h"
#include "platform/locale_formats.h"
#include "provider/spot_list.h"

#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>
#include <qcoro/qcorotask.h>

class Clock;
class Downloader;

// The run choice that last gave a provider chart (`halouusjooks`), and the six-hour block it
// belongs to (`halojooks`).
struct RunChoiceMemory {
    int halouusjooks = 0;
    int halojooks = 0;
};

// The six-hour block of an hour value of the provider's clock: the day offset and the quarter of
// the day. The charts of one block share their run choice.
int sixHourBlock(int providerHour);

// The fetches of every chart family into the chart folder: provider charts with their fallback
// over older model runs, the sailing-site maps, and a spot's point forecast. The main window,
// its double-clicks and the run without a window all fetch through one of these. A fetch that
// comes back after its fetcher has gone (the window closed meanwhile) ends there.
//
// Each call is one user action of its own, with its own FetchSession, unless an action is held
// (action()): then everything started meanwhile shares that one, its connections and the hosts it
// gave up. A FetchTurn places a call's requests in the action's order and tells whether they are
// still wanted when their turn comes. Each file is told once it will not be asked for again.
class ChartFetcher final : public QObject {
    Q_OBJECT
public:
    // Asked before every provider request; it answers from its own state after the first time.
    using LoginCheck = std::function<QCoro::Task<bool>()>;

    ChartFetcher(Downloader& downloader, HostConfig hosts, QString chartFolder, const Clock& clock,
                 LocaleFormats formats, LoginCheck login);

    // The action under way, or a new one that refreshes its files so; it lasts while anyone holds
    // it. A run leaves what is still fresh unasked; what the user asks for by hand always asks.
    std::shared_ptr<FetchSession> action(Refresh refresh = Refresh::IfChanged);

    // The login check, asked once for fetches side by side: while one check is under way, the
    // others wait for its answer.
    QCoro::Task<bool> loggedIn();

    // One provider chart for an hour value of the provider's clock (two hours behind the slider).
    // Within a six-hour block the run choice that last worked (`memory`, or the fetcher's own
    // `runChoice`) is tried first; the others follow.
    QCoro::Task<> laehalo(int slaider, QString kaart);
    QCoro::Task<> laehalo(int slaider, QString kaart, FetchTurn turn, RunChoiceMemory* memory);
    // The two sailing-site maps of a slider hour's three-hour slot, mainland first.
    QCoro::Task<> laemarevo(int sliderHour);
    QCoro::Task<> laemarevo(int sliderHour, FetchTurn turn);
    // A spot's point forecast, then the meteogram of each day it names.
    QCoro::Task<> LoeQuellanSpot(Spot spot);
    QCoro::Task<> LoeQuellanSpot(Spot spot, FetchTurn turn);

    RunChoiceMemory runChoice;

Q_SIGNALS:
    void loginAnswered(bool accepted);
    // A file that was asked for and will not be asked for again in this call: stored, confirmed
    // unchanged or failed. A provider chart is told once, after its last run choice tried.
    void fileSettled(const SettledFile& file);

private:
    enum class Outcome { Stored, Failed, Withdrawn };
    // One request, refreshing its file as its action does; nothing when it was no longer wanted at
    // its turn.
    QCoro::Task<std::optional<FetchResult>> request(FetchSession& session, QUrl url, QString file,
                                                    FetchTurn turn, ReaderCheck readerCheck = {});
    // One request of a file that is not asked for again whatever its answer.
    QCoro::Task<Outcome> downloadi(FetchSession& session, Service service, QUrl url, QString file,
                                   QString name, FetchTurn turn, ReaderCheck readerCheck = {});

    Downloader& m_downloader;
    HostConfig m_hosts;
    QString m_chartFolder;
    const Clock& m_clock;
    LocaleFormats m_formats;
    LoginCheck m_login;
    std::weak_ptr<FetchSession> m_action;
    bool m_loginUnderWay = false;
};
