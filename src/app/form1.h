// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/host_config.h"
#include "platform/locale_formats.h"
#include "platform/program_folder.h"
#include "settings/interface_texts.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

class ChartView;
class Clock;
class ConnectDownload;
class DownloadController;
class Downloader;
class FullScreenChart;
class LoginWindowPrompt;
class MeteogramPanel;
class ProviderSession;
class Shell;
class SideWindows;
namespace reg {
class Store;
}
class QAction;
class QMenu;

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
    // Chooses the interface language of a first start.
    QLocale systemLocale = systemInterfaceLocale();
};

// The main window: it composes the chart view, the meteogram panel, the download controller and
// the provider session, places their controls, and keeps the menus, the settings of the window
// and the side windows. Every control keeps its given name as its objectName.
class Form1 final : public QMainWindow {
    Q_OBJECT
public:
    explicit Form1(Form1Services services, QWidget* parent = nullptr);
    ~Form1() override;

    void Form_Load();
    void muudakeel();
    void salvestaseaded();

    ChartView& chartView() const { return *m_chartView; }
    MeteogramPanel& meteograms() const { return *m_meteograms; }
    DownloadController& downloads() const { return *m_downloads; }
    ConnectDownload& connectDownload() const { return *m_connectDownload; }
    ProviderSession& providerSession() const { return *m_session; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildParts();
    void placeControls();
    void setReadingTabOrder();
    void buildMenus();
    void connectParts();
    void loadSpotList();
    void restoreSettings();
    void switchLanguage(const QString& keel);
    void showFullScreenChart();

    Form1Services m_services;
    std::unique_ptr<LoginWindowPrompt> m_loginPrompt;
    ProviderSession* m_session = nullptr;
    ChartView* m_chartView = nullptr;
    MeteogramPanel* m_meteograms = nullptr;
    DownloadController* m_downloads = nullptr;
    ConnectDownload* m_connectDownload = nullptr;
    SideWindows* m_sideWindows = nullptr;
    QPointer<FullScreenChart> m_fullScreenChart;

    QMenu* m_programMenu = nullptr;
    QAction* m_deleteOld = nullptr;
    QMenu* m_languageMenu = nullptr;
};
