// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "net/fetch.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <coroutine>
#include <functional>
#include <map>
#include <optional>
#include <utility>

// When a fetch of an action may start: its place in the action's order (among waiting fetches the
// lowest place starts first, equal places in the order they were asked), and whether it is still
// wanted when its turn comes: the user may have pressed Stop, unticked its box or closed its window
// meanwhile. Without a test it is always wanted.
struct FetchTurn {
    int order = 0;
    std::function<bool()> wanted = {};
};

// The fetches of one user action (a download run, a double-click, the wave maps) through the
// program's one Downloader. Up to the limits' `connections` are on their way at once, started in
// the action's order. A fetch that follows from another (the next run choice of a chart, a spot's
// pictures after its reply) takes its place before the next turn is given, so with one connection
// the requests go strictly one after another in the action's order.
//
// A host that was unreachable twice in a row is given up for the rest of the action: its remaining
// fetches fail at once without a request, so a service that is not there costs a few timeouts, not
// one for every file.
class FetchSession final : public QObject {
    Q_OBJECT
public:
    // `refresh`: how the action's files are refreshed: a run leaves what is fresh unasked, what the
    // user asks for by hand always asks.
    explicit FetchSession(Downloader& downloader, Refresh refresh = Refresh::IfChanged);

    int connections() const { return m_connections; }
    Refresh refresh() const { return m_refresh; }

    // Nothing when, at its turn, the fetch was no longer wanted: then no request was made. The file
    // is refreshed as the action's files are.
    QCoro::Task<std::optional<FetchResult>> fetch(QUrl url, QString targetFile, FetchTurn turn,
                                                  ReaderCheck readerCheck = {});
    // Waits for the turn a fetch of that place would get, and tells whether it is wanted then.
    QCoro::Task<bool> awaitTurn(FetchTurn turn);

private:
    struct FreeConnection;

    bool takeConnectionAtOnce();
    void release();
    void grantWaiting();
    void record(const QString& host, const FetchResult& result);

    Downloader& m_downloader;
    const Refresh m_refresh;
    const int m_connections;
    int m_busy = 0;
    quint64 m_asked = 0;
    bool m_grantQueued = false;
    std::map<std::pair<int, quint64>, std::coroutine_handle<>> m_waiting;
    QHash<QString, int> m_unreachableInARow;
    QSet<QString> m_givenUp;
};
