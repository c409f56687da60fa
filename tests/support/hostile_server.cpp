// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "hostile_server.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <sys/socket.h>

namespace testing_support {

namespace {

constexpr qint64 Chunk = 64 * 1024;

// One connection: it answers each request as the script says, and after a reply that keeps the
// connection alive, the next one.
class Answer final : public QObject {
public:
    using Heard = std::function<void(const QByteArray&)>;

    Answer(QTcpSocket* socket, const HostileServer::Script& script, std::atomic<qint64>& sent, Heard heard)
        : QObject(socket), m_socket(socket), m_script(script), m_zeros(Chunk, '\0'),
          m_heard(std::move(heard)) {
        connect(socket, &QTcpSocket::readyRead, this, &Answer::readRequest);
        connect(socket, &QTcpSocket::bytesWritten, this, [this, &sent](qint64 bytes) {
            sent += bytes;
            pad();
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(&m_trickle, &QTimer::timeout, this, &Answer::trickleOne);
    }

private:
    void readRequest() {
        m_request += m_socket->readAll();
        const qsizetype end = m_request.indexOf("\r\n\r\n");
        if (m_answering || end < 0) {
            return;
        }
        const QByteArray request = m_request.left(end);
        m_request.remove(0, end + 4);
        m_heard(request);
        m_reply = m_script({request.split(' ').value(1), request});
        m_answering = true;
        m_padded = 0;
        m_socket->write(m_reply.head + "\r\n\r\n" + m_reply.body);
        if (m_reply.trickle.count() > 0) {
            m_trickle.start(m_reply.trickle);
        } else {
            pad();
        }
    }

    // Keeps only a little queued, so the padding goes out as fast as the client reads it.
    void pad() {
        if (!m_answering || m_reply.trickle.count() > 0) {
            return;
        }
        while (m_socket->bytesToWrite() < Chunk && m_padded < m_reply.padding) {
            const qint64 size = std::min(Chunk, m_reply.padding - m_padded);
            m_socket->write(m_zeros.constData(), size);
            m_padded += size;
        }
        endWhenPadded();
    }

    void trickleOne() {
        if (m_padded < m_reply.padding) {
            m_socket->write(m_zeros.constData(), 1);
            ++m_padded;
        }
        endWhenPadded();
    }

    void endWhenPadded() {
        if (m_padded < m_reply.padding || m_socket->state() != QAbstractSocket::ConnectedState) {
            return;
        }
        m_trickle.stop();
        switch (m_reply.end) {
        case HostileReply::End::Close:
            m_answering = false;
            m_socket->disconnectFromHost();
            break;
        case HostileReply::End::Reset:
            m_answering = false;
            resetWhenWritten();
            break;
        case HostileReply::End::KeepAlive:
            m_answering = false;
            readRequest();
            break;
        case HostileReply::End::Stall:
            break;
        }
    }

    // What was written goes out first; then no lingering, so the close sends a reset.
    void resetWhenWritten() {
        m_socket->flush();
        m_socket->waitForBytesWritten(1000);
        const linger abortive{1, 0};
        setsockopt(static_cast<int>(m_socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &abortive,
                   sizeof abortive);
        m_socket->abort();
    }

    QTcpSocket* m_socket;
    const HostileServer::Script& m_script;
    const QByteArray m_zeros;
    const Heard m_heard;
    QByteArray m_request;
    HostileReply m_reply;
    QTimer m_trickle;
    bool m_answering = false;
    qint64 m_padded = 0;
};

} // namespace

QByteArray floodedHead(int fields) {
    QByteArray head = QByteArrayLiteral("HTTP/1.1 200 OK\r\nContent-Type: image/gif");
    head.reserve(head.size() + qsizetype(fields) * 24);
    for (int field = 0; field < fields; ++field) {
        head += "\r\nX-Flood-" + QByteArray::number(field) + ": x";
    }
    return head;
}

class HostileServer::Connections final : public QObject {
public:
    Connections(Script script, std::atomic<qint64>& sent, Answer::Heard heard)
        : m_script(std::move(script)), m_sent(sent), m_heard(std::move(heard)) {}

    quint16 listen() {
        connect(&m_server, &QTcpServer::newConnection, this, &Connections::acceptAll);
        return m_server.listen(QHostAddress::LocalHost, 0) ? m_server.serverPort() : 0;
    }

private:
    void acceptAll() {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            new Answer(socket, m_script, m_sent, m_heard);
        }
    }

    const Script m_script;
    std::atomic<qint64>& m_sent;
    const Answer::Heard m_heard;
    QTcpServer m_server{this};
};

HostileServer::HostileServer(HostileReply reply)
    : HostileServer(Script([reply = std::move(reply)](const HostileRequest&) { return reply; })) {}

HostileServer::HostileServer(Script script)
    : m_connections(new Connections(std::move(script), m_sent, [this](const QByteArray& request) {
          const std::lock_guard lock(m_requestMutex);
          m_lastRequest = request;
          ++m_requests;
      })) {
    m_connections->moveToThread(&m_thread);
    m_thread.start();
    QMetaObject::invokeMethod(
        m_connections, [this] { m_port = m_connections->listen(); }, Qt::BlockingQueuedConnection);
}

HostileServer::~HostileServer() {
    QMetaObject::invokeMethod(
        m_connections, [this] { delete m_connections; }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

QByteArray HostileServer::lastRequest() const {
    const std::lock_guard lock(m_requestMutex);
    return m_lastRequest;
}

QUrl HostileServer::url(const QString& path) const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path));
}

QString HostileServer::base() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(m_port);
}

} // namespace testing_support
