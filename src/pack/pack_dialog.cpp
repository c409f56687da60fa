#include "pack/pack_dialog.h"

#include "settings/interface_texts.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>
#include <QStatusBar>

namespace pack {

void exportPackFromMenu(QWidget* window, QStatusBar* statusBar, const PackRequest& request) {
    const InterfaceTexts& texts = request.texts;
    const QString folder = QFileDialog::getExistingDirectory(
        window, withoutMnemonic(texts.keeltekst(QStringLiteral("exportpack"))),
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (folder.isEmpty()) {
        return;
    }
    // Over whatever pointer the window has, a download's busy one among them, and back to it.
    QApplication::setOverrideCursor(Qt::BusyCursor);
    const PackResult result = exportPack(request, folder);
    QApplication::restoreOverrideCursor();
    statusBar->showMessage(result.written ? texts.keeltekst(QStringLiteral("packwritten")) +
                                                QLatin1Char(' ') + QDir::toNativeSeparators(folder)
                                          : texts.keeltekst(QStringLiteral("packfailed")) + QLatin1Char(' ') +
                                                result.failedPath);
}

} // namespace pack
