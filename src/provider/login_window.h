// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "provider/provider_login.h"
#include "provider/provider_session.h"

#include <QDialog>
#include <QPointer>

class Downloader;
class InterfaceTexts;
class Shell;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
namespace reg {
class Store;
}

// The provider account: asked for once, kept for the rest of the run. Made on first use and
// afterwards only hidden, so what was typed stays for the next time it is shown. It closes only
// on an accepted account or a cancel: a refused account and a login that could not be fetched
// are told in a box over it, in words that tell them apart.
class LoginWindow final : public QDialog {
    Q_OBJECT
public:
    LoginWindow(Downloader& downloader, LoginRequest where, reg::Store& store, Shell& shell,
                const InterfaceTexts& texts, QWidget* parent);

    // The request itself, with the account typed.
    QCoro::Task<LoginReply> CheckQuellanlogin(QString login, QString pwd);

    bool LoginSucceeded = false;

    QLabel* lblLabels0;
    QLineEdit* txtUserName;
    QLabel* lblLabels1;
    QLineEdit* txtPassword;
    QCheckBox* chkRememberPassword;
    QLabel* Label2;
    QLabel* Label1;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

public Q_SLOTS:
    // Cancel, Esc and the close box alike.
    void reject() override;

private:
    QCoro::Task<> cmdOK_Click();
    void rememberAccount(bool remember);
    QCoro::Task<> askAgain();
    // A box over this window, until it is closed.
    QCoro::Task<> tell(QString text);

    Downloader& m_downloader;
    LoginRequest m_where;
    reg::Store& m_store;
    const InterfaceTexts& m_texts;
    // Counts the attempts from the OK button; a cancel counts too, so an answer that arrives
    // after it finds a newer count and is dropped.
    int m_attempt = 0;
};

// The window's answer when the provider wants a login: the login window's fields, the remembered
// account filled in, are tried without asking; when that is refused the login window asks. The
// window is made on first use and afterwards only hidden, so what was typed stays for the next time.
class LoginWindowPrompt final : public LoginPrompt {
public:
    LoginWindowPrompt(Downloader& downloader, LoginRequest where, reg::Store& store, Shell& shell,
                      const InterfaceTexts& texts, QWidget* parent);

    Account accountToTry() override;
    QCoro::Task<LoginOutcome> askForLogin(Reason reason) override;

private:
    LoginWindow& window();

    Downloader& m_downloader;
    LoginRequest m_where;
    reg::Store& m_store;
    Shell& m_shell;
    const InterfaceTexts& m_texts;
    QPointer<QWidget> m_parent;
    QPointer<LoginWindow> m_window;
};
