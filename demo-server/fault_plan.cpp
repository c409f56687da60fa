// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fault_plan.h"

namespace demo {

FaultPlan::FaultPlan(FaultKind kind, int percent, quint32 seed, QString path)
    : m_kind(kind), m_percent(percent), m_path(std::move(path)), m_random(seed) {}

void FaultPlan::set(FaultKind kind, int percent, QString path) {
    const std::lock_guard lock(m_mutex);
    m_kind = kind;
    m_percent = percent;
    m_path = std::move(path);
}

FaultKind FaultPlan::next(const QString& requestPath) {
    const std::lock_guard lock(m_mutex);
    if (m_kind == FaultKind::None || m_percent <= 0 || !requestPath.startsWith(m_path)) {
        return FaultKind::None;
    }
    return int(m_random.bounded(100)) < m_percent ? m_kind : FaultKind::None;
}

} // namespace demo
