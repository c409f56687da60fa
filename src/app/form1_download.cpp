// The main window's download run: the button that starts and stops it, what the run shows as it
// goes, the double-clicks that fetch just the chart shown, and deleting every stored chart.
#include "app/form1.h"
#include "download/chart_cleanup.h"
#include "download/chart_fetcher.h"
#include "download/download_run.h"
#include "net/fetch.h"
#include "platform/clock.h"
#include "platform/control_names.h"
#include "settings/interface_texts.h"
#include "viewer/chart_display.h"
#include "viewer/picture_box.h"
#include "viewer/time_slider.h"
#include "windows/update_window.h"

#include <QAction>
#include <QCheckBox>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <qcoro/qcorotimer.h>

namespace {

const QString Stop = QStringLiteral("Stop");

} // namespace

// The run as the window shows it. It holds the window weakly: a window that has gone only asks
// the run to stop.
class WindowRunHost final : public DownloadRunHost {
public:
    explicit WindowRunHost(Form1* form) : m_form(form) {}

    Choices choices() const override {
        if (!m_form) {
            return {};
        }
        const Form1& f = *m_form;
        return {Form1::ticked(f.marevo),    Form1::ticked(f.quellan),     Form1::ticked(f.pilvisus),
                Form1::ticked(f.temp),      Form1::ticked(f.sademed),     Form1::ticked(f.quellanyld),
                Form1::ticked(f.quellan3h), Form1::ticked(f.aintmärgitud)};
    }
    QCoro::Task<bool> login() override {
        if (!m_form) {
            co_return false;
        }
        co_return co_await m_form->CheckQuellanlogin();
    }
    bool stopRequested() const override {
        return !m_form || tagOf(m_form->Command2) == QLatin1String("stop");
    }
    QCoro::Task<> yield() override { co_await QCoro::sleepFor(std::chrono::milliseconds(0)); }

    void spotsStarted(int count) override {
        if (m_form) {
            m_form->prgQuellan->setMaximum(std::max(0, count - 1));
            m_form->prgQuellan->setVisible(true);
        }
    }
    void spotFetched(int index) override {
        if (m_form) {
            m_form->prgQuellan->setValue(index);
            m_form->halograafikud();
        }
    }
    void spotsEnded() override {
        if (m_form) {
            m_form->prgQuellan->setVisible(false);
        }
    }

    Period markedPeriod() const override {
        return m_form ? Period{m_form->Slider1->selStart(), m_form->Slider1->selLength()} : Period{};
    }
    void markedPeriodMoved(Period period) override {
        if (m_form) {
            m_form->Slider1->setSelStart(period.start);
            m_form->Slider1->setSelLength(period.length);
            m_form->writePeriodLabel();
        }
    }
    void chartsStarted(int firstHour, int lastHour) override {
        if (m_form) {
            QProgressBar* bar = m_form->ProgressBar1;
            bar->setRange(firstHour, lastHour);
            bar->setValue(firstHour);
            bar->setVisible(true);
        }
    }
    void hourFetched(int hour) override {
        if (m_form) {
            m_form->ProgressBar1->setValue(hour);
            m_form->Slider1->setValue(hour);
            m_form->Slider1_Scroll();
        }
    }

private:
    QPointer<Form1> m_form;
};

void Form1::connectDownload() {
    m_fetcher = std::make_unique<ChartFetcher>(m_services.downloader, m_services.hosts,
                                               m_services.folder.chartFolder(), m_services.clock,
                                               m_services.formats, [this]() { return CheckQuellanlogin(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(halo, &PictureBox::doubleClicked, this, [this] { halo_DblClick(); });
    for (PictureBox* map : {Picture4, Picture1, Picture2}) {
        connect(map, &PictureBox::doubleClicked, this, [this] { Picture4_DblClick(); });
    }
    connect(kustuta, &QAction::triggered, this, &Form1::kustuta_Click);
    // The arrow-and-hourglass tells why a click on a fetching control does nothing now.
    connect(&m_actions, &ActionGate::busyChanged, this, [this](bool busy) {
        if (busy) {
            setCursor(Qt::BusyCursor);
        } else {
            unsetCursor();
        }
    });
}

QCoro::Task<> Form1::Command2_Click() {
    QPointer<Form1> self(this);
    if (Command2->text() == Stop) {
        setTag(Command2, QStringLiteral("stop"));
        Command2->setEnabled(false);
        loginkontrollitud = false;
        co_return;
    }
    // From the first click on there is one run: a click while the update answer is awaited
    // finds the gate shut, as it found the blocked window before.
    const auto action = m_actions.tryStart();
    if (!action) {
        co_return;
    }
    if (ticked(tsekiuuendusi)) {
        const bool ending = co_await updaterTookOver();
        if (!self || ending) {
            co_return;
        }
    }
    enterRunningState();
    WindowRunHost host(this);
    co_await downloadRun(*m_fetcher, m_spots, host);
    if (!self) {
        co_return;
    }
    leaveRunningState();
    loginkontrollitud = false;
    Q_EMIT runFinished();
}

// The update window is loaded without being shown, and shown only when it offers an update; the
// run waits for it to be closed. True when the user took the update: the program is ending for
// the updater, and nothing of the run may follow.
QCoro::Task<bool> Form1::updaterTookOver() {
    QPointer<UpdateWindow> window = makeUpdateWindow();
    co_await window->load();
    if (!window) {
        co_return true;
    }
    if (window->offersUpdate()) {
        window->exec();
    }
    const bool ending = window && window->updaterStarted();
    delete window;
    co_return ending;
}

void Form1::enterRunningState() {
    Command2->setIcon(QIcon(nupud->icon().pixmap(Command2->iconSize(), QIcon::Disabled)));
    Command2->setText(Stop);
    setTag(Command2, QStringLiteral("laadi"));
}

void Form1::leaveRunningState() {
    Command2->setText(m_services.texts.keeltekst(QStringLiteral("startdl")));
    Command2->setIcon(QIcon(nupud->icon().pixmap(Command2->iconSize(), QIcon::Normal)));
    ProgressBar1->setVisible(false);
    Command2->setEnabled(true);
    if (isMinimized()) {
        showNormal();
    }
}

QCoro::Task<> Form1::halo_DblClick() {
    QPointer<Form1> self(this);
    const auto action = m_actions.tryStart();
    if (!action) {
        co_return;
    }
    co_await m_fetcher->laehalo(Slider1->value() - 2, viewer::chartCodeForTab(miskaart->currentIndex()));
    if (!self) {
        co_return;
    }
    Slider1_Scroll();
    loginkontrollitud = false;
}

QCoro::Task<> Form1::Picture4_DblClick() {
    QPointer<Form1> self(this);
    const auto action = m_actions.tryStart();
    if (!action) {
        co_return;
    }
    const int p = Slider1->value();
    co_await m_fetcher->laemarevo(3 * (p / 3));
    if (!self) {
        co_return;
    }
    Slider1_Scroll();
}

// Either answer refreshes the display and the meteograms, so what was deleted leaves the screen.
// The question is a text of lang.ini, shown as it stands.
void Form1::kustuta_Click() {
    QMessageBox question(QMessageBox::Question, QStringLiteral("Brisel"),
                         m_services.texts.keeltekst(QStringLiteral("deleteconf")),
                         QMessageBox::Yes | QMessageBox::No, this);
    question.setDefaultButton(QMessageBox::No);
    question.setTextFormat(Qt::PlainText);
    if (question.exec() == QMessageBox::Yes) {
        deleteAllCharts(m_services.folder.chartFolder());
    }
    Slider1_Scroll();
    halograafikud();
}
