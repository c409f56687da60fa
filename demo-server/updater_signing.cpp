// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "updater_signing.h"

#include "demo_server.h"

#include <array>
#include <sodium.h>

namespace demo {

namespace {

struct KeyPair {
    std::array<unsigned char, crypto_sign_PUBLICKEYBYTES> publicKey{};
    std::array<unsigned char, crypto_sign_SECRETKEYBYTES> secretKey{};
};

const KeyPair& demoKeyPair() {
    static const KeyPair pair = [] {
        static_assert(sizeof "brisel-demo-updater-signing-seed" - 1 == crypto_sign_SEEDBYTES);
        const auto* seed = reinterpret_cast<const unsigned char*>("brisel-demo-updater-signing-seed");
        KeyPair made;
        if (sodium_init() < 0) {
            qFatal("libsodium could not be initialised");
        }
        crypto_sign_seed_keypair(made.publicKey.data(), made.secretKey.data(), seed);
        return made;
    }();
    return pair;
}

} // namespace

QString demoUpdaterPublicKey() {
    const auto& key = demoKeyPair().publicKey;
    QByteArray text(int(sodium_base64_ENCODED_LEN(key.size(), sodium_base64_VARIANT_ORIGINAL)), '\0');
    sodium_bin2base64(text.data(), size_t(text.size()), key.data(), key.size(),
                      sodium_base64_VARIANT_ORIGINAL);
    return QString::fromLatin1(text.constData());
}

QByteArray demoSignature(const QByteArray& message) {
    QByteArray signature(crypto_sign_BYTES, '\0');
    crypto_sign_detached(reinterpret_cast<unsigned char*>(signature.data()), nullptr,
                         reinterpret_cast<const unsigned char*>(message.constData()), size_t(message.size()),
                         demoKeyPair().secretKey.data());
    return signature;
}

} // namespace demo
