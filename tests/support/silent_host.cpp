// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "silent_host.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testing_support {

namespace {

sockaddr_in loopback(quint16 port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A connection that waits in the host's queue and is never taken.
int queuedConnection(quint16 port) {
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    fcntl(socket, F_SETFL, O_NONBLOCK);
    const sockaddr_in address = loopback(port);
    ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    return socket;
}

} // namespace

SilentHost::SilentHost(Takes takes) : m_listener(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    ::bind(m_listener, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    if (takes == Takes::Connections) {
        ::listen(m_listener, 64);
        m_taker = std::thread([this] { takeConnections(); });
        return;
    }
    // A queue of one, filled at once: further connection requests are dropped unanswered.
    ::listen(m_listener, 0);
    m_held.push_back(queuedConnection(m_port));
    usleep(50 * 1000);
}

SilentHost::~SilentHost() {
    // Ends the wait in accept().
    ::shutdown(m_listener, SHUT_RDWR);
    if (m_taker.joinable()) {
        m_taker.join();
    }
    for (const int socket : m_held) {
        ::close(socket);
    }
    ::close(m_listener);
}

void SilentHost::takeConnections() {
    for (;;) {
        const int socket = ::accept(m_listener, nullptr, nullptr);
        if (socket < 0) {
            return;
        }
        m_held.push_back(socket);
        ++m_taken;
    }
}

QUrl SilentHost::url(const QString& path) const {
    return QUrl(base() + path);
}

QString SilentHost::base() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(m_port);
}

} // namespace testing_support
