#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Where a stored file came from, kept in the file's extended attributes: the address in
// "user.xdg.origin.url", as wget and browsers write it, and beside it the reply's Last-Modified and
// ETag exactly as the server sent them. A file system without extended attributes keeps nothing,
// and every fetch of its files is then a whole one.
struct FileOrigin {
    QByteArray url;
    QByteArray lastModified;
    QByteArray etag;
};

// Nothing when the file records no address.
std::optional<FileOrigin> readFileOrigin(const QString& path);
// False when the file system refused any part; the address is then left out, so a file is never
// taken for one with validators it does not have.
bool writeFileOrigin(const QString& path, const FileOrigin& origin);
