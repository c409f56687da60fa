#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// One zip file made of files and bytes, with libzip.
namespace pack {

struct ZipEntry {
    QString name;       // the path inside the zip, '/' between folders
    QString sourceFile; // read from this file, stored as it is (pictures are compressed already) ...
    QByteArray bytes;   // ... or, without a source file, these bytes, compressed
};

// libzip writes the whole zip into a temporary file beside the target and renames it over the
// target only once every entry is in, so a failed write leaves whatever lay there before.
// False, and libzip's reason in *problem, when it fails.
bool writeZip(const QString& target, const QVector<ZipEntry>& entries, QString* problem);

} // namespace pack
