// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "provider/provider_session.h"

#include <QPointer>

ProviderSession::ProviderSession(Downloader& downloader, LoginRequest where, LoginPrompt& prompt,
                                 QObject* parent)
    : QObject(parent), m_downloader(downloader), m_where(std::move(where)), m_prompt(prompt) {}

QCoro::Task<bool> ProviderSession::CheckQuellanlogin() {
    if (loginkontrollitud) {
        co_return false;
    }
    if (loginolek) {
        co_return true;
    }
    QPointer<ProviderSession> self(this);
    Q_EMIT loginStarted();
    const LoginResult result = co_await askOnce();
    if (!self) {
        co_return false;
    }
    const bool accepted = result.outcome == LoginOutcome::Accepted;
    loginolek = accepted;
    loginkontrollitud = !accepted;
    Q_EMIT loginAnswered(result);
    co_return accepted;
}

QCoro::Task<LoginResult> ProviderSession::askOnce() {
    QPointer<ProviderSession> self(this);
    const Account account = m_prompt.accountToTry();
    if (!account.complete()) {
        co_return co_await ask(LoginPrompt::Reason::NoAccount);
    }
    const LoginReply reply = co_await requestLogin(m_downloader, m_where, account.user, account.password);
    if (!self) {
        co_return LoginResult{.outcome = LoginOutcome::Cancelled};
    }
    if (!reply) {
        co_return LoginResult{.outcome = LoginOutcome::Failed, .failure = reply.error()};
    }
    if (*reply) {
        co_return LoginResult{.outcome = LoginOutcome::Accepted};
    }
    co_return co_await ask(LoginPrompt::Reason::Refused);
}

QCoro::Task<LoginResult> ProviderSession::ask(LoginPrompt::Reason reason) {
    if (m_askNobody) {
        co_return LoginResult{.outcome = outcomeWithoutAsking(reason)};
    }
    co_return LoginResult{.outcome = co_await m_prompt.askForLogin(reason)};
}
