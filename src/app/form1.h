#pragma once

#include "platform/action_gate.h"
#include "platform/host_config.h"
#include "platform/locale_formats.h"
#include "platform/program_folder.h"
#include "provider/spot_list.h"
#include "settings/settings_table.h"

#include <QCoreApplication>
#include <QDate>
#include <QIcon>
#include <QMainWindow>
#include <QPointer>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>
#include <qcoro/qcorotask.h>

class ChartFetcher;
class ChartFolderListing;
class UpdateWindow;
class Clock;
class Downloader;
class InterfaceTexts;
class LegendWindow;
class LoginWindow;
class PictureBox;
class SpotMarker;
class Shell;
class TimeSlider;
class TrackBar;
namespace reg {
class Store;
}
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QStatusBar;
class QTabBar;
class QTimer;

// What the main window is given rather than finds for itself, so tests can put it on any day,
// in any program folder and over any settings back end.
struct Form1Services {
    ProgramFolder folder;
    reg::Store& store;
    InterfaceTexts& texts;
    const Clock& clock;
    HostConfig hosts;
    Shell& shell;
    Downloader& downloader;
    LocaleFormats formats;
    // Ends the program at once, without saving the settings, when the updater has been started
    // to replace it.
    std::function<void()> endForUpdater = [] {
        QCoreApplication::exit(0);
    };
};

// The main window: its controls keep their given names as objectNames, so every one of them is
// found with findChild.
class Form1 final : public QMainWindow {
    Q_OBJECT
public:
    explicit Form1(Form1Services services, QWidget* parent = nullptr);
    ~Form1() override;

    void Form_Load();
    void muudakeel();
    void salvestaseaded();

    // The viewer (src/viewer/form1_viewer.cpp).
    void Slider1_Scroll();
    void Slider1_Change();
    void Play_Click();
    void Timer1_Timer();
    void märgiperiood_Click();
    void märgialgus_Click();
    void märgilõpp_Click();
    void HScroll1_Scroll();

    // The provider (src/provider/form1_provider.cpp).
    QCoro::Task<bool> CheckQuellanlogin();
    QCoro::Task<> LoeQuellanSpot(QString SpotName);
    QCoro::Task<> loequellanyld();
    QCoro::Task<> halograafikud();

    // Window-level state shared by the window's routines; the run choice of the provider charts
    // is kept by the chart fetcher.
    bool loginolek = false;
    bool loginkontrollitud = false;
    bool pildilipp = false;
    // The spots' names in file order; the spots themselves, positions included, are m_spots.
    QStringList spotinimed;

Q_SIGNALS:
    // A download run has ended, completed or stopped, and the window is idle again.
    void runFinished();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Built in form1_layout.cpp.
    void buildControls();
    void buildMenus();
    QWidget* buildChartColumn();
    QWidget* buildSideColumn();
    QWidget* buildMeteogramPanel();
    QWidget* buildSailingPanel();
    QWidget* buildControlRow();
    QWidget* buildPeriodGroup();
    QCheckBox* makeToggleBox(const settings_table::Toggle& toggle);

    // Start-up steps.
    void loadSpotList();
    void setFixedGeometry();
    void writeDayLabels();
    void placeSliderAtNow();
    void writePeriodLabel();
    void restoreCity();
    void restoreToggles();
    void deleteOldChartsIfTicked();

    // The side windows: about box, update check, wave maps (form1_side_windows.cpp).
    void connectSideWindows();

    void connectViewer();
    void connectProvider();
    QCoro::Task<> Spot_DblClick(QString spotName);
    void Spot_MouseMove(const QString& spotName);
    QCoro::Task<> halograaf_DblClick();
    bool selectCity(const QString& name);
    void connectDownload();
    QCoro::Task<> Command2_Click();
    QCoro::Task<bool> updaterTookOver();
    void enterRunningState();
    void leaveRunningState();
    QCoro::Task<> halo_DblClick();
    QCoro::Task<> Picture4_DblClick();
    void kustuta_Click();
    UpdateWindow* makeUpdateWindow();
    friend class WindowRunHost;
    void showProviderChart(int p);
    void showSailingMaps(int p);
    void followThumbWhileMarking();
    void setPeriod(int start, int length);
    void showPlayPicture(QIcon::Mode mode);
    void refreshStoredHours();

    void switchLanguage(const QString& keel);
    void Picture4_Resize();
    void showLegend();
    QCheckBox* toggleBox(const settings_table::Toggle& toggle) const;
    // A grey box is not ticked.
    static bool ticked(const QCheckBox* box);
    QVariant readSetting(const QString& name) const;
    void writeSetting(const QString& name, const QVariant& value);

    Form1Services m_services;
    ActionGate m_actions;
    QPointer<LegendWindow> m_legend;
    LoginWindow* m_login = nullptr;
    std::unique_ptr<ChartFetcher> m_fetcher;
    QVector<::Spot> m_spots;
    ChartFolderListing* m_chartListing = nullptr;
    QDate m_storedHoursDay;

public:
    // The controls, under the names every routine of the program uses.
    QRadioButton* märgiperiood = nullptr;
    QPushButton* märgialgus = nullptr;
    QPushButton* märgilõpp = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* naitalegend = nullptr;
    QCheckBox* tsekiuuendusi = nullptr;
    QCheckBox* sademed = nullptr;
    QCheckBox* temp = nullptr;
    QCheckBox* pilvisus = nullptr;
    QCheckBox* quellan = nullptr;
    QCheckBox* quellanyld = nullptr;
    QCheckBox* marevo = nullptr;
    QCheckBox* aintmärgitud = nullptr;
    QCheckBox* quellan3h = nullptr;
    QComboBox* linn = nullptr;
    QLabel* lblLinn = nullptr;
    QProgressBar* prgQuellan = nullptr;
    QWidget* Picture10 = nullptr;
    PictureBox* halo = nullptr;
    PictureBox* halograaf1 = nullptr;
    PictureBox* halograaf2 = nullptr;
    PictureBox* halograaf3 = nullptr;
    QLabel* halokell1 = nullptr;
    QLabel* halokell2 = nullptr;
    QLabel* halokell3 = nullptr;
    QLabel* haloskaala = nullptr;
    QVector<QLabel*> hlabel;
    QLabel* halokp = nullptr;
    QLabel* halomillal = nullptr;
    QVector<SpotMarker*> Spot;
    QTabBar* miskaart = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    PictureBox* Picture4 = nullptr;
    PictureBox* Picture1 = nullptr;
    PictureBox* Picture2 = nullptr;
    QScrollBar* HScroll1 = nullptr;
    QLabel* millal = nullptr;
    QLabel* wokell = nullptr;
    QPushButton* nupud = nullptr;
    QPushButton* nupsid = nullptr;
    QTimer* Timer1 = nullptr;
    QPushButton* Play = nullptr;
    QPushButton* Command2 = nullptr;
    TimeSlider* timeSlider = nullptr;
    TrackBar* Slider1 = nullptr;
    QLabel* quellanbk = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* periood = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label1 = nullptr;
    QObject* ImageList1 = nullptr;

    QMenu* programMenu = nullptr;
    QAction* kustutavanad = nullptr;
    QAction* kustuta = nullptr;
    QAction* about = nullptr;
    QAction* netilehele = nullptr;
    QAction* updeidid = nullptr;
    QAction* valju = nullptr;
    QMenu* mnukeel = nullptr;
    QAction* eesti = nullptr;
    QAction* läti = nullptr;
    QAction* english = nullptr;
};
