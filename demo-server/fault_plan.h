// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "demo_server.h"

#include <QRandomGenerator>
#include <mutex>

namespace demo {

// Decides, request by request, whether a fault strikes. The draws come from a seeded generator,
// so the same seed and the same sequence of requests meet the same faults. With a path given, only
// requests under it draw, so one service can fail while the others answer.
class FaultPlan final {
public:
    FaultPlan(FaultKind kind, int percent, quint32 seed, QString path);
    void set(FaultKind kind, int percent, QString path);
    FaultKind next(const QString& requestPath);

private:
    std::mutex m_mutex;
    FaultKind m_kind;
    int m_percent;
    QString m_path;
    QRandomGenerator m_random;
};

} // namespace demo
