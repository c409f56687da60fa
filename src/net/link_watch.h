// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

// What the system says about the network link.
struct LinkState {
    // The system has said something at all; before that nothing else here means anything.
    bool known = false;
    // Reaches the internet itself: not only the local network, nor a captive portal's page.
    bool online = false;
    // The system marks the link as paid by the byte (a phone's hotspot, a mobile stick).
    bool metered = false;

    bool operator==(const LinkState&) const = default;
};

// The system's word on the network link, where a back end tells it: NetworkManager or GLib on
// Linux, the system's own elsewhere. Without one, nothing is ever told.
class LinkWatch final : public QObject {
    Q_OBJECT
public:
    explicit LinkWatch(QObject* parent = nullptr);

    bool available() const { return m_available; }
    LinkState state() const;

Q_SIGNALS:
    void changed(LinkState state);

private:
    void tell();

    bool m_available = false;
};
