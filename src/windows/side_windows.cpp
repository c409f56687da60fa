// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/side_windows.h"

#include "platform/picture_pair.h"
#include "settings/legend_window.h"
#include "windows/about_window.h"
#include "windows/update_window.h"
#include "windows/wave_map_window.h"

namespace {

// A window opens over the middle of the main window, where the user's eyes are, rather than where
// the desktop puts new windows (a corner of the screen, when it has no window manager's say). It is
// placed once shown, when it has taken its own size.
void showCentred(QWidget* window, const QWidget* mainWindow) {
    window->show();
    QRect frame = window->frameGeometry();
    frame.moveCenter(mainWindow->frameGeometry().center());
    window->move(frame.topLeft());
}

void showModal(QDialog* window, const QWidget* mainWindow) {
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowModality(Qt::ApplicationModal);
    showCentred(window, mainWindow);
}

// A window already open comes forward rather than a second one opening.
void bringForward(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

SideWindows::SideWindows(Services services, QWidget* mainWindow)
    : QObject(mainWindow), m_services(std::move(services)), m_mainWindow(mainWindow) {}

void SideWindows::showAbout() {
    auto* window = new AboutWindow(m_services.texts, m_services.downloader, m_services.folder,
                                   m_services.hosts.home, m_mainWindow);
    showModal(window, m_mainWindow);
    window->load();
}

UpdateWindow* SideWindows::makeUpdateWindow() {
    return new UpdateWindow({m_services.folder, m_services.texts, m_services.downloader, m_services.shell,
                             m_services.hosts.home, m_services.hosts.updatePublicKey,
                             m_services.endForUpdater},
                            m_mainWindow);
}

void SideWindows::showUpdateCheck() {
    UpdateWindow* window = makeUpdateWindow();
    showModal(window, m_mainWindow);
    window->load();
}

void SideWindows::showWaveMaps() {
    if (!m_waveMaps) {
        QIcon downloadPictures = resourceIcon(QStringLiteral("download.png"));
        downloadPictures.addFile(QStringLiteral(":/data/pictures/download_disabled.png"), {},
                                 QIcon::Disabled);
        m_waveMaps =
            new WaveMapWindow({m_services.texts, m_services.downloader, m_services.folder.chartFolder(),
                               m_services.hosts.wave, downloadPictures, m_services.formats},
                              m_mainWindow);
        showCentred(m_waveMaps, m_mainWindow);
    }
    bringForward(m_waveMaps);
}

void SideWindows::showLegend() {
    if (!m_legend) {
        m_legend = new LegendWindow(m_services.texts, m_mainWindow);
        showCentred(m_legend, m_mainWindow);
    }
    bringForward(m_legend);
}
