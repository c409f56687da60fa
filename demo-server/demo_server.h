// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The stand-in for the four outside services Brisel fetches from (the provider, the sailing site,
// the wave service and the program's home site), all on one loopback port. Their paths do not
// collide, so one base address serves as every host of brisel.ini.
//
// Pictures carry a Last-Modified (the moment the server first drew them) and an ETag, and a request
// that gives either back for a picture that has not changed is answered 304 Not Modified.
//
// Pictures are drawn with QPainter and its fonts, so the process needs a QGuiApplication (the
// offscreen platform will do) before start(). start() also makes the process ignore SIGPIPE: a
// client that gives up mid-reply must not end the program.

#include "platform/expected.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QtGlobal>
#include <memory>
#include <optional>

namespace demo {

enum class FaultKind { None, NotFound404, ServerError500, Reset, Cut, Slow, Portal };

struct ServerOptions {
    // The moment the service believes it is; invalid means the system clock. A given moment keeps
    // ticking from the start, as a real clock would.
    QDateTime now;
    // A model run of date D, hour 00 or 12, is published this many hours after its start.
    int publishAfterHours = 5;
    QString user = QStringLiteral("demo");
    QString password = QStringLiteral("demo");
    // The version the home site offers, as major * 1000000 + minor * 1000 + revision. Without
    // one it tells every program that it is the newest, so a demo run is not stopped by an offer.
    std::optional<int> latestVersion;
    // When not empty, the home site answers every update check with this text instead.
    QByteArray updateAnswer;
    // The updater is served with one byte changed, its signature still that of the true one.
    bool tamperUpdater = false;
    // Whether pictures and spot replies say how long they stay fresh, as a real publisher's do;
    // without it a client has only Last-Modified to go by.
    bool sendCacheControl = true;
    int latencyMs = 0;
    int faultPercent = 0;
    FaultKind faultKind = FaultKind::None;
    // Only requests whose path starts so meet the fault; empty for every request.
    QString faultPath;
    quint32 seed = 1;
    // How long a Slow fault holds its reply back: longer than a client's patience.
    int slowMs = 3000;
    // One line per request: time, path, status, bytes. Empty: no log.
    QString logFile;
    // The provider's login-page title, sent back in the first line when a login is refused.
    QString loginMarker = QStringLiteral("Quellan login");
    // The port the executable asks for; 0 picks a free one. start() takes its own argument.
    quint16 port = 0;
};

class DemoServer final {
public:
    explicit DemoServer(ServerOptions options);
    ~DemoServer();
    DemoServer(const DemoServer&) = delete;
    DemoServer& operator=(const DemoServer&) = delete;

    // Binds 127.0.0.1 only (port 0 picks a free port) and serves on a thread of its own.
    bool start(quint16 port = 0);
    quint16 port() const;
    // http://127.0.0.1:PORT, the base address of all four services.
    QUrl baseUrl() const;
    void stop();

    int requestCount() const;
    // The most requests it was handling at one time, each counted until its reply was made.
    int peakRequestsInFlight() const;
    // Every request target as it arrived: the path with its query, not decoded.
    QStringList requestedPaths() const;
    // From now on; `path` limits the fault to the requests whose path starts so.
    void setFault(FaultKind kind, int percent, QString path = {});

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// Reads the executable's command line (the program name first, as QCoreApplication::arguments()
// gives it) over the defaults; on a bad value, says why.
Expected<ServerOptions> parseOptions(const QStringList& args);
// The command-line help of the executable.
QString usageText();
// The base64 public key the home site's updater signature is checked with.
QString demoUpdaterPublicKey();

} // namespace demo
