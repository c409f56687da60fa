// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/startup_probe.h"

#include <QDateTime>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {

// The resident set in kilobytes, from /proc; 0 where there is no /proc.
qint64 residentKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
        }
    }
    return 0;
}

} // namespace

StartupProbe::StartupProbe(QWidget* window) : QObject(window), m_window(window) {
    window->installEventFilter(this);
}

bool StartupProbe::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window && event->type() == QEvent::Paint && !m_reported) {
        m_reported = true;
        // After this paint has been handled, so that it is counted in.
        QTimer::singleShot(0, this, [this] {
            std::printf("first_paint_epoch_ms=%lld\nrss_kb=%lld\n", QDateTime::currentMSecsSinceEpoch(),
                        residentKilobytes());
            std::fflush(stdout);
            m_window->close();
        });
    }
    return false;
}
