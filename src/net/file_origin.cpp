// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/file_origin.h"

#include <QFile>

#ifdef Q_OS_LINUX
#include <sys/xattr.h>
#endif

namespace {

#ifdef Q_OS_LINUX
constexpr const char* OriginUrl = "user.xdg.origin.url";
constexpr const char* LastModified = "user.brisel.last_modified";
constexpr const char* ETag = "user.brisel.etag";
constexpr const char* Freshness = "user.brisel.freshness";
// No attribute of ours is longer: ext4 holds all of a file's attributes in one block, so whether a
// longer one were kept would depend on the disk; and a validator longer than any real server's is
// hostile, not worth sending back. One found longer on a file was not written by us.
constexpr ssize_t LargestAttribute = 4096;

QByteArray attribute(const QByteArray& path, const char* name) {
    const ssize_t size = lgetxattr(path.constData(), name, nullptr, 0);
    if (size <= 0 || size > LargestAttribute) {
        return {};
    }
    QByteArray value(static_cast<qsizetype>(size), Qt::Uninitialized);
    const ssize_t read = lgetxattr(path.constData(), name, value.data(), static_cast<size_t>(value.size()));
    return read == size ? value : QByteArray();
}

bool setAttribute(const QByteArray& path, const char* name, const QByteArray& value) {
    return value.isEmpty() ||
           (value.size() <= LargestAttribute &&
            lsetxattr(path.constData(), name, value.constData(), static_cast<size_t>(value.size()), 0) == 0);
}
#endif

} // namespace

std::optional<FileOrigin> readFileOrigin([[maybe_unused]] const QString& path) {
#ifdef Q_OS_LINUX
    const QByteArray file = QFile::encodeName(path);
    const QByteArray url = attribute(file, OriginUrl);
    if (!url.isEmpty()) {
        FileOrigin origin{url, attribute(file, LastModified), attribute(file, ETag)};
        origin.freshness = decodeFreshness(attribute(file, Freshness));
        if (origin.freshness) {
            origin.freshness->lastModified = origin.lastModified;
        }
        return origin;
    }
#endif
    return std::nullopt;
}

bool writeFileOrigin([[maybe_unused]] const QString& path, [[maybe_unused]] const FileOrigin& origin) {
#ifdef Q_OS_LINUX
    const QByteArray file = QFile::encodeName(path);
    // The address goes last: once it is there, so is what the reply said of itself.
    return setAttribute(file, LastModified, origin.lastModified) && setAttribute(file, ETag, origin.etag) &&
           (!origin.freshness || setAttribute(file, Freshness, encodeFreshness(*origin.freshness))) &&
           setAttribute(file, OriginUrl, origin.url);
#else
    return false;
#endif
}

bool renewFreshness([[maybe_unused]] const QString& path, [[maybe_unused]] const FreshnessRecord& freshness) {
#ifdef Q_OS_LINUX
    return setAttribute(QFile::encodeName(path), Freshness, encodeFreshness(freshness));
#else
    return false;
#endif
}
