// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/expected.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <chrono>
#include <optional>

// The one way Brisel reads and writes the files of its folders, which it must take as hostile:
// another program, a user or a kill may have left anything at a name.
//
// Reading opens first and asks afterwards what was opened (O_NOFOLLOW and O_NONBLOCK, then fstat),
// so nothing can be swapped between the question and the open: a FIFO never blocks, a link is never
// followed out of the folder, and only a regular file is read. The folder itself may be a link.
//
// Writing stages the bytes in a new file beside the target and renames it over the target only
// when every byte was written and the file closed cleanly, so nothing can report success for a cut
// file, and a link at the target is replaced, never written through.

// The largest file of each kind Brisel keeps, which a reader reads at most: a chart, map or
// meteogram; an answer of a server (a spot's reply, the login's, the home site's); the updater; a
// profile file (lang.ini, spots.ini, brisel.ini) or the settings file, which hold a few kilobytes.
inline constexpr qint64 LargestPictureFile = 16 * 1024 * 1024;
inline constexpr qint64 LargestAnswerFile = 1024 * 1024;
inline constexpr qint64 LargestUpdaterFile = 256 * 1024 * 1024;
inline constexpr qint64 LargestProfileFile = 1024 * 1024;

// A whole regular file of at most `limit` bytes; a larger one, a missing one and anything that is
// not a regular file (a FIFO, a folder, a device, a link) fail with the reason.
Expected<QByteArray> readRegularFile(const QString& path, qint64 limit);

// Whether a regular file, not a link, is at the name now.
bool isRegularFile(const QString& path);

// What tells one file at a name from another without opening it. A file replaced by one of the
// same size, even one given the same modification time, has another inode or change time; one
// written anew in place has another modification and change time.
struct FileStamp {
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    quint64 inode = 0;
    quint64 device = 0;

    // When the file was last written, as a person reads it.
    QDateTime modified() const;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the regular file at the name now, from one lstat; nothing when there is none (a
// missing name, a link, a FIFO, a folder).
std::optional<FileStamp> regularFileStamp(const QString& path);

// A file read whole by readRegularFile, with the stamp of the very file that was read.
struct StampedBytes {
    QByteArray bytes;
    FileStamp stamp;
};
Expected<StampedBytes> readStampedFile(const QString& path, qint64 limit);

// The name a chain of links at `path` leads to, or `path` when no link is there: a person may keep
// a file of their own elsewhere, in a folder of dotfiles say, with a link at its name. A chain
// longer than the system follows ends at its last link, which a reader then refuses.
QString followLinks(const QString& path);

// What a commit waits for. The system's cache is enough for a file fetched again at the next run;
// a file that holds what a person chose waits for the disk, so that a power cut right after the
// rename cannot leave an empty file at its name.
enum class Flush { ToSystemCache, ToDisk };

// A file written beside its target under a staging name and put in the target's place on commit.
// Dropped without commit, or on any failure, it leaves nothing behind. Another writer may fill the
// staging name instead, by renaming a whole file over it (a fetch into stagingPath()): the commit
// then puts that file in the target's place, and a discard removes it.
class StagedFile final {
public:
    explicit StagedFile(QString target);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Makes the staging file; `permissions` as for open(2), e.g. 0600 for the settings file.
    Expected<void> open(int permissions = 0644);
    // Unbuffered: a write the disk refuses fails here, at once. The first failure sticks.
    Expected<void> write(QByteArrayView bytes);
    // Closes the staging file, checking the close, and renames it over the target.
    Expected<void> commit(Flush flush = Flush::ToSystemCache);
    void discard();

    // Where the bytes are staged, e.g. to set the file's extended attributes before the commit.
    const QString& stagingPath() const { return m_staging; }
    const QString& target() const { return m_target; }

private:
    // Keeps the reason for every later call and removes the staging file.
    tl::unexpected<QString> fail(const QString& reason);
    Expected<void> writable();

    QString m_target;
    QString m_staging;
    int m_fd = -1;
    QString m_failure;
};

// Writes a whole file through a StagedFile.
Expected<void> saveFile(const QString& path, QByteArrayView bytes, int permissions = 0644,
                        Flush flush = Flush::ToSystemCache);

// Whether a file name is one StagedFile makes.
bool isStagingName(const QString& fileName);
// Removes the staging files in `folder` last changed more than `olderThan` ago: a program killed in
// a write left them, while a younger one may belong to a download still running beside us. The
// number removed.
int removeStagingLeftovers(const QString& folder, std::chrono::seconds olderThan);
