// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QUrl>
#include <atomic>
#include <thread>
#include <vector>

namespace testing_support {

// A host on the loopback that never answers a word, as a service that hangs does. It either takes
// every connection and then says nothing, or takes none at all: its queue is full from the start,
// so a new connection is never made.
class SilentHost final {
public:
    enum class Takes { Connections, Nothing };

    explicit SilentHost(Takes takes = Takes::Connections);
    ~SilentHost();
    SilentHost(const SilentHost&) = delete;
    SilentHost& operator=(const SilentHost&) = delete;

    QUrl url(const QString& path) const;
    // http://127.0.0.1:PORT, for brisel.ini.
    QString base() const;
    int connectionsTaken() const { return m_taken; }

private:
    void takeConnections();

    int m_listener = -1;
    quint16 m_port = 0;
    std::atomic<int> m_taken = 0;
    std::vector<int> m_held;
    std::thread m_taker;
};

} // namespace testing_support
