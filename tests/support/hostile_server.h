// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QThread>
#include <QUrl>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>

namespace testing_support {

// What a hostile server sends for a request: the head and the start of the body at once, then
// `padding` zero bytes, as fast as the client takes them or, with `trickle`, one byte per interval;
// then it ends the reply as `end` says.
struct HostileReply {
    enum class End {
        Close,     // closes the connection, as an HTTP/1.0 server ends a body without a length
        Reset,     // resets the connection
        KeepAlive, // waits for the next request on the connection
        Stall,     // keeps the connection open and says nothing more
    };

    QByteArray head; // the status line and the headers, without the blank line that ends them
    QByteArray body;
    qint64 padding = 0;
    std::chrono::milliseconds trickle{0};
    End end = End::Close;
};

// A head of `fields` header lines after the status line.
QByteArray floodedHead(int fields);

// What a script is asked to answer: the request's path, and its request line and headers.
struct HostileRequest {
    QByteArray path;
    QByteArray head;
};

// A web server on loopback that answers each request as its script says. It runs on a thread of
// its own, so it writes as a real peer does however busy the client's thread is.
class HostileServer final {
public:
    using Script = std::function<HostileReply(const HostileRequest& request)>;

    // The same reply for every request.
    explicit HostileServer(HostileReply reply);
    explicit HostileServer(Script script);
    ~HostileServer();
    HostileServer(const HostileServer&) = delete;
    HostileServer& operator=(const HostileServer&) = delete;

    QUrl url(const QString& path) const;
    // http://127.0.0.1:PORT, for brisel.ini.
    QString base() const;
    // The bytes written to the connections so far.
    qint64 bytesSent() const { return m_sent; }
    int requestsAnswered() const { return m_requests; }
    // The request line and headers of the last request answered.
    QByteArray lastRequest() const;

private:
    class Connections;
    mutable std::mutex m_requestMutex;
    QByteArray m_lastRequest;
    QThread m_thread;
    std::atomic<qint64> m_sent = 0;
    std::atomic<int> m_requests = 0;
    Connections* m_connections;
    quint16 m_port = 0;
};

} // namespace testing_support
