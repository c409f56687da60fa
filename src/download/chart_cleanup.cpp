#include "download/chart_cleanup.h"

#include "net/chart_names.h"

#include <QDir>
#include <QFile>
#include <functional>

namespace {

constexpr int DateStampLength = 8;

// Pictures first, then their side files, as the folder was always cleaned.
CleanupResult deleteCharts(const QString& chartFolder, const std::function<bool(const QString&)>& isDoomed) {
    const QDir folder(chartFolder);
    CleanupResult result;
    for (const char* pattern : {"*.gif", "*.ini"}) {
        const QStringList names =
            folder.entryList({QString::fromLatin1(pattern)}, QDir::Files | QDir::Hidden | QDir::System);
        for (const QString& name : names) {
            if (!isDoomed(name)) {
                continue;
            }
            if (QFile::remove(folder.filePath(name))) {
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
