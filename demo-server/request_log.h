// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>
#include <QFile>
#include <QString>
#include <mutex>

namespace demo {

// One line per request, "time target status bytes", for a person watching what a client asked
// for. The server's threads write to it in turn.
class RequestLog final {
public:
    bool open(const QString& fileName);
    void write(const QDateTime& time, const QString& target, int status, qsizetype bytes);

private:
    std::mutex m_mutex;
    QFile m_file;
};

} // namespace demo
