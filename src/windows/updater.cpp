// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/updater.h"

#include "net/fetch.h"
#include "platform/stored_files.h"
#include "windows/home_site.h"

#include <QFile>
#include <optional>
#include <sodium.h>

namespace {

std::optional<QByteArray> decodedPublicKey(const QString& base64) {
    const QByteArray text = base64.trimmed().toLatin1();
    QByteArray key(crypto_sign_PUBLICKEYBYTES, Qt::Uninitialized);
    size_t length = 0;
    const int decoded =
        sodium_base642bin(reinterpret_cast<unsigned char*>(key.data()), size_t(key.size()), text.constData(),
                          size_t(text.size()), nullptr, &length, nullptr, sodium_base64_VARIANT_ORIGINAL);
    if (decoded != 0 || length != crypto_sign_PUBLICKEYBYTES) {
        return std::nullopt;
    }
    return key;
}

QByteArray fileContents(const QString& path, qint64 limit) {
    return readRegularFile(path, limit).value_or(QByteArray());
}

void makeExecutable(const QString& path) {
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeUser);
}

} // namespace

QString updaterPublicKey(const QString& configuredKey) {
    return configuredKey.trimmed().isEmpty() ? ReleasePublicKey : configuredKey;
}

bool isAuthenticUpdater(const QByteArray& program, const QByteArray& signature,
                        const QString& publicKeyBase64) {
    if (sodium_init() < 0 || signature.size() != crypto_sign_BYTES) {
        return false;
    }
    const std::optional<QByteArray> key = decodedPublicKey(publicKeyBase64);
    return key && crypto_sign_verify_detached(reinterpret_cast<const unsigned char*>(signature.constData()),
                                              reinterpret_cast<const unsigned char*>(program.constData()),
                                              size_t(program.size()),
                                              reinterpret_cast<const unsigned char*>(key->constData())) == 0;
}

// The program is checked as it lies on the disk, just before it is started from there.
QCoro::Task<bool> fetchAuthenticUpdater(Downloader& downloader, QUrl home, QString updaterPath,
                                        QString publicKeyBase64) {
    const QString signaturePath = updaterPath + QStringLiteral(".sig");
    QFile::remove(updaterPath);
    QFile::remove(signaturePath);
    bool authentic = co_await downloader.downloadi(home_site::updaterUrl(home).toString(), updaterPath);
    if (authentic) {
        authentic =
            co_await downloader.downloadi(home_site::updaterSignatureUrl(home).toString(), signaturePath);
    }
    authentic =
        authentic && isAuthenticUpdater(fileContents(updaterPath, LargestUpdaterFile),
                                        fileContents(signaturePath, LargestAnswerFile), publicKeyBase64);
    QFile::remove(signaturePath);
    if (!authentic) {
        QFile::remove(updaterPath);
        co_return false;
    }
    makeExecutable(updaterPath);
    co_return true;
}
