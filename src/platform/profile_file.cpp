// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/profile_file.h"

#include "platform/stored_files.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSet>

namespace {

Q_LOGGING_CATEGORY(lcProfile, "brisel.profile", QtWarningMsg)

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QStringView trimmedBlanks(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }
    return text.sliced(begin, end - begin);
}

// The profile reader's value: blanks around it dropped, then one pair of enclosing quotes (both "
// or both '), then cut to MaxValueLength characters (never between the halves of a surrogate pair).
QString profileValue(QStringView raw) {
    QStringView value = trimmedBlanks(raw);
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
        value.back() == value.front()) {
        value = value.sliced(1, value.size() - 2);
    }
    if (value.size() > ProfileFile::MaxValueLength) {
        qsizetype length = ProfileFile::MaxValueLength;
        if (value[length - 1].isHighSurrogate()) {
            --length;
        }
        value = value.first(length);
    }
    return value.toString();
}

} // namespace

// A missing file is usual (the user's own lang.ini), and silent; one that is there and cannot be
// read, a FIFO or a file far larger than any of ours, is said, for it stands for no settings at all.
ProfileFile ProfileFile::load(const QString& filePath) {
    const QString file = followLinks(filePath);
    const Expected<QByteArray> bytes = readRegularFile(file, LargestProfileFile);
    if (bytes) {
        return parse(*bytes);
    }
    if (QFileInfo(file).exists()) {
        qCWarning(lcProfile).noquote() << QStringLiteral("%1 cannot be read (%2); it is taken as empty.")
                                              .arg(QDir::toNativeSeparators(filePath), bytes.error());
    }
    return ProfileFile();
}

ProfileFile ProfileFile::parse(const QByteArray& content) {
    ProfileFile profile;
    QByteArrayView bytes(content);
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes = bytes.sliced(3);
    }
    const QString text = QString::fromUtf8(bytes); // malformed bytes become U+FFFD, NULs stay
    Section* section = nullptr;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        line = trimmedBlanks(line);
        if (line.endsWith(QLatin1Char('\r'))) {
            line = trimmedBlanks(line.chopped(1));
        }
        if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) {
            continue;
        }
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype close = line.lastIndexOf(QLatin1Char(']'));
            if (close > 0) {
                const QString name = line.sliced(1, close - 1).toString();
                const QString folded = trimmedBlanks(name).toString().toCaseFolded();
                auto known = profile.m_sectionIndex.constFind(folded);
                if (known == profile.m_sectionIndex.constEnd()) {
                    known = profile.m_sectionIndex.insert(folded, profile.m_sections.size());
                    profile.m_sections.append(Section{name, {}});
                }
                section = &profile.m_sections[*known];
                continue;
            }
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (section == nullptr || equals < 0) {
            continue; // neither a section nor key=value: ignored
        }
        const QStringView key = trimmedBlanks(line.first(equals));
        if (!key.isEmpty()) {
            section->entries.append(Entry{key.toString(), profileValue(line.sliced(equals + 1))});
        }
    }
    return profile;
}

QString ProfileFile::value(const QString& section, const QString& key, const QString& defaultValue) const {
    return find(section, key).value_or(defaultValue);
}

std::optional<QString> ProfileFile::find(const QString& section, const QString& key) const {
    const auto found = m_sectionIndex.constFind(trimmedBlanks(section).toString().toCaseFolded());
    if (found == m_sectionIndex.constEnd()) {
        return std::nullopt;
    }
    const QStringView wanted = trimmedBlanks(key);
    for (const Entry& entry : m_sections[*found].entries) { // the first of equal keys counts
        if (wanted.compare(entry.key, Qt::CaseInsensitive) == 0) {
            return entry.value;
        }
    }
    return std::nullopt;
}

QStringList ProfileFile::sectionNames() const {
    QStringList names;
    names.reserve(m_sections.size());
    for (const Section& section : m_sections) {
        names.append(section.name);
    }
    return names;
}

QStringList ProfileFile::keyNames(const QString& section) const {
    QStringList names;
    const auto found = m_sectionIndex.constFind(trimmedBlanks(section).toString().toCaseFolded());
    if (found != m_sectionIndex.constEnd()) {
        QSet<QString> seen;
        for (const Entry& entry : m_sections[*found].entries) {
            if (!seen.contains(entry.key.toCaseFolded())) {
                seen.insert(entry.key.toCaseFolded());
                names.append(entry.key);
            }
        }
    }
    return names;
}
