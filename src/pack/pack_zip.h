// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/expected.h"

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
// libzip's reason when it fails.
Expected<void> writeZip(const QString& target, const QVector<ZipEntry>& entries);

} // namespace pack
