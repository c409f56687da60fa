#pragma once

#include "demo_server.h"

#include <QRandomGenerator>
#include <mutex>

namespace demo {

// Decides, request by request, whether a fault strikes. The draws come from a seeded generator,
// so the same seed and the same sequence of requests meet the same faults.
class FaultPlan final {
public:
    FaultPlan(FaultKind kind, int percent, quint32 seed);
    void set(FaultKind kind, int percent);
    FaultKind next();

private:
    std::mutex m_mutex;
    FaultKind m_kind;
    int m_percent;
    QRandomGenerator m_random;
};

} // namespace demo
