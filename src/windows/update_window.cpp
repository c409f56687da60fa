// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/update_window.h"

#include "net/fetch.h"
#include "platform/control_names.h"
#include "platform/modal_dialog.h"
#include "platform/shell.h"
#include "settings/interface_texts.h"
#include "windows/answer_file.h"
#include "windows/home_site.h"
#include "windows/program_version.h"
#include "windows/update_answer.h"
#include "windows/updater.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString UpdateFailedText = QStringLiteral("Ei õnnestunud uuendust laadida");

// The hourglass over the whole screen while the updater is on its way.
class WaitCursor final {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

UpdateWindow::UpdateWindow(UpdateWindowServices services, QWidget* parent)
    : QDialog(parent), Label1(named(new QLabel(this), QStringLiteral("Label1"))),
      Text1(
          named(new QPlainTextEdit(QStringLiteral("Ei õnnestunud laadida programmi uuenduste infot."), this),
                QStringLiteral("Text1"))),
      Command1(named(new QPushButton(this), QStringLiteral("Command1"))),
      Command2(named(new QPushButton(this), QStringLiteral("Command2"))), m_services(std::move(services)) {
    setObjectName(QStringLiteral("update"));
    const InterfaceTexts& texts = m_services.texts;
    setWindowTitle(withoutMnemonic(texts.keeltekst(QStringLiteral("updates"))));
    // A text of lang.ini, shown as it stands even when it begins with a tag.
    Label1->setTextFormat(Qt::PlainText);
    Label1->setText(texts.keeltekst(QStringLiteral("currentversion")) + QLatin1Char(' ') +
                    runningVersionText());
    Text1->setReadOnly(true);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Command1->setText(texts.keeltekst(QStringLiteral("getupdate")));
    Command1->setDefault(true);
    Command1->setEnabled(false);
    Command2->setText(texts.keeltekst(QStringLiteral("close")));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Text1, 1);
    layout->addLayout(buttons);
    resize(440, 320);

    connect(Command1, &QPushButton::clicked, this, &UpdateWindow::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
}

QCoro::Task<> UpdateWindow::load() {
    const QPointer<UpdateWindow> self(this);
    const QString answerFile = m_services.folder.file(home_site::UpdateAnswerFile);
    const QUrl address = home_site::updateCheckUrl(m_services.home, runningVersionNumber());
    const bool fetched = co_await m_services.downloader.downloadi(address.toString(), answerFile);
    if (!self) {
        co_return;
    }
    if (!fetched) {
        Text1->setPlainText(UpdateCheckFailedText);
        co_return;
    }
    const UpdateAnswer answer = judgeUpdateAnswer(readAnswerFile(answerFile), m_services.texts);
    Text1->setPlainText(answer.text);
    m_offersUpdate = answer.offersUpdate;
    Command1->setEnabled(answer.offersUpdate);
}

QCoro::Task<> UpdateWindow::Command1_Click() {
    if (!m_services.fetchesUpdater) {
        m_services.shell.openUrl(m_services.home);
        co_return;
    }
    const QPointer<UpdateWindow> self(this);
    Command1->setEnabled(false);
    const QString updater = m_services.folder.file(home_site::UpdaterFile);
    bool authentic = false;
    {
        const WaitCursor hourglass;
        authentic = co_await fetchAuthenticUpdater(m_services.downloader, m_services.home, updater,
                                                   updaterPublicKey(m_services.publicKey));
    }
    // A window closed meanwhile was the user's "no": nothing is started.
    if (!self) {
        co_return;
    }
    if (!authentic) {
        showUpdateFailure();
        co_return;
    }
    startUpdaterOrComplain(updater);
}

// An updater that would not start must not end the program: the user would be left with neither.
void UpdateWindow::startUpdaterOrComplain(const QString& updater) {
    if (m_services.shell.startDetached(updater, {})) {
        m_updaterStarted = true;
        m_services.endProgram();
        return;
    }
    showUpdateFailure();
}

void UpdateWindow::showUpdateFailure() {
    auto* box = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Brisel"), UpdateFailedText,
                                QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, this, [this] {
        Command1->setEnabled(true);
        Command2->setEnabled(true);
    });
    box->open();
}

QCoro::Task<bool> updaterTookOver(QPointer<UpdateWindow> window) {
    co_await window->load();
    if (!window) {
        co_return true;
    }
    if (window->offersUpdate()) {
        co_await showModally(window);
    }
    const bool ending = window && window->updaterStarted();
    delete window;
    co_return ending;
}
