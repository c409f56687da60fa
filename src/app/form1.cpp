// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/form1.h"

#include "download/chart_cleanup.h"
#include "download/connect_download.h"
#include "download/download_controller.h"
#include "download/run_choice_boxes.h"
#include "download/run_status_line.h"
#include "net/fetch.h"
#include "pack/pack_dialog.h"
#include "platform/clock.h"
#include "platform/shell.h"
#include "provider/login_window.h"
#include "provider/provider_session.h"
#include "provider/spot_markers.h"
#include "settings/interface_texts.h"
#include "settings/stored_settings.h"
#include "viewer/chart_display.h"
#include "viewer/chart_view.h"
#include "viewer/display_texts.h"
#include "viewer/full_screen_chart.h"
#include "viewer/meteogram_panel.h"
#include "viewer/picture_box.h"
#include "viewer/sailing_map_panel.h"
#include "windows/side_windows.h"
#include "windows/update_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>

namespace {

// The program menu's items: name, built-in caption, and the lang.ini key of the caption.
struct MenuItem {
    const char* name;
    const char* caption;
    const char* key;
};
const MenuItem ProgramMenu[] = {
    {"täisekraan", "Kaart täisekraanil", "fullscreen"},
    {"sepa4", nullptr, nullptr},
    {"pakk", "Salvesta kaardid kaasavõtmiseks..", "exportpack"},
    {"kustuta", "Kustuta kõik allalaetud kaardid..", "deletenow"},
    {"sepa2", nullptr, nullptr},
    {"about", "Teave programmi kohta..", "about"},
    {"netilehele", "Brisel kodulehekülg...", "webpage"},
    {"sepa", nullptr, nullptr},
    {"updeidid", "Kontrolli programmiuuendusi..", "updates"},
    {"sepa1", nullptr, nullptr},
    {"valju", "Välju", "exit"},
};
struct Language {
    const char* name;
    const char* caption;
    QString keel;
};
const Language Languages[] = {{"eesti", "&Estonian", InterfaceTexts::Estonian},
                              {"läti", "&Latvian", InterfaceTexts::Latvian},
                              {"english", "E&nglish", InterfaceTexts::English}};
// The side windows' buttons: name, built-in caption, lang.ini key.
const MenuItem SideButtons[] = {{"Command1", "Laineinfo", "waveinfo"},
                                {"naitalegend", "Näita legendi", "legend"}};
// Room for their longest caption in every language.
constexpr int SideButtonWidth = 130;
// The order Tab takes, the window's reading order: the chart's column, the right column top to
// bottom (the island map left of the mainland map), the slider, then the bottom row left to right.
const char* const TabOrder[] = {
    "miskaart",      "halo",         "halograaf1",   "halograaf2", "halograaf3", "linn",        "Picture2",
    "Picture1",      "HScroll1",     "quellan",      "temp",       "quellanyld", "pilvisus",    "sademed",
    "marevo",        "Slider1",      "Command2",     "Play",       "Command1",   "naitalegend", "quellan3h",
    "tsekiuuendusi", "aintmärgitud", "märgiperiood", "märgialgus", "märgilõpp"};

template<typename T> T* child(const QObject* parent, const char* name) {
    return parent->findChild<T*>(QString::fromUtf8(name));
}

} // namespace

Form1::Form1(Form1Services services, QWidget* parent) : QMainWindow(parent), m_services(std::move(services)) {
    setWindowTitle(QStringLiteral("www.quellan.example"));
    buildParts();
    placeControls();
    buildMenus();
    connectParts();
}

Form1::~Form1() = default;

void Form1::buildParts() {
    const Form1Services& s = m_services;
    const QString chartFolder = s.folder.chartFolder();
    const LoginRequest login{s.hosts.provider, chartFolder, s.hosts.loginMarker};
    m_loginPrompt = std::make_unique<LoginWindowPrompt>(s.downloader, login, s.store, s.shell, s.texts, this);
    m_session = new ProviderSession(s.downloader, login, *m_loginPrompt, this);
    m_chartView = new ChartView({chartFolder, s.texts, s.clock, s.formats}, this);
    m_meteograms = new MeteogramPanel(chartFolder, s.texts, s.clock, this);
    const auto momentOf = [&texts = s.texts, &clock = s.clock](int hour) {
        return viewer::momentText(texts, clock.today(), hour);
    };
    m_downloads = new DownloadController(
        {s.downloader, s.hosts, chartFolder, s.clock, s.formats, *m_session, s.texts, momentOf}, this);
    m_downloads->setMarkedPeriodSource([this] { return m_chartView->markedPeriod(); });
    m_connectDownload = new ConnectDownload(*m_downloads, s.clock, this);
    m_sideWindows = new SideWindows(
        {s.folder, s.texts, s.downloader, s.shell, s.hosts, s.formats, s.endForUpdater}, this);
    m_downloads->setUpdateOffer([this] { return updaterTookOver(m_sideWindows->makeUpdateWindow()); });
    // The pictures live in the resources; the name stays for whoever looks for it.
    (new QObject(this))->setObjectName(QStringLiteral("ImageList1"));
}

// Every control has a place that no text can change: the window's minimum size is the same in
// each language and fits a 1366x768 screen, and a caption that changes moves nothing. The chart
// keeps its column on the left; the meteograms, the sailing maps and what a run fetches share the
// right one; under both the slider, and under it the buttons, how a run goes and the period.
void Form1::placeControls() {
    auto* central = new QWidget(this);
    auto* grid = new QGridLayout(central);
    // The status bar below keeps the last row off the window's edge.
    grid->setContentsMargins(8, 4, 8, 0);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(4);
    grid->addWidget(m_chartView->chartColumn(), 0, 0);
    auto* side = new QVBoxLayout;
    side->setSpacing(4);
    m_meteograms->addBelowCity(m_downloads->choiceBoxes()->hint());
    side->addWidget(m_meteograms);
    side->addWidget(m_chartView->sailingPanel(), 1);
    side->addWidget(m_downloads->choiceBoxes());
    grid->addLayout(side, 0, 1);
    grid->addWidget(m_chartView->slider(), 1, 0, 1, 2);

    auto* controls = new QHBoxLayout;
    controls->setSpacing(10);
    controls->addWidget(m_downloads->button(), 0, Qt::AlignTop);
    controls->addWidget(m_chartView->playButton(), 0, Qt::AlignTop);
    auto* sideButtons = new QVBoxLayout;
    sideButtons->setSpacing(2);
    for (const MenuItem& item : SideButtons) {
        auto* button = new QPushButton(QString::fromUtf8(item.caption), central);
        button->setObjectName(QString::fromUtf8(item.name));
        button->setFixedWidth(SideButtonWidth);
        sideButtons->addWidget(button);
    }
    controls->addLayout(sideButtons);
    controls->addWidget(m_downloads->choiceBoxes()->runOptions(), 0, Qt::AlignTop);
    controls->addStretch(1);
    controls->addWidget(m_chartView->periodGroup(), 0, Qt::AlignTop);
    grid->addLayout(controls, 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(0, 1);
    // The right column is as tall as the chart's at the window's minimum size; the sailing maps'
    // panel takes what it has over its own minimum, so the maps start to grow only with the window.
    const int spareHeight =
        m_chartView->chartColumn()->minimumSizeHint().height() - side->minimumSize().height();
    m_chartView->sailingPanel()->setMinimumPanelSize(QSize(
        side->minimumSize().width(), m_chartView->sailingPanel()->minimumSizeHint().height() + spareHeight));
    setCentralWidget(central);
    setReadingTabOrder();

    // The run's line fills the status bar above the progress bar that lies along its bottom.
    auto* statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("StatusBar1"));
    statusBar->setSizeGripEnabled(false);
    m_downloads->statusLine()->fill(statusBar);
    setStatusBar(statusBar);
}

// Each part adds its controls in the order it builds them, which is not the order they are drawn in.
void Form1::setReadingTabOrder() {
    QWidget* previous = nullptr;
    for (const char* name : TabOrder) {
        QWidget* next = child<QWidget>(this, name);
        if (previous) {
            setTabOrder(previous, next);
        }
        previous = next;
    }
}

void Form1::buildMenus() {
    m_programMenu = menuBar()->addMenu(QStringLiteral("&Brisel"));
    m_deleteOld = m_programMenu->addAction(settings_table::kustutavanad.builtInCaption);
    m_deleteOld->setObjectName(QString::fromUtf8(settings_table::kustutavanad.objectName));
    m_deleteOld->setCheckable(true);
    m_deleteOld->setChecked(settings_table::kustutavanad.builtInChecked);
    m_programMenu->addActions(m_connectDownload->actions());
    // The settings above, the commands below.
    m_programMenu->addSeparator()->setObjectName(QStringLiteral("sepa3"));
    m_programMenu->setToolTipsVisible(true);
    for (const MenuItem& item : ProgramMenu) {
        QAction* action = item.caption ? m_programMenu->addAction(QString::fromUtf8(item.caption))
                                       : m_programMenu->addSeparator();
        action->setObjectName(QString::fromUtf8(item.name));
    }
    child<QAction>(this, "valju")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    child<QAction>(this, "täisekraan")->setShortcut(QKeySequence(Qt::Key_F11));
    m_languageMenu = menuBar()->addMenu(QStringLiteral("&Language"));
    m_languageMenu->setObjectName(QStringLiteral("mnukeel"));
    for (const Language& language : Languages) {
        QAction* action = m_languageMenu->addAction(QString::fromUtf8(language.caption));
        action->setObjectName(QString::fromUtf8(language.name));
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, keel = language.keel] { switchLanguage(keel); });
    }
}

void Form1::connectParts() {
    ChartView* view = m_chartView;
    MeteogramPanel* meteograms = m_meteograms;
    DownloadController* downloads = m_downloads;
    connect(view, &ChartView::dayLabelsWritten, meteograms, &MeteogramPanel::setDayLabels);
    connect(view, &ChartView::chartDoubleClicked, downloads, &DownloadController::halo_DblClick);
    connect(view, &ChartView::sailingMapsDoubleClicked, downloads, &DownloadController::Picture4_DblClick);
    connect(view, &ChartView::hourChanged, meteograms, &MeteogramPanel::followSliderHour);
    connect(meteograms, &MeteogramPanel::doubleClicked, downloads, &DownloadController::halograaf_DblClick);
    connect(downloads, &DownloadController::chartsChanged, view, &ChartView::Slider1_Scroll);
    connect(downloads, &DownloadController::hourFetched, view, &ChartView::showFetchedHour);
    connect(downloads, &DownloadController::markedPeriodMoved, view, &ChartView::setMarkedPeriod);
    connect(downloads, &DownloadController::meteogramsChanged, meteograms, &MeteogramPanel::halograafikud);
    connect(downloads, &DownloadController::spotsStarted, meteograms, &MeteogramPanel::spotsStarted);
    connect(downloads, &DownloadController::spotFetched, meteograms, &MeteogramPanel::spotFetched);
    connect(downloads, &DownloadController::spotsEnded, meteograms, &MeteogramPanel::spotsEnded);
    connect(downloads, &DownloadController::spotForecastFetched, meteograms,
            &MeteogramPanel::showFetchedSpot);
    QAction* deleteAll = child<QAction>(this, "kustuta");
    connect(deleteAll, &QAction::triggered, downloads, &DownloadController::kustuta_Click);
    // Charts deleted under a run would be counted as unchanged, and its meteograms left empty.
    connect(downloads, &DownloadController::busyChanged, deleteAll, &QAction::setDisabled);
    connect(child<QAction>(this, "pakk"), &QAction::triggered, this, [this] {
        const Form1Services& s = m_services;
        pack::exportPackFromMenu(this, statusBar(),
                                 {s.folder.chartFolder(), m_meteograms->spots(), m_meteograms->city(),
                                  s.texts, s.formats, s.clock.now()});
    });
    connect(child<QAction>(this, "netilehele"), &QAction::triggered, this,
            [this] { m_services.shell.openUrl(m_services.hosts.home); });
    connect(child<QAction>(this, "valju"), &QAction::triggered, this, &QWidget::close);
    connect(child<QAction>(this, "täisekraan"), &QAction::triggered, this, &Form1::showFullScreenChart);
    SideWindows* side = m_sideWindows;
    connect(child<QAction>(this, "about"), &QAction::triggered, side, &SideWindows::showAbout);
    connect(child<QAction>(this, "updeidid"), &QAction::triggered, side, &SideWindows::showUpdateCheck);
    connect(child<QPushButton>(this, "Command1"), &QPushButton::clicked, side, &SideWindows::showWaveMaps);
    connect(child<QPushButton>(this, "naitalegend"), &QPushButton::clicked, side, &SideWindows::showLegend);
}

void Form1::Form_Load() {
    loadSpotList();
    const StoredSettings settings(m_services.store);
    m_services.texts.setLanguage(settings.language(m_services.systemLocale));
    m_chartView->placeSliderAtNow();
    m_chartView->Slider1_Scroll();
    restoreSettings();
    if (m_deleteOld->isChecked()) {
        const QDate today = m_services.clock.today();
        deleteOldCharts(m_services.folder.chartFolder(), today, viewer::chartFilesShown(today));
    }
    muudakeel();
}

void Form1::loadSpotList() {
    const QVector<Spot> spots = ::loadSpotList(m_services.folder.spotsIni());
    QStringList names;
    for (const Spot& spot : spots) {
        names.append(spot.name);
    }
    m_meteograms->setSpots(names);
    m_downloads->setSpots(spots);
    PictureBox* chart = m_chartView->markerMap();
    const QVector<SpotMarker*> markers = makeSpotMarkers(chart, spots);
    for (SpotMarker* marker : markers) {
        connect(marker, &SpotMarker::doubleClicked, m_downloads, &DownloadController::Spot_DblClick);
        connect(marker, &SpotMarker::pointedAt, m_meteograms, &MeteogramPanel::pointAt);
    }
    placeSpotMarkers(markers, spots, chart->pictureRect());
    connect(chart, &PictureBox::pictureMoved, this,
            [markers, spots](const QRectF& chartRect) { placeSpotMarkers(markers, spots, chartRect); });
}

void Form1::restoreSettings() {
    const StoredSettings settings(m_services.store);
    m_meteograms->restoreCity(settings.stored(settings_table::Linn), settings_table::Linn.fallback);
    m_downloads->choiceBoxes()->restore(settings);
    if (const std::optional<bool> checked = settings.menuCheck(settings_table::kustutavanad)) {
        m_deleteOld->setChecked(*checked);
    }
    m_connectDownload->restore(settings);
}

void Form1::muudakeel() {
    const InterfaceTexts& texts = m_services.texts;
    const auto text = [&texts](const char* key) {
        return texts.keeltekst(QString::fromLatin1(key));
    };
    m_deleteOld->setText(text("deleteold"));
    menuBar()->setAccessibleName(text("accmenubar"));
    statusBar()->setAccessibleName(text("accstatusbar"));
    for (const MenuItem& item : ProgramMenu) {
        if (item.key) {
            child<QAction>(this, item.name)->setText(text(item.key));
        }
    }
    for (const MenuItem& button : SideButtons) {
        child<QPushButton>(this, button.name)->setText(text(button.key));
    }
    m_chartView->retranslate();
    m_meteograms->retranslate(texts);
    m_downloads->retranslate();
    m_connectDownload->retranslate(texts);
    for (const Language& language : Languages) {
        child<QAction>(this, language.name)->setChecked(texts.language() == language.keel);
    }
}

void Form1::switchLanguage(const QString& keel) {
    m_services.texts.setLanguage(keel);
    muudakeel();
}

// One full-screen view at a time: asked again, the open one comes forward.
void Form1::showFullScreenChart() {
    if (!m_fullScreenChart) {
        m_fullScreenChart = new FullScreenChart(*m_chartView, m_services.texts, this);
    }
    m_fullScreenChart->open();
}

void Form1::salvestaseaded() {
    StoredSettings settings(m_services.store);
    m_downloads->choiceBoxes()->save(settings);
    settings.write(settings_table::Linn, m_meteograms->city());
    settings.write(settings_table::Keel, m_services.texts.language());
    settings.writeMenuCheck(settings_table::kustutavanad, m_deleteOld->isChecked());
    m_connectDownload->save(settings);
}

// Closing is never refused: the settings are saved and the program ends, whatever other window
// is open or run is going. A run still going ends now: its fetch is dropped.
void Form1::closeEvent(QCloseEvent* event) {
    salvestaseaded();
    // The windows that follow the slider and the city go with the window that holds them.
    if (m_fullScreenChart) {
        m_fullScreenChart->close();
    }
    m_meteograms->closeMeteogramWindow();
    m_downloads->stop();
    m_services.downloader.shutDown();
    event->accept();
    QCoreApplication::quit();
}

void Form1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    m_downloads->placeProgressBar(size());
}
