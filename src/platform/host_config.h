// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QUrl>
#include <chrono>

// How long a fetch may take: it is given up when no connection was made within `connect`, when no
// data moved for `idle`, and in any case once `deadline` has passed since it began, so a server
// that trickles cannot hold a run. An action keeps up to `connections` fetches on their way at once;
// 1 fetches strictly one after another.
struct FetchLimits {
    std::chrono::milliseconds connect = std::chrono::seconds(10);
    std::chrono::milliseconds idle = std::chrono::seconds(30);
    std::chrono::milliseconds deadline = std::chrono::seconds(120);
    int connections = 6;
    // Beyond six, only fetches to different hosts gain: one host is given six connections at most.
    static constexpr int MostConnections = 16;
};

// The outside services, from brisel.ini in the program folder: [hosts] holds the base address
// (scheme, host, optional port) of each service and the provider's login-page title; [download]
// the limits of a fetch in seconds and the connections an action keeps; [update] the public key that updaters
// are checked against.
struct HostConfig {
    QUrl provider;
    QUrl marevo;
    QUrl wave;
    QUrl home;
    QString loginMarker;
    FetchLimits fetchLimits;
    QString updatePublicKey;

    static HostConfig load(const QString& briselIniPath);
};
