// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

namespace testing_support {

// What a folder held, every entry with its bytes, to check after a fetch that nothing changed but
// what the fetch was allowed to change, and that it left nothing behind.
class FolderSnapshot final {
public:
    explicit FolderSnapshot(QString folder);

    // Every entry as it was, hidden ones included, but `mayChange`, which may also have appeared.
    void expectUnchangedBut(const QString& mayChange = {}) const;

private:
    static QMap<QString, QByteArray> contentsOf(const QString& folder);

    QString m_folder;
    QMap<QString, QByteArray> m_before;
};

} // namespace testing_support
