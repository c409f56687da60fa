// The main window as a chart viewer: the display routine that turns a slider hour into pictures
// and captions, the animation, the marked period, the family tabs and the sailing-map panel.
#include "app/form1.h"
#include "net/chart_names.h"
#include "platform/clock.h"
#include "platform/control_names.h"
#include "settings/interface_texts.h"
#include "viewer/chart_display.h"
#include "viewer/chart_folder_listing.h"
#include "viewer/display_texts.h"
#include "viewer/marked_period.h"
#include "viewer/picture_box.h"
#include "viewer/time_slider.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTimer>

namespace {

constexpr int SailingPairWidth = viewer::SailingMapSpacing + 395;

// A picture and the moment its file was written, or nothing when either cannot be had.
struct LoadedPicture {
    QPixmap pixmap;
    QDateTime modified;
};
std::optional<LoadedPicture> loadPicture(const QString& path) {
    LoadedPicture picture;
    const std::optional<QPixmap> pixmap = loadChartPicture(path);
    if (!pixmap) {
        return std::nullopt;
    }
    picture.pixmap = *pixmap;
    picture.modified = QFileInfo(path).lastModified();
    if (!picture.modified.isValid()) {
        return std::nullopt;
    }
    return picture;
}

} // namespace

void Form1::connectViewer() {
    m_chartListing = new ChartFolderListing(m_services.folder.chartFolder(), this);
    connect(m_chartListing, &ChartFolderListing::changed, this, &Form1::refreshStoredHours);
    connect(Slider1, &TrackBar::scrolled, this, &Form1::Slider1_Scroll);
    connect(Slider1, &TrackBar::changed, this, &Form1::Slider1_Change);
    connect(miskaart, &QTabBar::currentChanged, this, [this] {
        refreshStoredHours();
        Slider1_Scroll();
    });
    connect(Play, &QPushButton::clicked, this, &Form1::Play_Click);
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    connect(märgiperiood, &QRadioButton::clicked, this, &Form1::märgiperiood_Click);
    connect(märgialgus, &QPushButton::clicked, this, &Form1::märgialgus_Click);
    connect(märgilõpp, &QPushButton::clicked, this, &Form1::märgilõpp_Click);
    connect(HScroll1, &QScrollBar::valueChanged, this, &Form1::HScroll1_Scroll);
}

void Form1::Slider1_Scroll() {
    const int p = Slider1->value();
    if (märgiperiood->isChecked()) {
        followThumbWhileMarking();
    }
    setWindowTitle(viewer::windowCaption(m_services.formats, m_services.clock.today(), p));
    showProviderChart(p);
    showSailingMaps(p);
    if (m_storedHoursDay != m_services.clock.today()) {
        refreshStoredHours();
    }
}

// The placeholder is copied in once per run of failures: it stays while the failures go on.
void Form1::showProviderChart(int p) {
    const QStringList candidates =
        viewer::providerCandidates(m_services.folder.chartFolder(), m_services.clock.today(), p,
                                   viewer::chartCodeForTab(miskaart->currentIndex()));
    const QString chosen =
        viewer::chooseCandidate(candidates, [](const QString& path) { return QFileInfo::exists(path); });
    if (const auto picture = loadPicture(chosen)) {
        halo->setPixmap(picture->pixmap);
        halokp->setText(viewer::downloadTimeText(m_services.texts.keeltekst(QStringLiteral("Dltime")),
                                                 m_services.formats, picture->modified));
        pildilipp = false;
        halo->setVisible(true);
        return;
    }
    if (!pildilipp) {
        halo->setPixmap(quellanbk->pixmap());
        pildilipp = true;
    }
    halokp->setText(QString());
}

void Form1::showSailingMaps(int p) {
    const viewer::SailingMaps maps = viewer::sailingMapsAt(m_services.formats, m_services.clock.today(), p);
    wokell->setText(maps.label);
    QString downloaded;
    if (const auto mainland = loadPicture(chartPath(m_services.folder.chartFolder(), maps.mainlandFile))) {
        Picture1->setPixmap(mainland->pixmap);
        downloaded = viewer::downloadTimeText(m_services.texts.keeltekst(QStringLiteral("Dltime")),
                                              m_services.formats, mainland->modified);
        Picture1->setVisible(true);
    } else {
        Picture1->setVisible(false);
    }
    if (const auto islands = loadPicture(chartPath(m_services.folder.chartFolder(), maps.islandsFile))) {
        Picture2->setPixmap(islands->pixmap);
        Picture2->setVisible(true);
    } else {
        Picture2->setVisible(false);
    }
    millal->setText(downloaded);
}

void Form1::refreshStoredHours() {
    m_storedHoursDay = m_services.clock.today();
    Slider1->setStoredHours(viewer::storedHours(m_chartListing->names(), m_storedHoursDay,
                                                viewer::chartCodeForTab(miskaart->currentIndex())));
}

// Every completed change ends the marking: the period stays as last drawn.
void Form1::Slider1_Change() {
    if (märgiperiood->isChecked()) {
        märgiperiood->setChecked(false);
    }
}

void Form1::followThumbWhileMarking() {
    const viewer::Period period = viewer::followThumb(tagOf(märgiperiood).toInt(), Slider1->value());
    setPeriod(period.start, period.length);
    writePeriodLabel();
}

void Form1::setPeriod(int start, int length) {
    Slider1->setSelStart(start);
    Slider1->setSelLength(length);
}

// An option button: a click always turns it on, a second click included. The label follows at
// once, so what it says is what a download of the marked period would fetch.
void Form1::märgiperiood_Click() {
    märgiperiood->setChecked(true);
    setPeriod(Slider1->value(), 0);
    setTag(märgiperiood, QString::number(Slider1->value()));
    writePeriodLabel();
}

void Form1::märgialgus_Click() {
    const viewer::Period period =
        viewer::moveStart({Slider1->selStart(), Slider1->selLength()}, Slider1->value());
    setPeriod(period.start, period.length);
    writePeriodLabel();
}

void Form1::märgilõpp_Click() {
    const viewer::Period period =
        viewer::moveEnd({Slider1->selStart(), Slider1->selLength()}, Slider1->value());
    setPeriod(period.start, period.length);
    writePeriodLabel();
}

void Form1::showPlayPicture(QIcon::Mode mode) {
    Play->setIcon(QIcon(nupsid->icon().pixmap(Play->iconSize(), mode)));
}

void Form1::Play_Click() {
    if (tagOf(Play) != QLatin1String("Stop")) {
        if (Slider1->value() == Slider1->maximum()) {
            Slider1->setValue(Slider1->minimum());
            Slider1_Scroll();
        }
        Timer1->start();
        setTag(Play, QStringLiteral("Stop"));
        showPlayPicture(QIcon::Disabled);
        return;
    }
    Timer1->stop();
    setTag(Play, QStringLiteral("Play"));
    showPlayPicture(QIcon::Normal);
}

void Form1::Timer1_Timer() {
    if (Slider1->value() + 1 > Slider1->maximum()) {
        Timer1->stop();
        setTag(Play, QStringLiteral("Play"));
        showPlayPicture(QIcon::Normal);
    } else {
        Slider1->setValue(Slider1->value() + 1);
    }
    Slider1_Scroll();
}

// The value of the scroll bar is where the island map's left edge stands; the mainland map keeps
// its distance to the right.
void Form1::HScroll1_Scroll() {
    Picture2->move(HScroll1->value(), Picture2->y());
    Picture1->move(Picture2->x() + viewer::SailingMapSpacing, Picture1->y());
}

// The panel grows with the window, so the scroll range follows it: the pair can always be
// scrolled from its left edge to its right one.
void Form1::Picture4_Resize() {
    HScroll1->setGeometry(0, Picture4->height() - HScroll1->height(), Picture4->width(), HScroll1->height());
    HScroll1->setRange(std::min(0, Picture4->width() - SailingPairWidth), 0);
    HScroll1->setSingleStep(10);
    HScroll1->setPageStep(std::max(10, Picture4->width() / 2));
}
