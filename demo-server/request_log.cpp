// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "request_log.h"

namespace demo {

bool RequestLog::open(const QString& fileName) {
    const std::lock_guard lock(m_mutex);
    m_file.setFileName(fileName);
    return m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
}

void RequestLog::write(const QDateTime& time, const QString& target, int status, qsizetype bytes) {
    const std::lock_guard lock(m_mutex);
    if (!m_file.isOpen()) {
        return;
    }
    // One substitution for all four fields: a target's percent escapes ("%2B") are no placeholders.
    const QString line =
        QStringLiteral("%1 %2 %3 %4\n")
            .arg(time.toString(Qt::ISODateWithMs), target, QString::number(status), QString::number(bytes));
    m_file.write(line.toUtf8());
    m_file.flush();
}

} // namespace demo
