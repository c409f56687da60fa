// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "demo_server.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <gtest/gtest.h>
#include <httplib.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace demo_test {

// What a plain HTTP client saw of one request.
struct Fetched {
    int status = 0; // 0 when no reply header arrived
    QByteArray body;
    std::string lastModified;
    std::string etag;
};

using RequestHeaders = std::vector<std::pair<std::string, std::string>>;

// Sends the target exactly as written, unencoded, to the server on 127.0.0.1.
inline Fetched fetch(quint16 port, const QString& target, const RequestHeaders& headers = {}) {
    httplib::Client client("127.0.0.1", port);
    client.set_url_encode(false);
    client.set_read_timeout(5, 0);
    Fetched fetched;
    client.Get(
        target.toStdString(), httplib::Headers(headers.begin(), headers.end()),
        [&fetched](const httplib::Response& response) {
            fetched.status = response.status;
            fetched.lastModified = response.get_header_value("Last-Modified");
            fetched.etag = response.get_header_value("ETag");
            return true;
        },
        [&fetched](const char* data, size_t length) {
            fetched.body.append(data, qsizetype(length));
            return true;
        });
    return fetched;
}

inline std::unique_ptr<demo::DemoServer> startServer(demo::ServerOptions options) {
    auto server = std::make_unique<demo::DemoServer>(std::move(options));
    EXPECT_TRUE(server->start(0));
    return server;
}

// 10 April 2007, 03:00: the early morning, before today's 00 run is published.
inline QDateTime earlyMorning() {
    return QDateTime(QDate(2007, 4, 10), QTime(3, 0));
}

} // namespace demo_test
