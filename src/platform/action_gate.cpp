// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/action_gate.h"

ActionGate::Ticket::Ticket(Ticket&& other) noexcept : m_gate(std::exchange(other.m_gate, nullptr)) {}

ActionGate::Ticket::~Ticket() {
    if (m_gate) {
        m_gate->release();
    }
}

std::optional<ActionGate::Ticket> ActionGate::tryStart() {
    if (m_busy) {
        return std::nullopt;
    }
    m_busy = true;
    Q_EMIT busyChanged(true);
    return Ticket(this);
}

void ActionGate::release() {
    m_busy = false;
    Q_EMIT busyChanged(false);
}
