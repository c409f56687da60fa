// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Private to src/settings: the logging category of the settings store, how its text is decoded, and
// the platform back ends.

#include "settings/registry_store.h"

#include <QByteArrayView>
#include <QLoggingCategory>
#include <QString>
#include <QtGlobal>

Q_DECLARE_LOGGING_CATEGORY(lcSettings)

namespace reg {

// The text of UTF-8 bytes, a leading U+FEFF kept as the character it is (QString::fromUtf8 drops
// it as a byte-order mark).
QString textFromUtf8(QByteArrayView utf8);

#ifdef Q_OS_WIN
// The Windows registry itself (registry_windows_backend.cpp).
std::unique_ptr<Backend> makeWindowsBackend();
#endif

} // namespace reg
