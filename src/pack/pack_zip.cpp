// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pack/pack_zip.h"

#include <QFile>
#include <zip.h>

namespace pack {
namespace {

// The bytes are given, never a file's name: libzip would open whatever lies at the name.
bool addEntry(zip_t* archive, const ZipEntry& entry) {
    zip_source_t* source =
        zip_source_buffer(archive, entry.bytes.constData(), static_cast<zip_uint64_t>(entry.bytes.size()), 0);
    if (!source) {
        return false;
    }
    const zip_int64_t index =
        zip_file_add(archive, entry.name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
    if (index < 0) {
        zip_source_free(source);
        return false;
    }
    return entry.storage == ZipEntry::Compressed ||
           zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0) == 0;
}

// Gives up the archive, leaving the target as it was, and says why it failed.
tl::unexpected<QString> discarded(zip_t* archive) {
    const QString problem = QString::fromLocal8Bit(zip_strerror(archive));
    zip_discard(archive);
    return failed(problem);
}

QString openProblem(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = QString::fromLocal8Bit(zip_error_strerror(&error));
    zip_error_fini(&error);
    return text;
}

} // namespace

Expected<void> writeZip(const QString& target, const QVector<ZipEntry>& entries) {
    int code = 0;
    zip_t* archive = zip_open(QFile::encodeName(target).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive) {
        return failed(openProblem(code));
    }
    for (const ZipEntry& entry : entries) {
        if (!addEntry(archive, entry)) {
            return discarded(archive);
        }
    }
    // The file is written only now; the entries' bytes live until then.
    if (zip_close(archive) != 0) {
        return discarded(archive);
    }
    return {};
}

} // namespace pack
