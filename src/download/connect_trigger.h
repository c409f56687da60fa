// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "net/link_watch.h"

#include <QDateTime>
#include <optional>

class Clock;

// Decides when the link coming up starts a download by itself. Only a change counts: a link that
// was up when Brisel started, or that the back end reports for the first time, starts nothing, so
// opening the program never fetches behind the user's back. A window busy with anything else lets
// the moment pass rather than queue it. At most one start an hour, whatever the link does: a
// marina's Wi-Fi that drops every few minutes must not keep the laptop fetching.
class ConnectTrigger {
public:
    struct Wishes {
        bool enabled = false;
        bool onMeteredLink = false;
    };

    explicit ConnectTrigger(const Clock& clock) : m_clock(clock) {}

    // Told the link's every change; true when a download is to start now.
    bool linkChanged(LinkState link, Wishes wishes, bool idle);

private:
    bool hourPassed() const;

    const Clock& m_clock;
    std::optional<bool> m_online;
    std::optional<QDateTime> m_lastStart;
};
