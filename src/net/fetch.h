// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/host_config.h"

#include <QDateTime>
#include <QHash>
#include <QLoggingCategory>
#include <QObject>
#include <QString>
#include <QUrl>
#include <chrono>
#include <functional>
#include <qcoro/qcorotask.h>

class QNetworkAccessManager;

Q_DECLARE_LOGGING_CATEGORY(lcDownload)

// Why a fetch failed, in the few kinds a person can act on; `error` says it in detail.
enum class FetchFailure {
    None,
    HttpStatus,   // the server answered with a status other than 2xx
    Timeout,      // no connection, no data or no end in time
    NoConnection, // refused, or no such host
    NotAPicture,  // a picture was asked for and something else came, such as a portal's page
    CutShort,     // the body ended before its announced length or its picture's end
    Storage,      // the file could not be written here: `error` has the system's reason
    GivenUp,      // the host failed before in this action and was not asked again
    Other,
};

struct FetchResult {
    bool ok = false;    // the file is as the address has it: fetched, or confirmed unchanged
    int httpStatus = 0; // 0 when no reply status arrived
    QString error = {}; // empty on success
    qint64 bytes = 0;   // body bytes received
    qint64 milliseconds = 0;
    bool unchanged = false;   // the stored file is current, and was left untouched: the server said so,
                              // or it was still fresh
    bool fresh = false;       // the stored file was still fresh, and nobody was asked
    bool unreachable = false; // refused, not connected in time, or no reply in time
    FetchFailure failure = FetchFailure::None;
};

// One request as it went: when it started (local time), the address and what came of it.
struct FetchRecord {
    QDateTime started;
    QUrl url;
    FetchResult result;
};

// A host as the program tells hosts apart, to give it up or to give it a manager of its own: its
// scheme, name and port, the default port written out.
QString hostOf(const QUrl& url);

// What a request did, on one line: the address without its query (the login's carries the
// password), the HTTP status, the bytes, the milliseconds and "ok", "unchanged" or the error.
QString describeFetch(const QUrl& url, const FetchResult& result);

// How a fetch treats the file stored at its target. Asked other than whole, it also records where
// the stored file came from and what the reply said of its freshness (file_origin.h). An address
// that carries a password (the login) is fetched whole, so the password is never written beside a
// file, and nothing of it is kept.
enum class Refresh {
    Whole,     // always the whole body
    IfChanged, // the server is asked whether the stored file changed: what the user asks for by hand
    IfStale,   // as IfChanged, but a stored file still fresh is not asked for at all: a run
};

// Whether a text answer that arrived is what its reader expects, such as a spot's reply that names
// its days: a text answer has no structure of its own to judge it whole by, and a portal's page
// must not replace the answer stored.
using ReaderCheck = std::function<bool(const QByteArray& answer)>;

// The one way the program fetches a file: the whole network policy in one place. One instance
// serves the main window and every side window; it keeps its connections alive between fetches.
//
// A fetch writes into a file staged beside the target and renames it over the target only when a
// 2xx reply arrived whole and was written, so a failed, cut or timed-out fetch leaves the file
// already there as it was. Whole means the length the server announced, where it announced one,
// and for a picture (a ".gif" target) its own structure up to its end: only that holds where the
// transfer cannot tell a cut body from a whole one. A picture that claims more than 4,096 pixels a
// side is no chart, and neither is a portal's page. A text answer without a length is judged by its
// reader: given a ReaderCheck, the fetch asks it before the answer replaces anything, and an
// answer the same as the one stored leaves that file in place, its time kept, its origin renewed.
// A link at the target is replaced by the file, never written through, so nothing is
// written outside the target's folder. Only http and https addresses are fetched.
//
// A body may be only as large as its target's kind allows: 16 MiB for a picture (".gif"), 256 MiB
// for the updater (".exe") and 1 MiB for any other file, an answer file; a longer body, or one
// announced longer, fails, and so does a head of more than 100 fields or 64 KiB. The reply is read
// only as fast as it is written, so little of it is ever held in memory.
//
// With Refresh::IfChanged, a whole target that came from this very address is asked for with its
// Last-Modified and ETag; a 304 keeps it untouched, its time included, and renews its freshness.
// The server's own time is sent back, never the local clock's, which may be wrong on a boat's
// laptop. With Refresh::IfStale, such a target still fresh (freshness.h) is not asked for at all. A
// target that came from another address (an older model run's chart under the same name), or is
// not whole, is fetched whole.
//
// A failure of the host (refused, no connection within the connect limit, nothing received for the
// idle limit before, within or after the head, a flooding head) is marked unreachable, so an action
// can give up on the host; a fetch that only overran its deadline is not.
//
// Each host has a network access manager of its own, and so a reading thread of Qt's own: a host
// that floods its replies' heads holds up no other host's replies.
//
// Failures are not errors here: they are logged at debug level in "brisel.download", told by
// fetchEnded and returned.
//
// A running fetch does not depend on its caller: a window that awaits it must hold itself by
// QPointer and check it after the co_await, because the window may have closed meanwhile. The
// Downloader itself is meant to live as long as the program; destroying it ends its running
// fetches as failures.
class Downloader final : public QObject {
    Q_OBJECT
public:
    explicit Downloader(QObject* parent = nullptr);
    ~Downloader() override;

    void setLimits(FetchLimits limits) { m_limits = limits; }
    // The system clock, in seconds since the epoch (UTC), that freshness is measured on; tests set
    // their own. Never the moment a user sets with --now.
    void setSystemClock(std::function<qint64()> clock) { m_systemClock = std::move(clock); }
    const FetchLimits& limits() const { return m_limits; }

    QCoro::Task<FetchResult> fetch(QUrl url, QString targetFile, Refresh refresh = Refresh::Whole,
                                   ReaderCheck readerCheck = {});

    // The program is ending: running fetches end now as failures, leaving nothing behind, and no
    // new one starts, so whatever awaits them winds down without another request.
    void shutDown();
    // True exactly when the address was fetched into the file.
    QCoro::Task<bool> downloadi(QString urrl, QString failinimi);

Q_SIGNALS:
    // Every fetch as it ends, whoever asked for it.
    void fetchEnded(const FetchRecord& record);

private:
    QCoro::Task<FetchResult> fetchOnce(QUrl url, QString targetFile, Refresh refresh,
                                       ReaderCheck readerCheck);
    QNetworkAccessManager& managerFor(const QUrl& url);

    QHash<QString, QNetworkAccessManager*> m_managers;
    FetchLimits m_limits;
    std::function<qint64()> m_systemClock = [] {
        return QDateTime::currentSecsSinceEpoch();
    };
    bool m_shutDown = false;
};
