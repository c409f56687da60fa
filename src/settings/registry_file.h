// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "settings/registry_store.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <vector>

namespace reg {

// A settings file in the registry editor's export format, held as the lines it was read from.
//
// Reading never fails: a line that cannot be read gives no value and stays in the file as it
// stands. Changing a value rewrites only that value's line, or adds one, so whatever a person or
// another program wrote comes back as written. The file keeps its encoding (UTF-8, or UTF-16LE
// after a byte-order mark as Windows exports it), its header ("Windows Registry Editor Version
// 5.00" or "REGEDIT4") and its line breaks; a new file is UTF-8 with LF.
//
// Lines are read as regedit applies them, in order: "Name"=- deletes a value, [-KEY] a key with
// the keys below it; of several lines for one value the last counts. Key paths and value names are
// compared without case.
class RegistryFile final {
public:
    struct Value {
        RootKey root = 0;
        QString keyPath;
        QString name;
        std::uint32_t type = REG_NONE;
        QByteArray data; // text as UTF-8 with its NULs, as the back-end interface carries it
        friend bool operator==(const Value&, const Value&) = default;
    };

    static RegistryFile parse(const QByteArray& bytes);
    QByteArray bytes() const;

    // Every value the file holds, ordered by key and name.
    std::vector<Value> values() const;
    std::optional<Value> value(RootKey root, QStringView keyPath, QStringView name) const;
    // A key exists when it has a section, or a key below it has one; a root key always exists.
    bool keyExists(RootKey root, QStringView keyPath) const;
    // The lines, neither blank nor comments, that give nothing.
    int unreadableLines() const { return m_unreadable; }

    // Each answers whether the file changed: a value that already holds this type and data stays
    // as it was written, and so does a key that exists. The root must be known and the names
    // writable (asserted).
    bool setValue(RootKey root, QStringView keyPath, const QString& name, std::uint32_t type,
                  const QByteArray& data);
    bool addKey(RootKey root, QStringView keyPath);

    static bool knownRoot(RootKey root);
    // A name or key path a line can hold: no line break, no NUL.
    static bool writableName(QStringView name);

private:
    enum class Encoding { Utf8, Utf16le };
    enum class Dialect { Version5, Regedit4 };

    // Lines first to last of the file, as indexes into m_lines.
    struct Span {
        qsizetype first = -1;
        qsizetype last = -1;
    };
    struct KeyLines {
        QString id;
        RootKey root = 0;
        QString path;                // spelled as the file first names it
        qsizetype lastSection = -1;  // its last section's header line
        qsizetype sectionEnd = -1;   // the last line that section holds
        qsizetype lastDeletion = -1; // the last [-KEY] line of this very key
        QHash<QString, Span> values; // by case-folded name: the value's last lines
    };
    struct Mention; // one value's lines as read

    RegistryFile() = default;
    void index();
    static constexpr qsizetype NoKey = -1; // an index into m_keys, for lines that are no key's
    qsizetype sectionLine(QStringView line, qsizetype at);
    std::optional<Mention> readValue(qsizetype& at) const;
    std::optional<Mention> readValue(QStringView firstLine, qsizetype& next) const;
    std::optional<QString> text(qsizetype at) const;
    bool opensSection(qsizetype at) const;
    qsizetype cutoff(RootKey root, const QString& path) const;
    std::optional<Span> liveSpan(RootKey root, const QString& path, QStringView name) const;
    const KeyLines* key(RootKey root, const QString& path) const;

    QByteArray encoded(const QString& line) const;
    void ensureLineBreak(qsizetype at);
    void ensureHeader();
    void insertLines(qsizetype at, const QStringList& lines);
    void insertAfter(qsizetype at, const QString& line);
    void appendSection(RootKey root, const QString& path, const QStringList& lines);
    QString valueLine(const QString& name, std::uint32_t type, const QByteArray& data) const;

    // The file as read: what came before the first line, then the lines with their breaks.
    QByteArray m_bom;
    std::vector<QByteArray> m_lines;
    Encoding m_encoding = Encoding::Utf8;
    QString m_lineBreak = QStringLiteral("\n");

    // What the lines say, found again after each change.
    Dialect m_dialect = Dialect::Version5;
    bool m_hasHeader = false;
    std::vector<KeyLines> m_keys;
    QHash<QString, qsizetype> m_keyIndex; // by key id
    QSet<QString> m_existing;             // the ids of the keys that exist
    int m_unreadable = 0;
};

} // namespace reg
