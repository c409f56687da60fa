// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "download/download_controller.h"

#include "download/chart_cleanup.h"
#include "download/download_run.h"
#include "download/run_choice_boxes.h"
#include "download/run_report.h"
#include "download/run_status_line.h"
#include "net/chart_names.h"
#include "platform/modal_dialog.h"
#include "platform/picture_pair.h"
#include "platform/program_folder.h"
#include "provider/provider_session.h"
#include "settings/interface_texts.h"

#include <QDir>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <chrono>
#include <qcoro/qcorotimer.h>

namespace {

constexpr int ProgressBarHeight = 13;
constexpr QSize ButtonIconSize(24, 24);
// Room for the longest caption in every language: "Stop" during a run moves nothing.
constexpr QSize ButtonSize(160, 36);

} // namespace

// The run as the window shows it. It holds the controller weakly: once the window has gone, the
// run only finds that it is asked to stop.
class WindowRunHost final : public DownloadRunHost {
public:
    explicit WindowRunHost(DownloadController* controller) : m_controller(controller) {}

    Choices choices() const override { return m_controller ? m_controller->m_choices->choices() : Choices{}; }
    QCoro::Task<bool> login() override {
        if (!m_controller) {
            co_return false;
        }
        co_return co_await m_controller->m_services.session.CheckQuellanlogin();
    }
    bool stopRequested() const override {
        return !m_controller || m_controller->m_state == DownloadController::RunState::StopRequested;
    }
    QCoro::Task<> yield() override { co_await QCoro::sleepFor(std::chrono::milliseconds(0)); }

    void spotsStarted(int count) override {
        tell(&DownloadController::spotsStarted, count);
        note([count](RunReport& report) { report.spotsStarted(count); });
    }
    void spotFetched(int index) override {
        tell(&DownloadController::spotFetched, index);
        note([index](RunReport& report) { report.spotFetched(index); });
    }
    void spotsEnded() override {
        if (m_controller) {
            Q_EMIT m_controller->spotsEnded();
        }
    }

    Period markedPeriod() const override { return m_controller ? m_controller->m_markedPeriod() : Period{}; }
    void markedPeriodMoved(Period period) override { tell(&DownloadController::markedPeriodMoved, period); }
    void chartsStarted(int firstHour, int lastHour, int step) override {
        if (m_controller) {
            QProgressBar* bar = m_controller->m_progress;
            bar->setRange(firstHour, lastHour);
            bar->setValue(firstHour);
            bar->setVisible(true);
        }
        note([=](RunReport& report) { report.chartsStarted(firstHour, lastHour, step); });
    }
    void hourFetched(int hour) override {
        if (m_controller) {
            m_controller->m_progress->setValue(hour);
            Q_EMIT m_controller->hourFetched(hour);
        }
        note([hour](RunReport& report) { report.hourFetched(hour); });
    }

private:
    // The report hears where the run is, and the status line says it.
    void note(const std::function<void(RunReport&)>& where) {
        if (m_controller && m_controller->m_report) {
            where(*m_controller->m_report);
            m_controller->showProgress();
        }
    }

    template<typename Signal, typename Value> void tell(Signal signal, Value value) {
        if (m_controller) {
            Q_EMIT(m_controller->*signal)(value);
        }
    }

    QPointer<DownloadController> m_controller;
};

DownloadController::DownloadController(Services services, QWidget* window)
    : QObject(window), m_services(std::move(services)), m_window(window),
      m_fetcher(m_services.downloader, m_services.hosts, m_services.chartFolder, m_services.clock,
                m_services.formats, [this] { return m_services.session.CheckQuellanlogin(); }),
      m_markedPeriod([] {
          return Period{0, SliderMaximum};
      }) {
    buildButton(window);
    m_choices = new RunChoiceBoxes(window);
    m_progress = new QProgressBar(window);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setGeometry(0, 0, 200, ProgressBarHeight);
    m_progress->setRange(0, SliderMaximum);
    m_progress->setTextVisible(false);
    m_progress->hide();
    m_statusLine = new RunStatusLine(ProgressBarHeight, window);
    connect(&m_fetcher, &ChartFetcher::fileSettled, this, &DownloadController::showProgressSoon);
    ProviderSession* session = &m_services.session;
    connect(session, &ProviderSession::loginStarted, this, &DownloadController::showProgressSoon);
    connect(session, &ProviderSession::loginAnswered, this, &DownloadController::showLoginFailure);
    // The arrow-and-hourglass tells why a click on a fetching control does nothing now.
    connect(&m_actions, &ActionGate::busyChanged, this, [this](bool busy) {
        if (busy) {
            m_window->setCursor(Qt::BusyCursor);
        } else {
            m_window->unsetCursor();
        }
        Q_EMIT busyChanged(busy);
    });
    // An action ends when its ticket goes, whichever way its coroutine left: then the login's turn
    // ends too, and the next action may ask again. The session as the context keeps a ticket that
    // outlives it from reaching it.
    connect(&m_actions, &ActionGate::busyChanged, session, [session](bool busy) {
        if (!busy) {
            session->actionEnded();
        }
    });
}

DownloadController::~DownloadController() = default;

QWidget* DownloadController::buildButton(QWidget* window) {
    const QIcon download = resourceIcon(QStringLiteral("download.png"));
    m_buttonPictures = makePicturePair(QStringLiteral("nupud"), download,
                                       resourceIcon(QStringLiteral("download_disabled.png")), window);
    m_button = new QPushButton(QStringLiteral("Laadi kaardid"), window);
    m_button->setObjectName(QStringLiteral("Command2"));
    m_button->setIcon(download);
    m_button->setIconSize(ButtonIconSize);
    m_button->setFixedSize(ButtonSize);
    connect(m_button, &QPushButton::clicked, this, [this] { Command2_Click(); });
    return m_button;
}

QWidget* DownloadController::button() const {
    return m_button;
}

void DownloadController::setSpots(QVector<Spot> spots) {
    m_spots = std::move(spots);
}

void DownloadController::placeProgressBar(QSize windowSize) {
    const int barHeight = m_progress->height();
    m_progress->move(m_progress->x(), windowSize.height() - barHeight);
    if (barHeight < windowSize.width()) {
        m_progress->resize(windowSize.width() - barHeight, barHeight);
    }
    m_progress->raise();
}

void DownloadController::retranslate() {
    if (m_state == RunState::Idle || m_state == RunState::CheckingForUpdates) {
        m_button->setText(m_services.texts.keeltekst(QStringLiteral("startdl")));
    }
    m_button->setToolTip(m_services.texts.keeltekst(QStringLiteral("tooltipdownload")));
    m_choices->retranslate(m_services.texts);
    if (m_state == RunState::Idle && m_report) {
        showRunEnd();
    } else {
        showProgress();
    }
}

QCoro::Task<> DownloadController::Command2_Click() {
    if (m_state == RunState::Running) {
        m_state = RunState::StopRequested;
        m_button->setEnabled(false);
        co_return;
    }
    // From the first click on there is one run: a click while the update answer is awaited
    // finds the gate shut, as it found the blocked window before.
    const auto action = m_actions.tryStart();
    if (!action) {
        co_return;
    }
    co_await run(Watched::Yes);
}

QCoro::Task<> DownloadController::startUnattended() {
    const auto action = m_actions.tryStart();
    if (!action) {
        co_return;
    }
    co_await run(Watched::No);
}

QCoro::Task<> DownloadController::run(Watched watched) {
    QPointer<DownloadController> self(this);
    // The update check is the run's first request.
    m_report = std::make_unique<RunReport>();
    const RunRecording recording(*m_report, m_services.downloader, m_fetcher, m_services.session);
    if (watched == Watched::Yes && m_choices->checksForUpdates() && m_updateOffer) {
        m_state = RunState::CheckingForUpdates;
        const bool ending = co_await m_updateOffer();
        if (!self || ending) {
            co_return;
        }
    }
    m_services.session.setUnattended(watched == Watched::No);
    m_state = RunState::Running;
    showRunning(true);
    showProgress();
    WindowRunHost host(this);
    co_await downloadRun(m_fetcher, m_spots, host);
    if (!self) {
        co_return;
    }
    if (m_state == RunState::StopRequested) {
        m_report->stopped();
    }
    m_report->finish();
    // The log only helps: a run whose log cannot be written has still done its work.
    if (const Expected<void> written = writeRunLog(*m_report, lastRunLogFile()); !written) {
        qCDebug(lcDownload).noquote() << "cannot write the run's log" << lastRunLogFile() << written.error();
    }
    m_state = RunState::Idle;
    showRunning(false);
    showRunEnd();
    m_services.session.setUnattended(false);
    Q_EMIT runFinished();
}

// Many files settle at once when side by side: the line is written once for them all, after the
// report has heard of each.
void DownloadController::showProgressSoon() {
    if (m_progressQueued) {
        return;
    }
    m_progressQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_progressQueued = false;
            if (m_state == RunState::Running || m_state == RunState::StopRequested) {
                showProgress();
            }
        },
        Qt::QueuedConnection);
}

void DownloadController::showProgress() {
    if (m_report) {
        m_statusLine->showProgress(m_report->progressText(m_services.texts, m_services.momentOf));
    }
}

// A run says it in its summary; a double-click's login that could not be fetched opens no window,
// so the status line is where it is told.
void DownloadController::showLoginFailure(const LoginResult& login) {
    if (login.outcome == LoginOutcome::Failed && m_state == RunState::Idle) {
        m_statusLine->showNote(loginFailedText(m_services.texts, login.failure));
    }
}

void DownloadController::showRunEnd() {
    const InterfaceTexts& texts = m_services.texts;
    QStringList details;
    if (const QString failures = m_report->failureList(texts); !failures.isEmpty()) {
        details << failures;
    }
    details << texts.keeltekst(QStringLiteral("runlog")).arg(QDir::toNativeSeparators(lastRunLogFile()));
    m_statusLine->showEnd(m_report->endText(texts), details.join(QStringLiteral("\n\n")));
}

void DownloadController::showRunning(bool running) {
    m_button->setIcon(
        pictureOf(m_buttonPictures, m_button->iconSize(), running ? QIcon::Disabled : QIcon::Normal));
    m_button->setText(running ? QStringLiteral("Stop")
                              : m_services.texts.keeltekst(QStringLiteral("startdl")));
    if (running) {
        return;
    }
    m_progress->setVisible(false);
    m_button->setEnabled(true);
    if (m_window && m_window->isMinimized()) {
        m_window->showNormal();
    }
}

void DownloadController::stop() {
    if (m_state != RunState::Idle) {
        m_state = RunState::StopRequested;
    }
}

QCoro::Task<> DownloadController::halo_DblClick(int p, QString kaart) {
    QPointer<DownloadController> self(this);
    const auto action = m_actions.tryStart();
    if (!action) {
        co_return;
    }
    co_await m_fetcher.laehalo(providerHour(p), kaart);
    if (self) {
        Q_EMIT chartsChanged();
    }
}

QCoro::Task<> DownloadController::Picture4_DblClick(int p) {
    QPointer<DownloadController> self(this);
    const auto action = m_actions.tryStart();
    if (!action) {
        co_return;
    }
    co_await m_fetcher.laemarevo(3 * (p / 3));
    if (self) {
        Q_EMIT chartsChanged();
    }
}

QCoro::Task<> DownloadController::LoeQuellanSpot(QString SpotName) {
    for (qsizetype i = m_spots.size() - 1; i >= 0; --i) {
        if (m_spots[i].name == SpotName) {
            co_await m_fetcher.LoeQuellanSpot(m_spots[i]);
            co_return;
        }
    }
}

QCoro::Task<> DownloadController::loequellanyld() {
    QPointer<DownloadController> self(this);
    Q_EMIT spotsStarted(m_spots.size());
    const std::function<void(int)> told = [self](int n) {
        if (self) {
            Q_EMIT self->spotFetched(n);
        }
    };
    const std::function<bool()> goOn = [self] {
        return !self.isNull();
    };
    co_await fetchAllSpots(m_fetcher, m_spots, told, goOn);
    if (self) {
        Q_EMIT spotsEnded();
    }
}

QCoro::Task<> DownloadController::Spot_DblClick(QString spotName) {
    QPointer<DownloadController> self(this);
    const auto action = m_actions.tryStart();
    if (!action) {
        co_return;
    }
    if (!spotName.isEmpty()) {
        co_await LoeQuellanSpot(spotName);
        if (self) {
            Q_EMIT spotForecastFetched(spotName);
        }
    }
}

QCoro::Task<> DownloadController::halograaf_DblClick() {
    const auto action = m_actions.tryStart();
    if (!action) {
        co_return;
    }
    co_await loequellanyld();
}

// Either answer refreshes the display and the meteograms, so what was deleted leaves the screen.
// The question is a text of lang.ini, shown as it stands.
QCoro::Task<> DownloadController::kustuta_Click() {
    QPointer<DownloadController> self(this);
    const auto action = m_actions.tryStart();
    if (!action) {
        co_return;
    }
    QPointer<QMessageBox> question = new QMessageBox(QMessageBox::Question, QStringLiteral("Brisel"),
                                                     m_services.texts.keeltekst(QStringLiteral("deleteconf")),
                                                     QMessageBox::Yes | QMessageBox::No, m_window);
    question->button(QMessageBox::Yes)->setText(m_services.texts.keeltekst(QStringLiteral("yes")));
    question->button(QMessageBox::No)->setText(m_services.texts.keeltekst(QStringLiteral("no")));
    question->setDefaultButton(QMessageBox::No);
    question->setTextFormat(Qt::PlainText);
    const std::optional<int> answer = co_await showModally(question);
    delete question;
    if (!self) {
        co_return;
    }
    if (answer == QMessageBox::Yes) {
        deleteAllCharts(m_services.chartFolder);
    }
    Q_EMIT chartsChanged();
    Q_EMIT meteogramsChanged();
}
