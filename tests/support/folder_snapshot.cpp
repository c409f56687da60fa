// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "folder_snapshot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace testing_support {

FolderSnapshot::FolderSnapshot(QString folder)
    : m_folder(std::move(folder)), m_before(contentsOf(m_folder)) {}

// A FIFO or a folder is recorded by its kind alone: opening a FIFO would wait for a writer.
QMap<QString, QByteArray> FolderSnapshot::contentsOf(const QString& folder) {
    QMap<QString, QByteArray> contents;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        QFile file(entry.absoluteFilePath());
        if (entry.isSymLink()) {
            contents.insert(entry.fileName(), "link to " + entry.symLinkTarget().toUtf8());
        } else if (!entry.isFile()) {
            contents.insert(entry.fileName(), "not a file");
        } else if (file.open(QIODevice::ReadOnly)) {
            contents.insert(entry.fileName(), file.readAll());
        }
    }
    return contents;
}

void FolderSnapshot::expectUnchangedBut(const QString& mayChange) const {
    QMap<QString, QByteArray> now = contentsOf(m_folder);
    QMap<QString, QByteArray> before = m_before;
    now.remove(mayChange);
    before.remove(mayChange);
    EXPECT_EQ(now.keys(), before.keys()) << "entries added or removed in " << m_folder.toStdString();
    for (auto entry = before.cbegin(); entry != before.cend(); ++entry) {
        EXPECT_TRUE(now.value(entry.key()) == entry.value()) << entry.key().toStdString() << " changed";
    }
}

} // namespace testing_support
