// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/host_config.h"
#include "platform/locale_formats.h"
#include "platform/program_folder.h"

#include <QObject>
#include <QPointer>
#include <functional>

class Downloader;
class InterfaceTexts;
class LegendWindow;
class Shell;
class UpdateWindow;
class WaveMapWindow;
class QWidget;

// The windows the main window opens beside itself: the about box and the update window modal, the
// wave-map viewer and the legend beside it, one of each at a time. Modal here means
// application-modal without a nested event loop, so the windows' own fetches run on the program's
// one loop.
class SideWindows final : public QObject {
    Q_OBJECT
public:
    struct Services {
        ProgramFolder folder;
        const InterfaceTexts& texts;
        Downloader& downloader;
        Shell& shell;
        HostConfig hosts;
        LocaleFormats formats;
        std::function<void()> endForUpdater;
    };

    SideWindows(Services services, QWidget* mainWindow);

    void showAbout();
    void showUpdateCheck();
    void showWaveMaps();
    void showLegend();
    // An update window that is loaded by its caller and shown only when it offers an update.
    UpdateWindow* makeUpdateWindow();

private:
    Services m_services;
    QWidget* m_mainWindow;
    QPointer<WaveMapWindow> m_waveMaps;
    QPointer<LegendWindow> m_legend;
};
