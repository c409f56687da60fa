// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "download/chart_fetcher.h"
#include "platform/action_gate.h"
#include "platform/slider_hours.h"
#include "provider/spot_list.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <qcoro/qcorotask.h>

class InterfaceTexts;
class ProviderSession;
struct LoginResult;
class RunChoiceBoxes;
class RunReport;
class RunStatusLine;
class QProgressBar;
class QPushButton;
class QWidget;

// Every fetch the user starts from the main window: the download run behind the button Command2
// (with the update check before it and Stop during it), and the double-clicks that fetch the chart
// shown, the sailing maps of the hour, one spot's or every spot's forecast. One of them runs at a
// time; while one runs the window shows the busy cursor and the others do nothing. What was fetched
// is told by signals, which the window passes to its views. The run speaks in the status line: where
// it is while it goes, what it did until the next run, and it leaves its log of requests behind.
class DownloadController final : public QObject {
    Q_OBJECT
public:
    struct Services {
        Downloader& downloader;
        HostConfig hosts;
        QString chartFolder;
        const Clock& clock;
        LocaleFormats formats;
        ProviderSession& session;
        const InterfaceTexts& texts;
        // How the status line writes a slider hour, as the window shows it.
        std::function<QString(int)> momentOf;
    };
    enum class RunState { Idle, CheckingForUpdates, Running, StopRequested };
    // Shows the update offer before a run; true when the user took the update and the program is
    // ending for the updater, so nothing of the run may follow.
    using UpdateOffer = std::function<QCoro::Task<bool>()>;

    DownloadController(Services services, QWidget* window);
    ~DownloadController() override;

    void setSpots(QVector<Spot> spots);
    void setUpdateOffer(UpdateOffer offer) { m_updateOffer = std::move(offer); }
    // Where the run reads the marked period when it reaches the charts.
    void setMarkedPeriodSource(std::function<Period()> source) { m_markedPeriod = std::move(source); }

    // The controls to place: the button and the boxes; the progress bar places itself.
    QWidget* button() const;
    RunChoiceBoxes* choiceBoxes() const { return m_choices; }
    // For the status bar, which it fills in its height above the progress bar.
    RunStatusLine* statusLine() const { return m_statusLine; }
    // The progress bar lies on the window's bottom edge over the status bar and leaves a square
    // of its own height free at the right end.
    void placeProgressBar(QSize windowSize);
    void retranslate();

    RunState state() const { return m_state; }

    QCoro::Task<> Command2_Click();
    // The run as the button starts it, for nobody watching: no update offer, and no login window
    // (only the remembered account is tried). Nothing when another action runs.
    QCoro::Task<> startUnattended();
    bool idle() const { return !m_actions.busy(); }
    // The window is closing: a run still going ends now, leaving the chart that was there.
    void stop();

    QCoro::Task<> halo_DblClick(int p, QString kaart);
    QCoro::Task<> Picture4_DblClick(int p);
    QCoro::Task<> Spot_DblClick(QString spotName);
    QCoro::Task<> halograaf_DblClick();
    // The last spot of that name, as the list is searched to its end.
    QCoro::Task<> LoeQuellanSpot(QString SpotName);
    QCoro::Task<> loequellanyld();
    // Deletes every stored chart when the user agrees; an action of its own, so no run starts while
    // it asks, and it starts nothing while another action runs.
    QCoro::Task<> kustuta_Click();

Q_SIGNALS:
    // An action started or ended: while one runs, no other starts.
    void busyChanged(bool busy);
    void spotsStarted(int count);
    void spotFetched(int index);
    void spotsEnded();
    void spotForecastFetched(const QString& spotName);
    void hourFetched(int hour);
    void markedPeriodMoved(Period period);
    void chartsChanged();
    void meteogramsChanged();
    // A download run has ended, completed or stopped, and the window is idle again.
    void runFinished();

private:
    friend class WindowRunHost;
    QWidget* buildButton(QWidget* window);
    // Whether someone watches the run: only then is the update offered and a login window shown.
    enum class Watched { Yes, No };
    // The run itself, once its action holds the gate.
    QCoro::Task<> run(Watched watched);
    void showRunning(bool running);
    void showProgressSoon();
    void showProgress();
    void showRunEnd();
    void showLoginFailure(const LoginResult& login);

    Services m_services;
    QPointer<QWidget> m_window;
    // The run going, or else the last one, until the next starts. It outlives the fetcher that
    // tells it of files.
    std::unique_ptr<RunReport> m_report;
    ChartFetcher m_fetcher;
    ActionGate m_actions;
    RunState m_state = RunState::Idle;
    QVector<Spot> m_spots;
    UpdateOffer m_updateOffer;
    std::function<Period()> m_markedPeriod;
    bool m_progressQueued = false;
    QPushButton* m_button;
    QPushButton* m_buttonPictures;
    RunChoiceBoxes* m_choices;
    QProgressBar* m_progress;
    RunStatusLine* m_statusLine;
};
