// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "download/chart_cleanup.h"

#include "net/chart_names.h"

#include <QDir>
#include <QFile>
#include <functional>

namespace {

constexpr int DateStampLength = 8;

// A chart Brisel stored is a regular file. A link under a chart's name goes itself, never what it
// points at; a FIFO, socket or device is nobody's chart and stays.
bool mayRemove(const QFileInfo& entry) {
    return entry.isSymLink() || entry.isFile();
}

// Pictures first, then their side files, as the folder was always cleaned.
CleanupResult deleteCharts(const QString& chartFolder, const std::function<bool(const QString&)>& isDoomed) {
    const QDir folder(chartFolder);
    CleanupResult result;
    for (const char* pattern : {"*.gif", "*.ini"}) {
        const QFileInfoList entries =
            folder.entryInfoList({QString::fromLatin1(pattern)}, QDir::Files | QDir::Hidden | QDir::System);
        for (const QFileInfo& entry : entries) {
            if (!mayRemove(entry) || !isDoomed(entry.fileName())) {
                continue;
            }
            if (QFile::remove(entry.filePath())) {
                ++result.deleted;
            } else {
                ++result.skipped;
            }
        }
    }
    return result;
}

} // namespace

CleanupResult deleteOldCharts(const QString& chartFolder, const QDate& today,
                              const QSet<QString>& stillShown) {
    const QString todayStamp = dateStamp(today);
    return deleteCharts(chartFolder, [&todayStamp, &stillShown](const QString& name) {
        return QString::compare(name.left(DateStampLength), todayStamp, Qt::CaseSensitive) < 0 &&
               !stillShown.contains(name);
    });
}

CleanupResult deleteAllCharts(const QString& chartFolder) {
    return deleteCharts(chartFolder, [](const QString&) { return true; });
}
