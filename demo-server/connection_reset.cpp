// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "connection_reset.h"

#include <arpa/inet.h>
#include <filesystem>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <vector>

namespace demo {

namespace {

constexpr int anyPort = -1;

int portOf(const sockaddr_in& address) {
    return ntohs(address.sin_port);
}

bool isConnectionBetween(int descriptor, int serverPort, int clientPort) {
    sockaddr_in local{};
    sockaddr_in peer{};
    socklen_t localLength = sizeof local;
    socklen_t peerLength = sizeof peer;
    return getsockname(descriptor, reinterpret_cast<sockaddr*>(&local), &localLength) == 0 &&
           local.sin_family == AF_INET && portOf(local) == serverPort &&
           getpeername(descriptor, reinterpret_cast<sockaddr*>(&peer), &peerLength) == 0 &&
           (clientPort == anyPort || portOf(peer) == clientPort);
}

std::vector<int> findConnections(int serverPort, int clientPort) {
    std::vector<int> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        const int descriptor = std::stoi(entry.path().filename().string());
        if (isConnectionBetween(descriptor, serverPort, clientPort)) {
            found.push_back(descriptor);
        }
    }
    return found;
}

} // namespace

bool dropConnection(int serverPort, int clientPort) {
    const std::vector<int> found = findConnections(serverPort, clientPort);
    if (found.empty()) {
        return false;
    }
    // No lingering: when the server closes the socket after its failed reply, the client gets a reset.
    const linger abortive{1, 0};
    setsockopt(found.front(), SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    return shutdown(found.front(), SHUT_RDWR) == 0;
}

void closeConnections(int serverPort) {
    for (const int descriptor : findConnections(serverPort, anyPort)) {
        // Looked at again: the connection may have ended, and its number gone to another socket.
        if (isConnectionBetween(descriptor, serverPort, anyPort)) {
            shutdown(descriptor, SHUT_RDWR);
        }
    }
}

} // namespace demo
