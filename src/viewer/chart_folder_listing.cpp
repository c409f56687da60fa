#include "viewer/chart_folder_listing.h"

#include <QDir>

ChartFolderListing::ChartFolderListing(const QString& chartFolder, QObject* parent)
    : QObject(parent), m_folder(chartFolder) {
    if (QDir(m_folder).exists()) {
        m_watcher.addPath(m_folder);
    }
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &ChartFolderListing::relist);
    relist();
}

void ChartFolderListing::relist() {
    const QStringList names = QDir(m_folder).entryList(QDir::Files);
    m_names = QSet<QString>(names.begin(), names.end());
    Q_EMIT changed();
}
