// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "provider/login_window.h"

#include "platform/control_names.h"
#include "platform/modal_dialog.h"
#include "platform/shell.h"
#include "settings/stored_settings.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

LoginWindow::LoginWindow(Downloader& downloader, LoginRequest where, reg::Store& store, Shell& shell,
                         const InterfaceTexts& texts, QWidget* parent)
    : QDialog(parent),
      lblLabels0(named(new QLabel(QStringLiteral("&User Name:"), this), QStringLiteral("lblLabels(0)"))),
      txtUserName(named(new QLineEdit(this), QStringLiteral("txtUserName"))),
      lblLabels1(named(new QLabel(QStringLiteral("&Password:"), this), QStringLiteral("lblLabels(1)"))),
      txtPassword(named(new QLineEdit(this), QStringLiteral("txtPassword"))),
      chkRememberPassword(named(new QCheckBox(QStringLiteral("Remember password"), this),
                                QStringLiteral("chkRememberPassword"))),
      Label2(named(new QLabel(QStringLiteral("NB saved password is NOT stored securely!"), this),
                   QStringLiteral("Label2"))),
      Label1(named(new QLabel(this), QStringLiteral("Label1"))),
      cmdOK(named(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("cmdOK"))),
      cmdCancel(named(new QPushButton(QStringLiteral("Cancel"), this), QStringLiteral("cmdCancel"))),
      m_downloader(downloader), m_where(std::move(where)), m_store(store), m_texts(texts) {
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(m_where.loginMarker);
    setModal(true);
    txtPassword->setEchoMode(QLineEdit::Password);
    lblLabels0->setBuddy(txtUserName);
    lblLabels1->setBuddy(txtPassword);
    const QString home = m_where.providerBase.toString();
    Label1->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(home.toHtmlEscaped()));
    connect(Label1, &QLabel::linkActivated, this, [&shell, this] { shell.openUrl(m_where.providerBase); });
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &LoginWindow::reject);

    auto* form = new QFormLayout;
    form->addRow(lblLabels0, txtUserName);
    form->addRow(lblLabels1, txtPassword);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Label1);
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(chkRememberPassword);
    layout->addWidget(Label2);
    layout->addLayout(buttons);
    txtUserName->setMinimumWidth(260);
    setTabOrder(txtUserName, txtPassword);
    setTabOrder(txtPassword, chkRememberPassword);
    setTabOrder(chkRememberPassword, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
}

QCoro::Task<LoginReply> LoginWindow::CheckQuellanlogin(QString login, QString pwd) {
    co_return co_await requestLogin(m_downloader, m_where, std::move(login), std::move(pwd));
}

QCoro::Task<> LoginWindow::cmdOK_Click() {
    QPointer<LoginWindow> self(this);
    const int attempt = ++m_attempt;
    // A disabled button hands its focus on, to Cancel: a second Enter while the answer is on its
    // way would cancel a login about to be accepted. In the password box Enter finds OK disabled.
    if (focusWidget() == cmdOK) {
        txtPassword->setFocus();
    }
    cmdOK->setEnabled(false);
    const LoginReply reply = co_await CheckQuellanlogin(txtUserName->text(), txtPassword->text());
    if (!self || attempt != m_attempt) {
        co_return;
    }
    cmdOK->setEnabled(true);
    if (!reply) {
        co_await tell(loginFailedText(m_texts, reply.error()));
        co_return;
    }
    if (!*reply) {
        co_await askAgain();
        co_return;
    }
    LoginSucceeded = true;
    rememberAccount(chkRememberPassword->isChecked());
    accept();
}

// The pair is stored, or two empty strings, so an unticked box also forgets an earlier pair.
void LoginWindow::rememberAccount(bool remember) {
    StoredSettings settings(m_store);
    settings.write(settings_table::QuellanUser, remember ? txtUserName->text() : QString());
    settings.write(settings_table::QuellanPassword, remember ? txtPassword->text() : QString());
}

QCoro::Task<> LoginWindow::askAgain() {
    QPointer<LoginWindow> self(this);
    co_await tell(QStringLiteral("Invalid Password, try again!"));
    if (self) {
        txtPassword->setFocus();
        txtPassword->selectAll();
    }
}

QCoro::Task<> LoginWindow::tell(QString text) {
    QPointer<QMessageBox> box =
        new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Login"), text, QMessageBox::Ok, this);
    box->setTextFormat(Qt::PlainText);
    co_await showModally(box);
    delete box;
}

void LoginWindow::reject() {
    ++m_attempt;
    cmdOK->setEnabled(true);
    LoginSucceeded = false;
    QDialog::reject();
}

LoginWindowPrompt::LoginWindowPrompt(Downloader& downloader, LoginRequest where, reg::Store& store,
                                     Shell& shell, const InterfaceTexts& texts, QWidget* parent)
    : m_downloader(downloader), m_where(std::move(where)), m_store(store), m_shell(shell), m_texts(texts),
      m_parent(parent) {}

LoginWindow& LoginWindowPrompt::window() {
    if (!m_window) {
        m_window = new LoginWindow(m_downloader, m_where, m_store, m_shell, m_texts, m_parent);
    }
    return *m_window;
}

// A kept value replaces what the field holds, an empty one included; without one the field keeps
// what was typed last time. A kept pair was kept because the box was ticked: ticked again, an OK
// keeps it, rather than forgetting it as an unticked box does.
Account LoginWindowPrompt::accountToTry() {
    const StoredSettings settings(m_store);
    LoginWindow& login = window();
    const std::optional<QString> user = settings.stored(settings_table::QuellanUser);
    const std::optional<QString> password = settings.stored(settings_table::QuellanPassword);
    if (user) {
        login.txtUserName->setText(*user);
    }
    if (password) {
        login.txtPassword->setText(*password);
    }
    if (Account{user.value_or(QString()), password.value_or(QString())}.complete()) {
        login.chkRememberPassword->setChecked(true);
    }
    return {login.txtUserName->text(), login.txtPassword->text()};
}

// The window stays open until an account is accepted, so it ends only so or by a cancel.
QCoro::Task<LoginOutcome> LoginWindowPrompt::askForLogin(Reason) {
    QPointer<LoginWindow> login(&window());
    login->LoginSucceeded = false;
    co_await showModally(login);
    co_return login && login->LoginSucceeded ? LoginOutcome::Accepted : LoginOutcome::Cancelled;
}
