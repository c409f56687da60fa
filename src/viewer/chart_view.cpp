// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "viewer/chart_view.h"

#include "net/chart_names.h"
#include "platform/clock.h"
#include "platform/control_names.h"
#include "platform/picture_pair.h"
#include "platform/stored_files.h"
#include "settings/interface_texts.h"
#include "viewer/chart_display.h"
#include "viewer/chart_folder_listing.h"
#include "viewer/chart_run.h"
#include "viewer/display_texts.h"
#include "viewer/marked_period.h"
#include "viewer/picture_box.h"
#include "viewer/picture_zoom.h"
#include "viewer/sailing_map_panel.h"
#include "viewer/time_slider.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QStyle>
#include <QTabBar>
#include <QTimer>

namespace {

// The chart's size at the window's minimum size; a larger window lets it grow with this aspect.
constexpr QSize ChartSize(468, 510);
constexpr int TabsToChart = 2;

// The download time lies on the chart's bottom edge, where a text of any length moves nothing;
// the chart's model run right above it, as wide as its text.
QRect downloadTimePlace(const QSize& chart) {
    return {chart.width() - 262, chart.height() - 22, 260, 20};
}

QPoint chartRunBottomRight(const QSize& chart) {
    const QRect downloadTime = downloadTimePlace(chart);
    return {downloadTime.right(), downloadTime.top() - 1};
}

// The family tabs over the chart, which grows to the largest size the column's room holds with
// its aspect kept. The window's layout gives the column its height; the column asks for the width
// its chart takes at that height, and the layout gives what the right column can spare.
class ChartColumn final : public QWidget {
public:
    explicit ChartColumn(QWidget* parent) : QWidget(parent) {}

    void setParts(QTabBar* tabs, PictureBox* chart) {
        m_tabs = tabs;
        m_chart = chart;
    }
    QSize minimumSizeHint() const override { return columnSize(ChartSize); }
    QSize sizeHint() const override { return columnSize(chartSizeIn(QSize(QWIDGETSIZE_MAX, height()))); }

protected:
    void resizeEvent(QResizeEvent* event) override {
        m_tabs->setGeometry(QRect(QPoint(0, 0), m_tabs->sizeHint()));
        m_chart->setGeometry(QRect(QPoint(0, chartTop()), chartSizeIn(size())));
        if (event->oldSize().height() != height()) {
            updateGeometry();
        }
    }

private:
    int chartTop() const { return m_tabs->sizeHint().height() + TabsToChart; }
    QSize chartSizeIn(const QSize& room) const {
        return viewer::grownSize(ChartSize, QSizeF(room.width(), room.height() - chartTop()));
    }
    QSize columnSize(const QSize& chart) const {
        return {std::max(chart.width(), m_tabs->sizeHint().width()), chartTop() + chart.height()};
    }

    QTabBar* m_tabs = nullptr;
    PictureBox* m_chart = nullptr;
};
// The period controls get the room of their longest texts in every language, so a language
// switch does not change the window's minimum size.
constexpr int MarkingWidth = 150;
constexpr int MarkButtonWidth = 80;
constexpr int PeriodTitleWidth = 95;
constexpr int PeriodWidth = 215;
constexpr int AnimationStepMs = 200;
constexpr QSize ButtonIconSize(24, 24);

} // namespace

ChartView::ChartView(Services services, QWidget* window)
    : QObject(window), m_services(std::move(services)), m_window(window),
      m_listing(new ChartFolderListing(m_services.chartFolder, this)), m_runs(m_services.chartFolder) {
    m_chartColumn = buildChartColumn(window);
    m_slider = new TimeSlider(window);
    m_slider->setMinimumHeight(m_slider->sizeHint().height());
    m_track = m_slider->track();
    buildAnimation(window);
    m_periodGroup = buildPeriodGroup(window);
    m_sailing =
        new SailingMapPanel(m_services.chartFolder, m_services.texts, m_services.formats, m_pictures, window);
    connectControls();
}

QWidget* ChartView::slider() const {
    return m_slider;
}

QWidget* ChartView::playButton() const {
    return m_play;
}

PictureBox* ChartView::markerMap() const {
    return m_chart;
}

QWidget* ChartView::buildChartColumn(QWidget* window) {
    auto* column = new ChartColumn(window);
    m_families = named(new QTabBar(column), QStringLiteral("miskaart"));
    m_families->setDrawBase(false);
    m_families->setExpanding(false);
    for (const viewer::FamilyTab& tab : viewer::FamilyTabs) {
        m_families->addTab(resourceIcon(QString::fromLatin1(tab.picture)), QString::fromUtf8(tab.caption));
    }
    m_chart = named(new PictureBox(column), QStringLiteral("halo"));
    m_chart->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_chart->setZoomable(true);
    column->setParts(m_families, m_chart);
    m_chart->setFrameShape(QFrame::Box);
    m_chart->setStyleSheet(
        QStringLiteral("#halo { background: #dfe6ec; border: 1px solid #9aa7b2; }"
                       "#halokp, #halojooks { background: rgba(255, 255, 255, 200); padding: 0 4px; }"
                       "#halojooks[warning=\"true\"] { color: #b3261e; }"));
    m_chartDownloaded = named(new QLabel(m_chart), QStringLiteral("halokp"));
    m_chartDownloaded->setTextFormat(Qt::PlainText);
    m_chartDownloaded->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_chartDownloaded->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_chartRun = named(new QLabel(m_chart), QStringLiteral("halojooks"));
    m_chartRun->setTextFormat(Qt::PlainText);
    m_chartRun->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_chartRun->hide();
    m_placeholder = named(new QLabel(column), QStringLiteral("quellanbk"));
    m_placeholder->setPixmap(QPixmap(QStringLiteral(":/data/pictures/placeholder.gif")));
    m_placeholderPicture = m_placeholder->pixmap().toImage();
    m_placeholder->hide();
    named(new QLabel(column), QStringLiteral("halomillal"))->hide();
    m_chart->installEventFilter(this);
    return column;
}

void ChartView::buildAnimation(QWidget* window) {
    m_animation = named(new QTimer(this), QStringLiteral("Timer1"));
    m_animation->setInterval(AnimationStepMs);
    const QIcon play = resourceIcon(QStringLiteral("play.png"));
    m_playPictures =
        makePicturePair(QStringLiteral("nupsid"), play, resourceIcon(QStringLiteral("stop.png")), window);
    m_play = named(new QPushButton(window), QStringLiteral("Play"));
    m_play->setIcon(play);
    m_play->setIconSize(ButtonIconSize);
    m_play->setFixedSize(44, 36);
}

QWidget* ChartView::buildPeriodGroup(QWidget* window) {
    auto* group = new QWidget(window);
    auto* layout = new QGridLayout(group);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setVerticalSpacing(2);
    auto* title = named(new QLabel(QStringLiteral("Märgi perioodi:"), group), QStringLiteral("Label3"));
    m_marking =
        named(new QRadioButton(QStringLiteral("Märgi periood"), group), QStringLiteral("märgiperiood"));
    // The only option of its kind: the end of a slider movement switches it off again.
    m_marking->setAutoExclusive(false);
    m_markStart = named(new QPushButton(QStringLiteral("algus"), group), QStringLiteral("märgialgus"));
    m_markEnd = named(new QPushButton(QStringLiteral("lõpp"), group), QStringLiteral("märgilõpp"));
    m_period = named(new QLabel(group), QStringLiteral("periood"));
    m_period->setTextFormat(Qt::PlainText);
    m_marking->setFixedWidth(MarkingWidth);
    title->setFixedWidth(PeriodTitleWidth);
    for (QPushButton* button : {m_markStart, m_markEnd}) {
        button->setFixedWidth(MarkButtonWidth);
    }
    m_period->setFixedWidth(PeriodWidth);
    layout->addWidget(m_marking, 0, 0);
    layout->addWidget(m_markStart, 0, 1);
    layout->addWidget(m_markEnd, 0, 2);
    auto* periodRow = new QHBoxLayout;
    periodRow->addWidget(title);
    periodRow->addWidget(m_period);
    periodRow->addStretch(1);
    layout->addLayout(periodRow, 1, 0, 1, 3);
    return group;
}

void ChartView::connectControls() {
    m_track->setStoredHourText([this](int p) { return storedHourText(p); });
    connect(m_listing, &ChartFolderListing::changed, this, &ChartView::chartFolderChanged);
    connect(m_track, &TrackBar::scrolled, this, &ChartView::Slider1_Scroll);
    connect(m_track, &TrackBar::changed, this, &ChartView::Slider1_Change);
    connect(m_track, &QSlider::valueChanged, this, &ChartView::nameSliderHour);
    connect(m_track, &QSlider::valueChanged, this, &ChartView::hourChanged);
    connect(m_families, &QTabBar::currentChanged, this, [this] {
        refreshStoredHours();
        Slider1_Scroll();
    });
    connect(m_play, &QPushButton::clicked, this, &ChartView::Play_Click);
    connect(m_animation, &QTimer::timeout, this, &ChartView::Timer1_Timer);
    connect(m_marking, &QRadioButton::clicked, this, &ChartView::märgiperiood_Click);
    connect(m_markStart, &QPushButton::clicked, this, &ChartView::märgialgus_Click);
    connect(m_markEnd, &QPushButton::clicked, this, &ChartView::märgilõpp_Click);
    connect(m_chart, &PictureBox::doubleClicked, this,
            [this] { Q_EMIT chartDoubleClicked(hour(), chartCode()); });
    connect(m_sailing, &SailingMapPanel::doubleClicked, this,
            [this] { Q_EMIT sailingMapsDoubleClicked(hour()); });
}

void ChartView::placeSliderAtNow() {
    const int start = viewer::startSliderHour(m_services.clock.now().time());
    m_track->setValue(start);
    setPeriod({start, m_track->maximum() - start});
}

void ChartView::retranslate() {
    const InterfaceTexts& texts = m_services.texts;
    const auto text = [&texts](const char* key) {
        return texts.keeltekst(QString::fromLatin1(key));
    };
    m_marking->setText(text("selrange"));
    m_marking->setToolTip(text("selrangetooltip"));
    for (int tab = 0; tab < m_families->count(); ++tab) {
        m_families->setTabToolTip(tab, text(viewer::FamilyTabs[tab].tooltipKey));
    }
    m_chart->setToolTip(text("tooltipcurrentmap"));
    m_track->setToolTip(text("tooltipslider"));
    m_track->setStoredHoursToolTip(text("tooltipstored"));
    m_play->setToolTip(text("tooltipplay"));
    namePlay();
    nameSliderHour();
    m_sailing->retranslate(texts);
    writeDayLabels();
    writePeriodLabel();
    // The download times begin with a word of the language.
    showProviderChart(hour());
    m_sailing->showMaps(m_services.clock.today(), hour());
}

void ChartView::writeDayLabels() {
    const QDate today = m_services.clock.today();
    QStringList texts;
    for (int day = 0; day < SliderDays; ++day) {
        texts.append(viewer::dayLabelText(m_services.texts, today.addDays(day)));
        m_slider->dayLabel(day)->setText(texts.last());
    }
    Q_EMIT dayLabelsWritten(texts);
}

void ChartView::writePeriodLabel() {
    m_period->setText(viewer::periodText(m_services.texts, m_services.clock.today(), m_track->selStart(),
                                         m_track->selEnd()));
}

void ChartView::Slider1_Scroll() {
    const int p = hour();
    if (m_marking->isChecked()) {
        followThumbWhileMarking();
    }
    const QDate today = m_services.clock.today();
    m_window->setWindowTitle(viewer::windowCaption(m_services.formats, today, p));
    showProviderChart(p);
    m_sailing->showMaps(today, p);
    if (m_storedHoursDay != today) {
        refreshStoredHours();
    }
}

// The placeholder is copied in once per run of failures: it stays while the failures go on.
void ChartView::showProviderChart(int p) {
    const viewer::FamilyTab& family = viewer::FamilyTabs[std::max(0, m_families->currentIndex())];
    const QString name =
        viewer::pictureOfMomentName(m_services.texts, family.chartNameKey, m_services.clock.today(), p);
    m_chart->setAccessibleName(name);
    const QStringList candidates =
        viewer::providerCandidates(m_services.chartFolder, m_services.clock.today(), p, chartCode());
    // One look at each candidate, which the pictures then take as it is: the stamp is the chosen
    // one's, or nothing when no candidate is a regular file.
    std::optional<FileStamp> stamp;
    const QString chosen = viewer::chooseCandidate(candidates, [&stamp](const QString& path) {
        stamp = regularFileStamp(path);
        return stamp.has_value();
    });
    if (const std::optional<ChartPictures::Shown> chart = m_pictures.picture(chosen, stamp)) {
        m_chart->showPicture(chart->picture);
        m_chartDownloaded->setText(
            viewer::downloadTimeText(m_services.texts, m_services.formats, chart->modified));
        m_shownChart = chosen;
        showChartRun(chosen);
        m_pildilipp = false;
        m_chart->setVisible(true);
        Q_EMIT chartShown(chart->picture, name);
        return;
    }
    if (!m_pildilipp) {
        m_chart->showPicture(m_placeholderPicture);
        m_pildilipp = true;
    }
    m_chartDownloaded->setText(QString());
    m_shownChart.clear();
    m_chartRun->hide();
    Q_EMIT chartShown(m_placeholderPicture, name);
}

// Where the file records no address, nothing is said of its run.
void ChartView::showChartRun(const QString& chartFile) {
    const std::optional<viewer::RunAge> age = chartAge(chartFile);
    m_chartRun->setVisible(age.has_value());
    if (!age) {
        return;
    }
    m_chartRun->setText(viewer::runAgeText(m_services.texts, *age));
    if (m_chartRun->property("warning").toBool() != age->warning()) {
        m_chartRun->setProperty("warning", age->warning());
        // The style sheet reads the property only when the label is polished again.
        m_chartRun->style()->unpolish(m_chartRun);
        m_chartRun->style()->polish(m_chartRun);
    }
    m_chartRun->adjustSize();
    placeChartRun();
}

void ChartView::placeChartRun() {
    m_chartRun->move(chartRunBottomRight(m_chart->size()) -
                     QPoint(m_chartRun->width() - 1, m_chartRun->height() - 1));
}

// The times stay in the chart's bottom right corner however large it grows.
bool ChartView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_chart && event->type() == QEvent::Resize) {
        m_chartDownloaded->setGeometry(downloadTimePlace(m_chart->size()));
        placeChartRun();
    }
    return QObject::eventFilter(watched, event);
}

std::optional<viewer::RunAge> ChartView::chartAge(const QString& chartFile) {
    return m_runs.ageOf(m_listing->names(), chartFile, m_services.clock.now());
}

// The run of the chart a slider hour shows, for the pointer resting on the stored-hours rows.
QString ChartView::storedHourText(int p) {
    const QDate today = m_services.clock.today();
    const QString name = viewer::storedProviderChart(m_listing->names(), today, p, chartCode());
    if (name.isEmpty()) {
        return {};
    }
    const std::optional<viewer::RunAge> age = chartAge(chartPath(m_services.chartFolder, name));
    if (!age) {
        return {};
    }
    return viewer::momentText(m_services.texts, today, p) + QStringLiteral(": ") +
           viewer::runAgeText(m_services.texts, *age);
}

// A chart fetched or removed may make another of its day the newest: the run shown is told again.
void ChartView::chartFolderChanged() {
    m_runs.forget();
    refreshStoredHours();
    if (!m_shownChart.isEmpty()) {
        showChartRun(m_shownChart);
    }
}

void ChartView::refreshStoredHours() {
    m_storedHoursDay = m_services.clock.today();
    m_track->setStoredHours(viewer::storedHours(m_listing->names(), m_storedHoursDay, chartCode()));
}

int ChartView::hour() const {
    return m_track->value();
}

QString ChartView::chartCode() const {
    return viewer::chartCodeForTab(m_families->currentIndex());
}

// Every completed change ends the marking: the period stays as last drawn.
void ChartView::Slider1_Change() {
    if (m_marking->isChecked()) {
        m_marking->setChecked(false);
    }
}

void ChartView::followThumbWhileMarking() {
    setPeriod(viewer::followThumb(m_markAnchor, hour()));
    writePeriodLabel();
}

Period ChartView::markedPeriod() const {
    return {m_track->selStart(), m_track->selLength()};
}

void ChartView::setPeriod(Period period) {
    m_track->setSelStart(period.start);
    m_track->setSelLength(period.length);
}

void ChartView::setMarkedPeriod(Period period) {
    setPeriod(period);
    writePeriodLabel();
}

// An option button: a click always turns it on, a second click included. The label follows at
// once, so what it says is what a download of the marked period would fetch.
void ChartView::märgiperiood_Click() {
    m_marking->setChecked(true);
    m_markAnchor = hour();
    setMarkedPeriod({hour(), 0});
}

void ChartView::märgialgus_Click() {
    setMarkedPeriod(viewer::moveStart(markedPeriod(), hour()));
}

void ChartView::märgilõpp_Click() {
    setMarkedPeriod(viewer::moveEnd(markedPeriod(), hour()));
}

void ChartView::showFetchedHour(int fetchedHour) {
    m_track->setValue(fetchedHour);
    Slider1_Scroll();
}

void ChartView::setAnimationRunning(bool running) {
    m_play->setIcon(pictureOf(m_playPictures, m_play->iconSize(), running ? QIcon::Disabled : QIcon::Normal));
    if (running) {
        m_animation->start();
    } else {
        m_animation->stop();
    }
    namePlay();
}

// Play shows only a picture; assistive tools are told what a press would do.
void ChartView::namePlay() {
    m_play->setAccessibleName(m_services.texts.keeltekst(
        m_animation->isActive() ? QStringLiteral("accstop") : QStringLiteral("accplay")));
}

// Assistive tools read a slider's value as a bare number: its name says the hour.
void ChartView::nameSliderHour() {
    m_track->setAccessibleName(m_services.texts.keeltekst(
        QStringLiteral("acchour"), {viewer::momentText(m_services.texts, m_services.clock.today(), hour())}));
}

void ChartView::Play_Click() {
    if (m_animation->isActive()) {
        setAnimationRunning(false);
        return;
    }
    if (hour() == m_track->maximum()) {
        m_track->setValue(m_track->minimum());
        Slider1_Scroll();
    }
    setAnimationRunning(true);
}

void ChartView::Timer1_Timer() {
    if (hour() + 1 > m_track->maximum()) {
        setAnimationRunning(false);
    } else {
        m_track->setValue(hour() + 1);
    }
    Slider1_Scroll();
}
