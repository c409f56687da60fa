// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <qcoro/qcorotask.h>

class Downloader;

// The updater is a program that arrives over plain HTTP and is started at once, so anyone between
// the user and the home site could hand over a program of their own. It is therefore started only
// when it carries a detached Ed25519 signature (64 raw bytes, served beside it as
// "/brl/uuendus.exe.sig") made with the secret half of a key whose public half the program knows.

// The release key's public half. Its secret half is kept off the repository by whoever signs
// releases.
inline const QString ReleasePublicKey = QStringLiteral("FfzL2YMkxvHgHjfMWfjmuAsDcdqnqVjkrnox1eyBPLw=");

// The key of brisel.ini's [update] pubkey when there is one, else the release key.
QString updaterPublicKey(const QString& configuredKey);

// True only for a 64-byte signature of exactly these bytes under the base64 public key; a key
// that is not base64 of 32 bytes accepts nothing.
bool isAuthenticUpdater(const QByteArray& program, const QByteArray& signature,
                        const QString& publicKeyBase64);

// Fetches the updater and its signature from the home site into the given path and the path with
// ".sig" appended, replacing whatever was there. True when the updater is authentic; it is then
// executable. Otherwise nothing of it is left behind. The signature file never stays.
QCoro::Task<bool> fetchAuthenticUpdater(Downloader& downloader, QUrl home, QString updaterPath,
                                        QString publicKeyBase64);
