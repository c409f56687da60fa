// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The updater is started only with a valid signature under the configured or the release key.
#include "windows/updater.h"

#include <gtest/gtest.h>
#include <sodium.h>

namespace {

struct SigningKey {
    SigningKey() {
        EXPECT_GE(sodium_init(), 0);
        crypto_sign_keypair(publicKey, secretKey);
    }
    QString publicBase64() const {
        char text[sodium_base64_ENCODED_LEN(crypto_sign_PUBLICKEYBYTES, sodium_base64_VARIANT_ORIGINAL)];
        sodium_bin2base64(text, sizeof text, publicKey, sizeof publicKey, sodium_base64_VARIANT_ORIGINAL);
        return QString::fromLatin1(text);
    }
    QByteArray sign(const QByteArray& message) const {
        QByteArray signature(crypto_sign_BYTES, '\0');
        crypto_sign_detached(reinterpret_cast<unsigned char*>(signature.data()), nullptr,
                             reinterpret_cast<const unsigned char*>(message.constData()),
                             size_t(message.size()), secretKey);
        return signature;
    }
    unsigned char publicKey[crypto_sign_PUBLICKEYBYTES];
    unsigned char secretKey[crypto_sign_SECRETKEYBYTES];
};

const QByteArray Program = QByteArrayLiteral("#!/bin/sh\necho updater\n");

} // namespace

// Only the bytes signed, under the key that signed them, with a well-formed signature and key.
TEST(UpdaterSignature, AcceptsOnlyTheSignedBytesUnderTheirKey) {
    const SigningKey key;
    const QByteArray signature = key.sign(Program);
    EXPECT_TRUE(isAuthenticUpdater(Program, signature, key.publicBase64()));
    // The update window's tests refuse a tampered updater and the demo's signature under the release
    // key; here are the bytes and keys the demo home site does not send.
    EXPECT_FALSE(isAuthenticUpdater(Program + '\n', signature, key.publicBase64())) << "appended byte";
    EXPECT_FALSE(isAuthenticUpdater(Program, signature, SigningKey().publicBase64())) << "wrong key";
    EXPECT_FALSE(isAuthenticUpdater(Program, QByteArray(), key.publicBase64()));
    EXPECT_FALSE(isAuthenticUpdater(Program, signature.left(63), key.publicBase64()));
    EXPECT_FALSE(isAuthenticUpdater(Program, signature + '\0', key.publicBase64()));
    EXPECT_FALSE(isAuthenticUpdater(Program, signature.toBase64(), key.publicBase64())) << "base64, not raw";
    // Keys that are not base64 of thirty-two bytes.
    const QString good = key.publicBase64();
    for (const QString& bad :
         {QString(), QStringLiteral("not base64 at all!"), good.left(good.size() - 4),
          good + QStringLiteral("AAAA"), QString(good).replace(0, 1, QStringLiteral("*"))}) {
        EXPECT_FALSE(isAuthenticUpdater(Program, signature, bad)) << qPrintable(bad);
    }
}
