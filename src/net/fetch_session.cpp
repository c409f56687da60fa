// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/fetch_session.h"

#include <QPointer>

namespace {

constexpr int UnreachableTimesBeforeGivingUp = 2;

} // namespace

// Suspends a fetch until a connection is free and no fetch of a lower place waits.
struct FetchSession::FreeConnection {
    FetchSession& session;
    int order;

    bool await_ready() { return session.takeConnectionAtOnce(); }
    void await_suspend(std::coroutine_handle<> waiting) {
        session.m_waiting.emplace(std::pair(order, session.m_asked++), waiting);
    }
    void await_resume() const noexcept {}
};

FetchSession::FetchSession(Downloader& downloader, Refresh refresh)
    : m_downloader(downloader), m_refresh(refresh),
      m_connections(std::max(1, downloader.limits().connections)) {}

bool FetchSession::takeConnectionAtOnce() {
    if (!m_waiting.empty() || m_busy >= m_connections) {
        return false;
    }
    ++m_busy;
    return true;
}

// The next turn is given from the event loop, not here: the fetch that follows from this one is
// asked for first, so that it takes its place before any later one.
void FetchSession::release() {
    --m_busy;
    if (!m_grantQueued && !m_waiting.empty()) {
        m_grantQueued = true;
        QMetaObject::invokeMethod(this, &FetchSession::grantWaiting, Qt::QueuedConnection);
    }
}

void FetchSession::grantWaiting() {
    m_grantQueued = false;
    const QPointer<FetchSession> self(this);
    while (self && m_busy < m_connections && !m_waiting.empty()) {
        const auto first = m_waiting.begin();
        const std::coroutine_handle<> waiting = first->second;
        m_waiting.erase(first);
        ++m_busy;
        // Runs until the fetch suspends on its reply, or ends the action when nothing is wanted.
        waiting.resume();
    }
}

void FetchSession::record(const QString& host, const FetchResult& result) {
    if (!result.unreachable) {
        m_unreachableInARow.remove(host);
        return;
    }
    if (++m_unreachableInARow[host] >= UnreachableTimesBeforeGivingUp && !m_givenUp.contains(host)) {
        qCDebug(lcDownload).noquote() << "giving up on" << host << "for the rest of this action";
        m_givenUp.insert(host);
    }
}

QCoro::Task<std::optional<FetchResult>> FetchSession::fetch(QUrl url, QString targetFile, FetchTurn turn,
                                                            ReaderCheck readerCheck) {
    co_await FreeConnection{*this, turn.order};
    if (turn.wanted && !turn.wanted()) {
        release();
        co_return std::nullopt;
    }
    const QString host = hostOf(url);
    if (m_givenUp.contains(host)) {
        release();
        FetchResult givenUp{false, 0, QStringLiteral("%1 was given up: it did not answer").arg(host)};
        givenUp.unreachable = true;
        givenUp.failure = FetchFailure::GivenUp;
        co_return givenUp;
    }
    const FetchResult result =
        co_await m_downloader.fetch(url, targetFile, m_refresh, std::move(readerCheck));
    record(host, result);
    release();
    co_return result;
}

QCoro::Task<bool> FetchSession::awaitTurn(FetchTurn turn) {
    co_await FreeConnection{*this, turn.order};
    const bool wanted = !turn.wanted || turn.wanted();
    release();
    co_return wanted;
}
