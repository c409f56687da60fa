// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QSet>
#include <QString>

// The names of the regular files in the chart folder as they are now.
QSet<QString> chartFileNames(const QString& chartFolder);

// The names of the files in the chart folder, listed once per change of the folder rather than
// looked up file by file, so that a view of all 169 hours costs one listing.
class ChartFolderListing final : public QObject {
    Q_OBJECT
public:
    explicit ChartFolderListing(const QString& chartFolder, QObject* parent = nullptr);

    const QSet<QString>& names() const { return m_names; }

Q_SIGNALS:
    void changed();

private:
    void relist();

    QString m_folder;
    QFileSystemWatcher m_watcher;
    QSet<QString> m_names;
};
