#pragma once

#include <QByteArray>
#include <QThread>
#include <QUrl>
#include <atomic>
#include <chrono>
#include <mutex>

namespace testing_support {

// What a hostile server sends for every request: the head and the start of the body at once, then
// `padding` zero bytes, as fast as the client takes them or, with `trickle`, one byte per interval;
// then it closes the connection.
struct HostileReply {
    QByteArray head; // the status line and the headers, without the blank line that ends them
    QByteArray body;
    qint64 padding = 0;
    std::chrono::milliseconds trickle{0};
};

// A web server on loopback that answers every request with the same reply. It runs on a thread
// of its own, so it writes as a real peer does however busy the client's thread is.
class HostileServer final {
public:
    explicit HostileServer(HostileReply reply);
    ~HostileServer();
    HostileServer(const HostileServer&) = delete;
    HostileServer& operator=(const HostileServer&) = delete;

    QUrl url(const QString& path) const;
    // The bytes written to the connections so far.
    qint64 bytesSent() const { return m_sent; }
    // The request line and headers of the last request answered.
    QByteArray lastRequest() const;

private:
    class Connections;
    mutable std::mutex m_requestMutex;
    QByteArray m_lastRequest;
    QThread m_thread;
    std::atomic<qint64> m_sent = 0;
    Connections* m_connections;
    quint16 m_port = 0;
};

} // namespace testing_support
