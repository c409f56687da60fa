// How the main window opens its side windows: the about box and the update window modal, the
// wave-map viewer beside it. Modal here means application-modal without a nested event loop, so
// the windows' own fetches run on the program's one loop.
#include "app/form1.h"
#include "settings/interface_texts.h"
#include "windows/about_window.h"
#include "windows/update_window.h"
#include "windows/wave_map_window.h"

#include <QAction>
#include <QPushButton>

namespace {

void showModal(QDialog* window) {
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
}

} // namespace

UpdateWindow* Form1::makeUpdateWindow() {
    return new UpdateWindow({m_services.folder, m_services.texts, m_services.downloader, m_services.shell,
                             m_services.hosts.home, m_services.hosts.updatePublicKey,
                             m_services.endForUpdater},
                            this);
}

void Form1::connectSideWindows() {
    connect(findChild<QAction*>(QStringLiteral("about")), &QAction::triggered, this, [this] {
        auto* window = new AboutWindow(m_services.texts, m_services.downloader, m_services.folder,
                                       m_services.hosts.home, this);
        showModal(window);
        window->load();
    });
    connect(findChild<QAction*>(QStringLiteral("updeidid")), &QAction::triggered, this, [this] {
        UpdateWindow* window = makeUpdateWindow();
        showModal(window);
        window->load();
    });
    // One viewer at a time: the button brings the open one forward.
    const QIcon download = findChild<QPushButton*>(QStringLiteral("nupud"))->icon();
    connect(findChild<QPushButton*>(QStringLiteral("Command1")), &QPushButton::clicked, this,
            [this, download, viewer = QPointer<WaveMapWindow>()]() mutable {
                if (!viewer) {
                    viewer = new WaveMapWindow({m_services.texts, m_services.downloader,
                                                m_services.folder.chartFolder(), m_services.hosts.wave,
                                                download, m_services.formats},
                                               this);
                }
                viewer->show();
                viewer->raise();
                viewer->activateWindow();
            });
}
