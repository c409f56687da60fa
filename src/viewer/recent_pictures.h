// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/stored_files.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <functional>
#include <list>
#include <optional>
#include <utility>

// The decoded pictures of the files shown lately, so that the slider moved back and forth over
// the week decodes each stored file once. A picture is kept under its file's name and stamp: a
// file changed, replaced or removed since is read again or no longer shown, and nothing is opened
// while the stamp stays. A file that is no picture is remembered as such, so it is not read at
// every step either. What is kept stays within a budget of bytes, the least recently shown going
// first.
//
// The picture type is the caller's (a QImage for the window), so that this logic needs no GUI.
template<class Picture> class RecentPictures final {
public:
    // A picture made of a file's bytes; nothing when they are no picture to show.
    using Decode = std::function<std::optional<Picture>(const QByteArray& bytes)>;
    // The bytes a picture takes in memory.
    using Measure = std::function<qint64(const Picture&)>;

    struct Shown {
        Picture picture;
        QDateTime modified;
    };

    RecentPictures(qint64 budget, Decode decode, Measure measure)
        : m_budget(budget), m_decode(std::move(decode)), m_measure(std::move(measure)) {}

    // The picture of the file at `path`, given the stamp a caller took of it this step (from
    // regularFileStamp): nothing for no regular file and for a file that is no picture.
    std::optional<Shown> picture(const QString& path, const std::optional<FileStamp>& stamp) {
        if (!stamp) {
            forget(path);
            return std::nullopt;
        }
        const auto found = m_index.constFind(path);
        if (found != m_index.constEnd() && (*found)->stamp == *stamp) {
            m_entries.splice(m_entries.begin(), m_entries, *found);
            return shown(m_entries.front());
        }
        forget(path);
        const Expected<StampedBytes> read = readStampedFile(path, LargestPictureFile);
        if (!read) {
            return std::nullopt;
        }
        // Kept under the stamp of what was read, which may be newer than the caller's.
        return shown(remember(path, read->stamp, m_decode(read->bytes)));
    }
    std::optional<Shown> picture(const QString& path) { return picture(path, regularFileStamp(path)); }

    qint64 bytes() const { return m_bytes; }
    qint64 budget() const { return m_budget; }
    qsizetype count() const { return m_entries.size(); }

private:
    struct Entry {
        QString path;
        FileStamp stamp;
        std::optional<Picture> picture;
        qint64 cost;
    };
    using Entries = std::list<Entry>;

    // What remembering a file costs beside its picture: the entry, its name, the index's node.
    static constexpr qint64 EntryCost = 256;

    static std::optional<Shown> shown(const Entry& entry) {
        if (!entry.picture) {
            return std::nullopt;
        }
        return Shown{*entry.picture, entry.stamp.modified()};
    }

    // The new entry is the most recent; the oldest go until the budget holds again. One larger
    // than the whole budget is not kept, so that it does not push out every other.
    Entry remember(const QString& path, const FileStamp& stamp, std::optional<Picture> picture) {
        const qint64 cost = EntryCost + (picture ? m_measure(*picture) : 0);
        Entry entry{path, stamp, std::move(picture), cost};
        if (cost > m_budget) {
            return entry;
        }
        m_entries.push_front(entry);
        m_index.insert(path, m_entries.begin());
        m_bytes += cost;
        while (m_bytes > m_budget) {
            const QString oldest = m_entries.back().path;
            forget(oldest);
        }
        return entry;
    }

    void forget(const QString& path) {
        const auto found = m_index.constFind(path);
        if (found == m_index.constEnd()) {
            return;
        }
        m_bytes -= (*found)->cost;
        m_entries.erase(*found);
        m_index.erase(found);
    }

    qint64 m_budget;
    Decode m_decode;
    Measure m_measure;
    Entries m_entries;
    QHash<QString, typename Entries::iterator> m_index;
    qint64 m_bytes = 0;
};
