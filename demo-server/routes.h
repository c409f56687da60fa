// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "demo_server.h"
#include "picture_cache.h"
#include "service_clock.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QUrl>
#include <chrono>

namespace demo {

struct Reply {
    int status = 404;
    QByteArray contentType = QByteArrayLiteral("text/plain");
    QByteArray body;
    // Pictures only: when the body was made, and a tag of its bytes.
    QDateTime lastModified = {};
    QByteArray etag = {};
    // How long a client may keep the reply without asking again, as a real publisher says it.
    QByteArray cacheControl = {};
};

Reply notFound();

// Query values by key, already percent-decoded.
using Query = QHash<QString, QString>;

// What each of the four services answers to a path and its query, leaving faults and timing
// to the server around it.
class Routes final {
public:
    Routes(const ServerOptions& options, const ServiceClock& clock, const QUrl& base);
    Reply answer(const QString& path, const Query& query);

private:
    Reply providerChart(const QString& path);
    Reply login(const Query& query) const;
    Reply pointForecast(const Query& query) const;
    Reply meteogram(const QString& path);
    Reply sailingMap(const QString& path);
    Reply waveMap(const QString& path);
    Reply updateInfo(const Query& query) const;
    QByteArray servedUpdater() const;
    Reply picture(const QString& path, const std::function<QImage()>& draw);
    Reply keptFor(Reply reply, std::chrono::seconds maxAge) const;

    const ServerOptions& m_options;
    const ServiceClock& m_clock;
    QUrl m_base;
    PictureCache m_pictures;
};

} // namespace demo
