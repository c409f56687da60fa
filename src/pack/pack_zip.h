#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// One zip file made of bytes, with libzip.
namespace pack {

struct ZipEntry {
    // Pictures are compressed already and go in as they are.
    enum Storage { AsItIs, Compressed };
    QString name; // the path inside the zip, '/' between folders
    QByteArray bytes;
    Storage storage;
};

// libzip writes the whole zip into a temporary file beside the target and renames it over the
// target only once every entry is in, so a failed write leaves whatever lay there before.
// False, and libzip's reason in *problem, when it fails.
bool writeZip(const QString& target, const QVector<ZipEntry>& entries, QString* problem);

} // namespace pack
