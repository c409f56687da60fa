// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "net/freshness.h"

#include <QByteArray>
#include <QString>
#include <optional>

// Where a stored file came from, kept in the file's extended attributes: the address in
// "user.xdg.origin.url", as wget and browsers write it, and beside it the reply's Last-Modified and
// ETag exactly as the server sent them, and what it said of its freshness. A file system without
// extended attributes keeps nothing, and every fetch of its files is then a whole one; so it is for a
// file whose validators are longer than 4 KiB.
struct FileOrigin {
    QByteArray url;
    QByteArray lastModified;
    QByteArray etag;
    // Nothing for a file stored before freshness was kept: it is stale.
    std::optional<FreshnessRecord> freshness = {};
};

// Nothing when the file records no address.
std::optional<FileOrigin> readFileOrigin(const QString& path);
// False when the file system refused any part; the address is then left out, so a file is never
// taken for one with validators it does not have.
bool writeFileOrigin(const QString& path, const FileOrigin& origin);
// A 304 made the stored file fresh again: its freshness as the new reply said it.
bool renewFreshness(const QString& path, const FreshnessRecord& freshness);
