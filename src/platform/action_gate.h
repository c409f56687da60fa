// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QPointer>
#include <optional>

// One fetching action at a time. The program used to block while it fetched, so a second click
// could not start a second download, login or chart fetch beside the first; the window now stays
// live while it waits, and this gate keeps that meaning. What may go on during a run (the slider,
// the animation, the tabs, the Stop click) does not pass through it.
class ActionGate final : public QObject {
    Q_OBJECT
public:
    // Held for as long as the action runs; letting it go opens the gate. It holds the gate weakly,
    // so an action that outlives its window ends without touching it.
    class Ticket final {
    public:
        Ticket(Ticket&& other) noexcept;
        Ticket& operator=(Ticket&&) = delete;
        Ticket(const Ticket&) = delete;
        Ticket& operator=(const Ticket&) = delete;
        ~Ticket();

    private:
        friend class ActionGate;
        explicit Ticket(ActionGate* gate) : m_gate(gate) {}
        QPointer<ActionGate> m_gate;
    };

    using QObject::QObject;

    // A ticket when no other action runs; nothing when one does, and the caller then does nothing.
    std::optional<Ticket> tryStart();
    bool busy() const { return m_busy; }

Q_SIGNALS:
    void busyChanged(bool busy);

private:
    void release();

    bool m_busy = false;
};
