// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "download/connect_trigger.h"

#include "platform/clock.h"

namespace {

constexpr qint64 SecondsBetweenStarts = 3600;

} // namespace

bool ConnectTrigger::linkChanged(LinkState link, Wishes wishes, bool idle) {
    if (!link.known) {
        return false;
    }
    const bool cameUp = m_online.has_value() && !*m_online && link.online;
    m_online = link.online;
    if (!cameUp || !wishes.enabled || !idle || (link.metered && !wishes.onMeteredLink) || !hourPassed()) {
        return false;
    }
    m_lastStart = m_clock.now();
    return true;
}

// A clock set back (a laptop whose time was wrong) must not hold the next start for days.
bool ConnectTrigger::hourPassed() const {
    if (!m_lastStart) {
        return true;
    }
    const qint64 since = m_lastStart->secsTo(m_clock.now());
    return since >= SecondsBetweenStarts || since < 0;
}
