#include "fault_plan.h"

namespace demo {

FaultPlan::FaultPlan(FaultKind kind, int percent, quint32 seed)
    : m_kind(kind), m_percent(percent), m_random(seed) {}

void FaultPlan::set(FaultKind kind, int percent) {
    const std::lock_guard lock(m_mutex);
    m_kind = kind;
    m_percent = percent;
}

FaultKind FaultPlan::next() {
    const std::lock_guard lock(m_mutex);
    if (m_kind == FaultKind::None || m_percent <= 0) {
        return FaultKind::None;
    }
    return int(m_random.bounded(100)) < m_percent ? m_kind : FaultKind::None;
}

} // namespace demo
