// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "viewer/chart_folder_listing.h"

#include <QDir>

// Hidden names (a file being written) and links are left out: no reader opens them.
QSet<QString> chartFileNames(const QString& chartFolder) {
    const QStringList names = QDir(chartFolder).entryList(QDir::Files | QDir::NoSymLinks);
    return QSet<QString>(names.begin(), names.end());
}

ChartFolderListing::ChartFolderListing(const QString& chartFolder, QObject* parent)
    : QObject(parent), m_folder(chartFolder) {
    if (QDir(m_folder).exists()) {
        m_watcher.addPath(m_folder);
    }
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &ChartFolderListing::relist);
    relist();
}

void ChartFolderListing::relist() {
    m_names = chartFileNames(m_folder);
    Q_EMIT changed();
}
