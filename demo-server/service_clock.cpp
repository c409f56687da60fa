// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service_clock.h"

namespace demo {

ServiceClock::ServiceClock(const QDateTime& believedNow)
    : m_offsetMs(believedNow.isValid() ? QDateTime::currentDateTime().msecsTo(believedNow) : 0) {}

QDateTime ServiceClock::now() const {
    return QDateTime::currentDateTime().addMSecs(m_offsetMs);
}

} // namespace demo
