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
    const LoginOutcome outcome = co_await askOnce();
    if (!self) {
        co_return false;
    }
    const bool accepted = outcome == LoginOutcome::Accepted;
    loginolek = accepted;
    loginkontrollitud = !accepted;
    Q_EMIT loginAnswered(outcome);
    co_return accepted;
}

QCoro::Task<LoginOutcome> ProviderSession::askOnce() {
    QPointer<ProviderSession> self(this);
    const Account account = m_prompt.accountToTry();
    if (!account.complete()) {
        co_return co_await ask(LoginPrompt::Reason::NoAccount);
    }
    const bool accepted = co_await requestLogin(m_downloader, m_where, account.user, account.password);
    if (!self) {
        co_return LoginOutcome::Cancelled;
    }
    if (accepted) {
        co_return LoginOutcome::Accepted;
    }
    co_return co_await ask(LoginPrompt::Reason::Refused);
}

QCoro::Task<LoginOutcome> ProviderSession::ask(LoginPrompt::Reason reason) {
    if (m_askNobody) {
        co_return outcomeWithoutAsking(reason);
    }
    co_return co_await m_prompt.askForLogin(reason);
}
