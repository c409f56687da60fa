// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

// An INI ("profile") file read by the rules of the Windows profile reader: section and key names
// compared without case, blanks around a value and one pair of enclosing quotes dropped, at most
// 199 characters returned, and a missing file, section or key giving the default. The file is read
// once, as UTF-8; a file that cannot be read (no regular file, larger than LargestProfileFile)
// behaves as an empty one, and is logged.
class ProfileFile final {
public:
    static constexpr int MaxValueLength = 199;

    ProfileFile() = default;
    static ProfileFile load(const QString& filePath);
    static ProfileFile parse(const QByteArray& content);

    QString value(const QString& section, const QString& key, const QString& defaultValue = QString()) const;
    // The value, or nothing when the section or the key is missing (an empty value is there).
    std::optional<QString> find(const QString& section, const QString& key) const;
    // Section names in file order, as written (duplicates merged into the first).
    QStringList sectionNames() const;
    // The key names of a section in file order, as first written (empty for a missing section).
    QStringList keyNames(const QString& section) const;

private:
    struct Entry {
        QString key;
        QString value;
    };
    struct Section {
        QString name;
        QVector<Entry> entries;
    };
    QVector<Section> m_sections;
    // Index into m_sections by the case-folded name without its surrounding blanks.
    QHash<QString, qsizetype> m_sectionIndex;
};
