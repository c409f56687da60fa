// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>

namespace demo {

// The time the service believes it is: the system clock shifted so that it read the given
// moment when the clock was made, and ticking on from there.
class ServiceClock final {
public:
    explicit ServiceClock(const QDateTime& believedNow);
    QDateTime now() const;

private:
    qint64 m_offsetMs = 0;
};

} // namespace demo
