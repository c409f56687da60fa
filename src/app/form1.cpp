#include "app/form1.h"

#include "app/stored_choices.h"
#include "download/chart_cleanup.h"
#include "download/chart_fetcher.h"
#include "net/fetch.h"
#include "platform/clock.h"
#include "platform/control_names.h"
#include "platform/shell.h"
#include "provider/spot_list.h"
#include "provider/spot_markers.h"
#include "settings/interface_texts.h"
#include "settings/legend_window.h"
#include "settings/registry_store.h"
#include "viewer/chart_display.h"
#include "viewer/display_texts.h"
#include "viewer/picture_box.h"
#include "viewer/time_slider.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>

namespace {

const QString BriselKey = QString::fromLatin1(reg::BriselKeyPath);

constexpr int MeteogramTop = 24;

} // namespace

Form1::Form1(Form1Services services, QWidget* parent) : QMainWindow(parent), m_services(std::move(services)) {
    buildControls();
    buildMenus();
    connectViewer();
    connectProvider();
    connectDownload();
    connectSideWindows();
}

Form1::~Form1() = default;

void Form1::Form_Load() {
    pildilipp = false;
    loadSpotList();
    loginkontrollitud = false;
    const QVariant keel = readSetting(settings_table::Keel);
    m_services.texts.setLanguage(keel.isValid() ? keel.toString() : settings_table::DefaultKeel);
    setFixedGeometry();
    writeDayLabels();
    placeSliderAtNow();
    writePeriodLabel();
    Slider1_Scroll();
    ProgressBar1->setMaximum(Slider1->maximum());
    restoreCity();
    restoreToggles();
    deleteOldChartsIfTicked();
    muudakeel();
}

void Form1::loadSpotList() {
    m_spots = ::loadSpotList(m_services.folder.spotsIni());
    const QVector<::Spot>& spots = m_spots;
    spotinimed.clear();
    linn->clear();
    for (const ::Spot& spot : spots) {
        spotinimed.append(spot.name);
        linn->addItem(spot.name);
    }
    // The list starts with nothing chosen; the stored city chooses later.
    linn->setCurrentIndex(-1);
    Spot = placeSpotMarkers(halo, spots);
    for (SpotMarker* marker : Spot) {
        connect(marker, &SpotMarker::doubleClicked, this,
                [this](const QString& name) { Spot_DblClick(name); });
        connect(marker, &SpotMarker::pointedAt, this, &Form1::Spot_MouseMove);
    }
}

// The sailing maps and the meteogram panel keep sizes and offsets the pictures are drawn for.
void Form1::setFixedGeometry() {
    Picture2->resize(387, 263);
    Picture4_Resize();
    Picture1->setGeometry(Picture2->x() + viewer::SailingMapSpacing, Picture2->y() - viewer::SailingMapRise,
                          395, 269);

    const int T = MeteogramTop;
    halograaf1->setGeometry(0, T, 117, 88);
    halograaf2->setGeometry(100, T, 117, 88);
    halograaf3->setGeometry(200, T, 378, 88);
    haloskaala->setGeometry(317, T, 17, 97);
    halokell1->setGeometry(0, T + 80, 117, 9);
    halokell2->setGeometry(100, T + 80, 117, 9);
    halokell3->setGeometry(200, T + 80, 145, 9);
}

void Form1::writeDayLabels() {
    const QDate today = m_services.clock.today();
    for (int day = 0; day < TimeSlider::Days; ++day) {
        const QString text = viewer::dayLabelText(m_services.texts, today.addDays(day));
        timeSlider->dayLabel(day)->setText(text);
        if (day < hlabel.size()) {
            hlabel[day]->setText(text);
        }
    }
}

void Form1::placeSliderAtNow() {
    const int start = viewer::startSliderHour(m_services.clock.now().time());
    Slider1->setValue(start);
    Slider1->setSelStart(start);
    Slider1->setSelLength(Slider1->maximum() - Slider1->selStart());
}

void Form1::writePeriodLabel() {
    periood->setText(QString());
    periood->setText(viewer::periodText(m_services.texts, m_services.clock.today(), Slider1->selStart(),
                                        Slider1->selEnd()));
}

// A stored city the list does not hold leaves the list as it is; without a stored city Tartu is
// chosen when the list has it, and nothing otherwise.
void Form1::restoreCity() {
    const QVariant stored = readSetting(settings_table::Linn);
    const QString city = stored.isValid() ? stored.toString() : settings_table::DefaultLinn;
    const int index = linn->findText(city, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0) {
        linn->setCurrentIndex(index);
    } else if (!stored.isValid()) {
        linn->setCurrentIndex(-1);
    }
}

void Form1::restoreToggles() {
    for (const settings_table::Toggle* toggle : settings_table::RestoreOrder) {
        if (const auto state = storedBoxState(m_services.store, *toggle)) {
            toggleBox(*toggle)->setCheckState(*state);
        }
    }
    if (const auto checked = storedMenuCheck(m_services.store, settings_table::kustutavanad)) {
        kustutavanad->setChecked(*checked);
    }
}

void Form1::deleteOldChartsIfTicked() {
    if (kustutavanad->isChecked()) {
        const QDate today = m_services.clock.today();
        deleteOldCharts(m_services.folder.chartFolder(), today, viewer::chartFilesShown(today));
    }
}

void Form1::muudakeel() {
    const InterfaceTexts& texts = m_services.texts;
    const auto text = [&texts](const char* key) {
        return texts.keeltekst(QString::fromLatin1(key));
    };
    kustutavanad->setText(text("deleteold"));
    kustuta->setText(text("deletenow"));
    about->setText(text("about"));
    netilehele->setText(text("webpage"));
    updeidid->setText(text("updates"));
    valju->setText(text("exit"));
    märgiperiood->setText(text("selrange"));
    märgiperiood->setToolTip(text("selrangetooltip"));
    Command2->setText(text("startdl"));
    marevo->setText(text("mrv"));
    quellan->setText(text("quellanwind"));
    pilvisus->setText(text("quellancc"));
    temp->setText(text("quellantemp"));
    sademed->setText(text("quellanperc"));
    quellanyld->setText(text("quellancharts"));
    quellan3h->setText(text("quellan3h"));
    aintmärgitud->setText(text("onlyselected"));
    tsekiuuendusi->setText(text("chupdates"));
    Label4->setText(text("clicktip"));
    lblLinn->setText(text("city"));
    Command1->setText(text("waveinfo"));
    naitalegend->setText(text("legend"));
    writeDayLabels();
    const char* const tabTips[] = {"tooltipwnd", "tooltipcc", "tooltiptemp", "tooltipperc"};
    for (int tab = 0; tab < miskaart->count(); ++tab) {
        miskaart->setTabToolTip(tab, text(tabTips[tab]));
    }
    for (QWidget* picture :
         {static_cast<QWidget*>(halo), static_cast<QWidget*>(Picture1), static_cast<QWidget*>(Picture2),
          static_cast<QWidget*>(Picture4), static_cast<QWidget*>(halograaf1),
          static_cast<QWidget*>(halograaf2), static_cast<QWidget*>(halograaf3)}) {
        picture->setToolTip(text("tooltipcurrentmap"));
    }
    writePeriodLabel();
    const QString keel = texts.language();
    eesti->setChecked(keel == InterfaceTexts::Estonian);
    läti->setChecked(keel == InterfaceTexts::Latvian);
    english->setChecked(keel == InterfaceTexts::English);
}

void Form1::switchLanguage(const QString& keel) {
    m_services.texts.setLanguage(keel);
    muudakeel();
}

// States are written under the built-in captions, the names start-up reads them by.
void Form1::salvestaseaded() {
    for (const settings_table::Toggle* toggle : settings_table::SaveOrder) {
        writeSetting(toggle->builtInCaption, boxValue(toggleBox(*toggle)->checkState()));
    }
    writeSetting(settings_table::Linn, linn->currentText());
    writeSetting(settings_table::Keel, m_services.texts.language());
    writeSetting(settings_table::kustutavanad.builtInCaption, kustutavanad->isChecked() ? 1 : 0);
}

// Closing is never refused: the settings are saved and the program ends, whatever other window
// is open or run is going.
void Form1::closeEvent(QCloseEvent* event) {
    salvestaseaded();
    // A run still going ends now: its fetch is dropped, leaving the chart that was there.
    setTag(Command2, QStringLiteral("stop"));
    m_services.downloader.shutDown();
    event->accept();
    QCoreApplication::quit();
}

// The download progress bar lies on the bottom edge over the status bar and leaves a square of
// its own height free at the right end.
void Form1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    const int barHeight = ProgressBar1->height();
    ProgressBar1->move(ProgressBar1->x(), height() - barHeight);
    if (barHeight < width()) {
        ProgressBar1->resize(width() - barHeight, barHeight);
    }
    ProgressBar1->raise();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Picture4 && event->type() == QEvent::Resize) {
        Picture4_Resize();
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::showLegend() {
    if (!m_legend) {
        m_legend = new LegendWindow(m_services.texts, this);
    }
    m_legend->show();
    m_legend->raise();
    m_legend->activateWindow();
}

QCheckBox* Form1::toggleBox(const settings_table::Toggle& toggle) const {
    return findChild<QCheckBox*>(QString::fromUtf8(toggle.objectName));
}

bool Form1::ticked(const QCheckBox* box) {
    return box->checkState() == Qt::Checked;
}

QVariant Form1::readSetting(const QString& name) const {
    return m_services.store.ReadRegValue(reg::HKEY_CURRENT_USER, BriselKey, name);
}

void Form1::writeSetting(const QString& name, const QVariant& value) {
    m_services.store.WriteRegValue(reg::HKEY_CURRENT_USER, BriselKey, name, value);
}
