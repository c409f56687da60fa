// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

namespace demo {

// Signed with the demo's own updater key pair, made from a fixed seed so that every run of the
// demo signs alike and a demo program folder can be told the public half (demoUpdaterPublicKey)
// in advance. It has nothing to do with the release key.
// The detached Ed25519 signature of the bytes, 64 raw bytes.
QByteArray demoSignature(const QByteArray& message);

} // namespace demo
