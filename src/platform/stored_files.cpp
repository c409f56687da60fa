// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/stored_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <utility>

#ifdef Q_OS_WIN
#include <filesystem>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

constexpr int StagingTagLength = 8;
const QString StagingEnd = QStringLiteral(".part");
// What a tag is made of, and all that a leftover's tag may hold.
constexpr QLatin1StringView StagingTagCharacters("0123456789abcdefghijklmnopqrstuvwxyz");

QString systemReason() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The few calls that differ between POSIX and Windows, which has no links to refuse, no FIFOs that
// block and no permission bits.
#ifdef Q_OS_WIN
using FileStatus = struct _stat64;
int openExisting(const QString& path) {
    return _wopen(reinterpret_cast<const wchar_t*>(path.utf16()), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}
int createNew(const QString& path, int) {
    return _wopen(reinterpret_cast<const wchar_t*>(path.utf16()),
                  _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}
bool statusOf(int fd, FileStatus* status) {
    return _fstat64(fd, status) == 0;
}
bool isRegular(const FileStatus& status) {
    return (status.st_mode & _S_IFMT) == _S_IFREG;
}
qint64 readSome(int fd, char* into, qint64 most) {
    return _read(fd, into, static_cast<unsigned>(std::min<qint64>(most, 1 << 30)));
}
qint64 writeSome(int fd, const char* from, qint64 most) {
    return _write(fd, from, static_cast<unsigned>(std::min<qint64>(most, 1 << 30)));
}
int closeFile(int fd) {
    return _close(fd);
}
bool syncFile(int fd) {
    return _commit(fd) == 0;
}
// Windows keeps a rename once it returns.
void syncFolderOf(const QString&) {}
bool replace(const QString& from, const QString& to) {
    std::error_code error;
    std::filesystem::rename(QFileInfo(from).filesystemFilePath(), QFileInfo(to).filesystemFilePath(), error);
    errno = error.value();
    return !error;
}
bool linkStatus(const QString& path, FileStatus* status) {
    return _wstat64(reinterpret_cast<const wchar_t*>(path.utf16()), status) == 0;
}
bool isFolder(const FileStatus& status) {
    return (status.st_mode & _S_IFMT) == _S_IFDIR;
}
#else
using FileStatus = struct stat;
int openExisting(const QString& path) {
    return ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
}
int createNew(const QString& path, int permissions) {
    return ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                  static_cast<mode_t>(permissions));
}
bool statusOf(int fd, FileStatus* status) {
    return ::fstat(fd, status) == 0;
}
bool isRegular(const FileStatus& status) {
    return S_ISREG(status.st_mode);
}
qint64 readSome(int fd, char* into, qint64 most) {
    return ::read(fd, into, static_cast<size_t>(most));
}
qint64 writeSome(int fd, const char* from, qint64 most) {
    return ::write(fd, from, static_cast<size_t>(most));
}
int closeFile(int fd) {
    return ::close(fd);
}
bool syncFile(int fd) {
    return ::fsync(fd) == 0;
}
// The rename is kept on the disk only once the folder that holds the new name is. Without it a
// power cut brings back the file before the save, whole; so a failure here is no failed save.
void syncFolderOf(const QString& path) {
    const int folder = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}
bool replace(const QString& from, const QString& to) {
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}
bool linkStatus(const QString& path, FileStatus* status) {
    return ::lstat(QFile::encodeName(path).constData(), status) == 0;
}
bool isFolder(const FileStatus& status) {
    return S_ISDIR(status.st_mode);
}
#endif

// Closes the descriptor however the read ends.
class OpenedFile final {
public:
    explicit OpenedFile(int fd) : m_fd(fd) {}
    ~OpenedFile() {
        if (m_fd >= 0) {
            closeFile(m_fd);
        }
    }
    OpenedFile(const OpenedFile&) = delete;
    OpenedFile& operator=(const OpenedFile&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

// O_NOFOLLOW refuses a link at the name with ELOOP, whose own words ("Too many levels of symbolic
// links") would send a person looking for a loop.
QString openFailure() {
    return errno == ELOOP ? QStringLiteral("Not a regular file but a link") : systemReason();
}

QString tooLarge(qint64 limit) {
    return QStringLiteral("Larger than %1 bytes").arg(limit);
}

// Reads to the end, one byte beyond the limit at most, so a file that grew since it was measured
// is still caught.
Expected<QByteArray> readUpTo(int fd, qint64 limit, qint64 measured) {
    QByteArray bytes(std::min(measured, limit) + 1, Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > limit) {
                return failed(tooLarge(limit));
            }
            bytes.resize(std::min(2 * bytes.size(), limit + 1));
        }
        const qint64 got = readSome(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return failed(systemReason());
        }
        if (got == 0) {
            bytes.truncate(filled);
            return bytes;
        }
        filled += got;
    }
}

QString stagingTag() {
    QString tag;
    for (int i = 0; i < StagingTagLength; ++i) {
        tag += StagingTagCharacters[QRandomGenerator::global()->bounded(StagingTagCharacters.size())];
    }
    return tag;
}

// A hidden name in the target's own folder, so the rename never crosses file systems and no chart
// listing shows it.
QString stagingPathFor(const QString& target) {
    const QFileInfo info(target);
    return info.dir().filePath(QLatin1Char('.') + info.fileName() + QLatin1Char('.') + stagingTag() +
                               StagingEnd);
}

// The platform's file times in nanoseconds since the epoch; Windows counts whole seconds.
#ifdef Q_OS_WIN
qint64 modifiedNs(const FileStatus& status) {
    return static_cast<qint64>(status.st_mtime) * 1'000'000'000;
}
qint64 changedNs(const FileStatus& status) {
    return static_cast<qint64>(status.st_ctime) * 1'000'000'000;
}
#else
qint64 modifiedNs(const FileStatus& status) {
    return static_cast<qint64>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
}
qint64 changedNs(const FileStatus& status) {
    return static_cast<qint64>(status.st_ctim.tv_sec) * 1'000'000'000 + status.st_ctim.tv_nsec;
}
#endif

FileStamp stampOf(const FileStatus& status) {
    return {.size = status.st_size,
            .modifiedNs = modifiedNs(status),
            .changedNs = changedNs(status),
            .inode = static_cast<quint64>(status.st_ino),
            .device = static_cast<quint64>(status.st_dev)};
}

bool changedBefore(const FileStatus& status, std::chrono::seconds age) {
    using namespace std::chrono;
    const system_clock::time_point changed(
        duration_cast<system_clock::duration>(nanoseconds(changedNs(status))));
    return system_clock::now() - changed > age;
}

} // namespace

Expected<StampedBytes> readStampedFile(const QString& path, qint64 limit) {
    const OpenedFile file(openExisting(path));
    if (file.fd() < 0) {
        return failed(openFailure());
    }
    FileStatus status{};
    if (!statusOf(file.fd(), &status)) {
        return failed(systemReason());
    }
    if (!isRegular(status)) {
        return failed(QStringLiteral("Not a regular file"));
    }
    if (status.st_size > limit) {
        return failed(tooLarge(limit));
    }
    return readUpTo(file.fd(), limit, status.st_size).map([&status](QByteArray bytes) {
        return StampedBytes{std::move(bytes), stampOf(status)};
    });
}

Expected<QByteArray> readRegularFile(const QString& path, qint64 limit) {
    return readStampedFile(path, limit).map([](StampedBytes read) { return std::move(read.bytes); });
}

std::optional<FileStamp> regularFileStamp(const QString& path) {
    FileStatus status{};
    if (!linkStatus(path, &status) || !isRegular(status)) {
        return std::nullopt;
    }
    return stampOf(status);
}

bool isRegularFile(const QString& path) {
    return regularFileStamp(path).has_value();
}

QDateTime FileStamp::modified() const {
    return QDateTime::fromMSecsSinceEpoch(modifiedNs / 1'000'000);
}

QString followLinks(const QString& path) {
    constexpr int MostLinks = 40; // as the system follows them
    QFileInfo file(path);
    for (int links = 0; file.isSymLink() && links < MostLinks; ++links) {
        file.setFile(file.symLinkTarget());
    }
    return file.filePath();
}

StagedFile::StagedFile(QString target) : m_target(std::move(target)) {}

StagedFile::~StagedFile() {
    discard();
}

Expected<void> StagedFile::open(int permissions) {
    if (!m_failure.isEmpty()) {
        return failed(m_failure);
    }
    // Another name is tried only in the unlikely case that this one was taken meanwhile.
    for (int attempt = 0; attempt < 4 && m_fd < 0; ++attempt) {
        m_staging = stagingPathFor(m_target);
        m_fd = createNew(m_staging, permissions);
        if (m_fd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (m_fd < 0) {
        m_staging.clear();
        return fail(systemReason());
    }
    return {};
}

// The first failure stands for every call after it.
Expected<void> StagedFile::writable() {
    if (!m_failure.isEmpty()) {
        return failed(m_failure);
    }
    if (m_fd < 0) {
        return fail(QStringLiteral("The file was not opened"));
    }
    return {};
}

Expected<void> StagedFile::write(QByteArrayView bytes) {
    if (const Expected<void> usable = writable(); !usable) {
        return usable;
    }
    const char* next = bytes.data();
    qint64 left = bytes.size();
    while (left > 0) {
        const qint64 written = writeSome(m_fd, next, left);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0) {
            return fail(systemReason());
        }
        next += written;
        left -= written;
    }
    return {};
}

Expected<void> StagedFile::commit(Flush flush) {
    if (const Expected<void> usable = writable(); !usable) {
        return usable;
    }
    if (flush == Flush::ToDisk && !syncFile(m_fd)) {
        return fail(systemReason());
    }
    // A file system that writes late (NFS, a full quota) may tell only here that bytes were lost.
    if (closeFile(std::exchange(m_fd, -1)) != 0) {
        return fail(systemReason());
    }
    if (!replace(m_staging, m_target)) {
        return fail(systemReason());
    }
    m_staging.clear();
    if (flush == Flush::ToDisk) {
        syncFolderOf(m_target);
    }
    return {};
}

void StagedFile::discard() {
    if (m_fd >= 0) {
        closeFile(std::exchange(m_fd, -1));
    }
    if (!m_staging.isEmpty()) {
        QFile::remove(std::exchange(m_staging, QString()));
    }
}

tl::unexpected<QString> StagedFile::fail(const QString& reason) {
    m_failure = reason;
    discard();
    return failed(reason);
}

Expected<void> saveFile(const QString& path, QByteArrayView bytes, int permissions, Flush flush) {
    StagedFile file(path);
    return file.open(permissions).and_then([&] { return file.write(bytes); }).and_then([&] {
        return file.commit(flush);
    });
}

bool isStagingName(const QString& fileName) {
    const qsizetype tagStart = fileName.size() - StagingEnd.size() - StagingTagLength;
    // A dot, at least one character of the target's name, a dot, the tag, ".part".
    if (tagStart < 3 || !fileName.startsWith(QLatin1Char('.')) || !fileName.endsWith(StagingEnd) ||
        fileName[tagStart - 1] != QLatin1Char('.')) {
        return false;
    }
    const QStringView tag = QStringView(fileName).mid(tagStart, StagingTagLength);
    return std::all_of(tag.begin(), tag.end(), [](QChar c) { return StagingTagCharacters.contains(c); });
}

int removeStagingLeftovers(const QString& folder, std::chrono::seconds olderThan) {
    const QDir dir(folder);
    int removed = 0;
    for (const QString& name :
         dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const QString path = dir.filePath(name);
        FileStatus status{};
        if (isStagingName(name) && linkStatus(path, &status) && !isFolder(status) &&
            changedBefore(status, olderThan) && QFile::remove(path)) {
            ++removed;
        }
    }
    return removed;
}
