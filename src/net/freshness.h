// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <optional>

// How long a stored file stays fresh: the chart folder is a private HTTP cache of the addresses its
// files came from, so a run asks again only for what may have changed (RFC 9111).
//
// What the reply said of its freshness is kept as the server sent it, with the moment it was
// received on the system clock, in seconds since the epoch (UTC). Only the server's own times are
// compared with each other and only the system clock's with each other: a boat's laptop clock may
// be wrong by hours, and the moment a user sets with --now is no clock at all.
struct FreshnessRecord {
    QByteArray cacheControl;
    QByteArray expires;
    QByteArray date;
    QByteArray age;
    QByteArray lastModified;
    qint64 receivedAt = 0;
};

// Whether a file, whole and from the very address asked for, needs no request at `now`. In this
// order: no-store, no-cache or max-age=0 ask every time; else max-age, else Expires minus Date
// (Expires without a Date is never fresh); else a file whose address names what it holds for good
// (`fixedOncePublished`, a provider chart of a named model run and lead time) stays fresh for a day
// from its receipt; else Last-Modified gives a tenth of its age at Date, at most 15 minutes. Its age
// is the server's Age plus the time since receipt; a clock that went back makes nothing fresh.
bool isFresh(const FreshnessRecord& record, qint64 now, bool fixedOncePublished);

// The record as one attribute's text, and back; nothing for a text that is not one. Last-Modified
// is left out: the file keeps it beside its address as a validator.
QByteArray encodeFreshness(const FreshnessRecord& record);
std::optional<FreshnessRecord> decodeFreshness(const QByteArray& text);
