// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "provider/provider_login.h"

#include <QObject>
#include <QString>
#include <qcoro/qcorotask.h>

class Downloader;

struct Account {
    QString user;
    QString password;
    bool complete() const { return !user.isEmpty() && !password.isEmpty(); }
};

// How asking for the provider's login ended: the run tells why the provider's parts were skipped.
enum class LoginOutcome {
    Accepted,
    Refused,   // the provider refused the account
    Failed,    // the provider could not be asked: its reply did not arrive or could not be stored
    Cancelled, // the user closed the login window
    NoAccount, // nobody could be asked and no account was remembered
};

// The outcome, and for a login that failed the request's result, which says why.
struct LoginResult {
    LoginOutcome outcome = LoginOutcome::Accepted;
    FetchResult failure = {};
};

// Who answers when the provider wants a login: the window with its login window, the run without
// a window with the remembered account alone.
class LoginPrompt {
public:
    enum class Reason { NoAccount, Refused };

    virtual ~LoginPrompt() = default;
    // The account to try before anyone is asked.
    virtual Account accountToTry() = 0;
    // That account was incomplete or refused: how the login ends after all.
    virtual QCoro::Task<LoginOutcome> askForLogin(Reason reason) = 0;
};

// How the login ends when nobody may be asked: only the remembered account counted.
inline LoginOutcome outcomeWithoutAsking(LoginPrompt::Reason reason) {
    return reason == LoginPrompt::Reason::NoAccount ? LoginOutcome::NoAccount : LoginOutcome::Refused;
}

// The provider login, asked at most once per user action: a refusal, a failure or a cancel holds
// until the action ends; a success holds for as long as the session lives. Only a refusal asks
// anyone: a remembered account whose login could not be fetched is no wrong password, so it opens
// no login window. Widget-free, so the window and the run without a window share one rule.
class ProviderSession final : public QObject {
    Q_OBJECT
public:
    ProviderSession(Downloader& downloader, LoginRequest where, LoginPrompt& prompt,
                    QObject* parent = nullptr);

    QCoro::Task<bool> CheckQuellanlogin();
    // The user's action is over: the next one may ask again.
    void actionEnded() { loginkontrollitud = false; }
    // While nobody watches (a download started by the link coming up) only the remembered account
    // is tried: a missing or refused one skips the provider, as in the run without a window.
    void setUnattended(bool unattended) { m_askNobody = unattended; }

    bool loggedIn() const { return loginolek; }
    // Whether this action's login was already refused, failed or cancelled.
    bool refusedThisAction() const { return loginkontrollitud; }

Q_SIGNALS:
    // The login is being asked for, silently or in the window; it ends with loginAnswered.
    void loginStarted();
    void loginAnswered(const LoginResult& result);

private:
    QCoro::Task<LoginResult> askOnce();
    QCoro::Task<LoginResult> ask(LoginPrompt::Reason reason);

    Downloader& m_downloader;
    LoginRequest m_where;
    LoginPrompt& m_prompt;
    bool loginolek = false;
    bool loginkontrollitud = false;
    bool m_askNobody = false;
};
