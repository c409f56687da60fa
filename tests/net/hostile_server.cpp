#include "hostile_server.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <functional>

namespace testing_support {

namespace {

constexpr qint64 Chunk = 64 * 1024;

// One connection: it waits for the end of the request, then sends the reply and closes.
class Answer final : public QObject {
public:
    using Heard = std::function<void(const QByteArray&)>;

    Answer(QTcpSocket* socket, const HostileReply& reply, std::atomic<qint64>& sent, Heard heard)
        : QObject(socket), m_socket(socket), m_reply(reply), m_zeros(Chunk, '\0'), m_heard(std::move(heard)) {
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
        if (m_started || !m_request.contains("\r\n\r\n")) {
            return;
        }
        m_started = true;
        m_heard(m_request.left(m_request.indexOf("\r\n\r\n")));
        m_socket->write(m_reply.head + "\r\n\r\n" + m_reply.body);
        if (m_reply.trickle.count() > 0) {
            m_trickle.start(m_reply.trickle);
        } else {
            pad();
        }
    }

    // Keeps only a little queued, so the padding goes out as fast as the client reads it.
    void pad() {
        if (!m_started || m_reply.trickle.count() > 0) {
            return;
        }
        while (m_socket->bytesToWrite() < Chunk && m_padded < m_reply.padding) {
            const qint64 size = std::min(Chunk, m_reply.padding - m_padded);
            m_socket->write(m_zeros.constData(), size);
            m_padded += size;
        }
        closeWhenPadded();
    }

    void trickleOne() {
        if (m_padded < m_reply.padding) {
            m_socket->write(m_zeros.constData(), 1);
            ++m_padded;
        }
        closeWhenPadded();
    }

    void closeWhenPadded() {
        if (m_padded == m_reply.padding && m_socket->state() == QAbstractSocket::ConnectedState) {
            m_trickle.stop();
            m_socket->disconnectFromHost();
        }
    }

    QTcpSocket* m_socket;
    const HostileReply& m_reply;
    const QByteArray m_zeros;
    QByteArray m_request;
    const Heard m_heard;
    QTimer m_trickle;
    bool m_started = false;
    qint64 m_padded = 0;
};

} // namespace

class HostileServer::Connections final : public QObject {
public:
    Connections(HostileReply reply, std::atomic<qint64>& sent, Answer::Heard heard)
        : m_reply(std::move(reply)), m_sent(sent), m_heard(std::move(heard)) {}

    quint16 listen() {
        connect(&m_server, &QTcpServer::newConnection, this, &Connections::acceptAll);
        return m_server.listen(QHostAddress::LocalHost, 0) ? m_server.serverPort() : 0;
    }

private:
    void acceptAll() {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            new Answer(socket, m_reply, m_sent, m_heard);
        }
    }

    const HostileReply m_reply;
    std::atomic<qint64>& m_sent;
    const Answer::Heard m_heard;
    QTcpServer m_server{this};
};

HostileServer::HostileServer(HostileReply reply)
    : m_connections(new Connections(std::move(reply), m_sent, [this](const QByteArray& request) {
          const std::lock_guard lock(m_requestMutex);
          m_lastRequest = request;
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

} // namespace testing_support
