// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pack/pack_dialog.h"

#include "platform/modal_dialog.h"
#include "settings/interface_texts.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QPointer>
#include <QStandardPaths>
#include <QStatusBar>

namespace pack {

namespace {

QCoro::Task<QString> chooseFolder(QWidget* window, const InterfaceTexts& texts) {
    QPointer<QFileDialog> dialog =
        new QFileDialog(window, withoutMnemonic(texts.keeltekst(QStringLiteral("exportpack"))),
                        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    const std::optional<int> answer = co_await showModally(dialog);
    const QString folder =
        dialog && answer == QDialog::Accepted ? dialog->selectedFiles().value(0) : QString();
    delete dialog;
    co_return folder;
}

} // namespace

QCoro::Task<> exportPackFromMenu(QWidget* window, QStatusBar* statusBar, PackRequest request) {
    QPointer<QStatusBar> bar(statusBar);
    const InterfaceTexts& texts = request.texts;
    const QString folder = co_await chooseFolder(window, texts);
    if (folder.isEmpty() || !bar) {
        co_return;
    }
    // Over whatever pointer the window has, a download's busy one among them, and back to it.
    QApplication::setOverrideCursor(Qt::BusyCursor);
    const PackResult result = exportPack(request, folder);
    QApplication::restoreOverrideCursor();
    bar->showMessage(result.written ? texts.keeltekst(QStringLiteral("packwritten")) + QLatin1Char(' ') +
                                          QDir::toNativeSeparators(folder)
                                    : texts.keeltekst(QStringLiteral("packfailed")) + QLatin1Char(' ') +
                                          result.failedPath + QStringLiteral(": ") + result.problem);
}

} // namespace pack
