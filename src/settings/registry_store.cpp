// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/registry_store.h"

#include "settings/settings_internal.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

Q_LOGGING_CATEGORY(lcSettings, "brisel.settings", QtWarningMsg)

// Text crosses the back-end interface as UTF-8 bytes rather than in an ANSI code page, so that
// Estonian and Latvian letters survive on every system: a REG_SZ is the text's UTF-8 bytes and one
// NUL, a REG_MULTI_SZ ends in two NUL bytes. The Windows back end converts to and from the
// registry's UTF-16; the file back end keeps the bytes. So every rule below that counts
// "characters" of the buffer counts these bytes.

namespace reg {
namespace {

constexpr std::uint32_t FirstQuerySize = 1024;

// The buffer of a successful query cut to the size the back end reported (never beyond what it
// filled).
QByteArray filled(const QByteArray& buffer, std::uint32_t size) {
    return buffer.left(static_cast<qsizetype>(std::min<std::uint64_t>(size, buffer.size())));
}

// ReadRegValue step 4: the result by the stored type, or nothing for a type the module does not read.
QVariant fromRegistryData(std::uint32_t type, const QByteArray& data) {
    switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ: // environment references stay as they are
        return textFromUtf8(data.left(std::max<qsizetype>(data.size() - 1, 0)));
    case REG_MULTI_SZ: // the inner NULs between the items stay in the string
        return textFromUtf8(data.left(std::max<qsizetype>(data.size() - 2, 0)));
    case REG_DWORD: {
        char bytes[4] = {0, 0, 0, 0}; // a shorter value reads as if the rest of the buffer were zero
        std::copy_n(data.constData(), std::min<qsizetype>(data.size(), 4), bytes);
        return QVariant(static_cast<int>(qFromLittleEndian<qint32>(bytes)));
    }
    case REG_BINARY:
        return data;
    default:
        return QVariant();
    }
}

QByteArray dwordData(qint32 value) {
    QByteArray data(4, '\0');
    qToLittleEndian(value, data.data());
    return data;
}

struct RegistryData {
    std::uint32_t type = REG_NONE;
    QByteArray data;
};

// WriteRegValue step 2: the registry type and data for a value, or nothing for a type that cannot
// be stored (Boolean, Date, Double, ...).
std::optional<RegistryData> toRegistryData(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QString:
        return RegistryData{REG_SZ, value.toString().toUtf8() + '\0'};
    case QMetaType::Short:
        return RegistryData{REG_DWORD, dwordData(value.value<qint16>())};
    case QMetaType::Int:
        return RegistryData{REG_DWORD, dwordData(value.toInt())};
    case QMetaType::Float: {
        // Rounded half to even, as a Single converts to a whole number. A value outside the
        // 32-bit range (or NaN) has no whole number to store and is not written.
        const double rounded = std::nearbyint(static_cast<double>(value.toFloat()));
        if (!(rounded >= std::numeric_limits<qint32>::min() &&
              rounded <= std::numeric_limits<qint32>::max())) {
            return std::nullopt;
        }
        return RegistryData{REG_DWORD, dwordData(static_cast<qint32>(rounded))};
    }
    case QMetaType::QByteArray:
        return RegistryData{REG_BINARY, value.toByteArray()};
    default:
        return std::nullopt;
    }
}

} // namespace

QString textFromUtf8(QByteArrayView utf8) {
    constexpr QByteArrayView Bom("\xEF\xBB\xBF");
    if (utf8.startsWith(Bom)) {
        return QChar(0xFEFF) + QString::fromUtf8(utf8.sliced(Bom.size()));
    }
    return QString::fromUtf8(utf8);
}

QString errorMessage(Status status) {
    switch (status) {
    case 1:
        return QStringLiteral("Registry error: Bad Database");
    case 2:
        return QStringLiteral("Registry error: Bad Key");
    case 3:
        return QStringLiteral("Registry error: Cannot Open");
    case 4:
        return QStringLiteral("Registry error: Cannot Read");
    case 5:
        return QStringLiteral("Registry error: Cannot Write");
    case 6:
        return QStringLiteral("Registry error: Out Of Memory");
    case 7:
        return QStringLiteral("Registry error: Invalid Parameter");
    case 8:
        return QStringLiteral("Registry error: Access Is Denied");
    case 87:
        return QStringLiteral("Registry error: Invalid Parameters");
    case 259:
        return QStringLiteral("Registry error: No More Items");
    default:
        return QString();
    }
}

Store::Store(std::unique_ptr<Backend> backend) : m_backend(std::move(backend)) {
    Q_ASSERT(m_backend);
}

void Store::setErrorReporter(ErrorReporter reporter) {
    m_reportError = std::move(reporter);
}

QVariant Store::ReadRegValue(RootKey root, const QString& keyPath, const QString& valueName,
                             const QVariant& defaultValue) const {
    QVariant result = defaultValue;
    KeyHandle key = 0;
    if (m_backend->openKey(root, keyPath, KEY_READ, &key) != ERROR_SUCCESS) {
        return result;
    }
    std::uint32_t type = REG_NONE;
    std::uint32_t size = FirstQuerySize;
    QByteArray buffer(size, '\0');
    Status status = m_backend->queryValue(key, valueName, &type, &buffer, &size);
    if (status == ERROR_MORE_DATA) {
        buffer = QByteArray(static_cast<qsizetype>(size), '\0');
        status = m_backend->queryValue(key, valueName, &type, &buffer, &size);
    }
    if (status == ERROR_SUCCESS) {
        const QVariant read = fromRegistryData(type, filled(buffer, size));
        if (read.isValid()) {
            result = read;
        }
    }
    m_backend->closeKey(key);
    return result;
}

bool Store::WriteRegValue(RootKey root, const QString& keyPath, const QString& valueName,
                          const QVariant& value) {
    KeyHandle key = 0;
    if (m_backend->openKey(root, keyPath, KEY_WRITE, &key) != ERROR_SUCCESS) {
        // CreateRegKey closes the key it made, so the new key is opened again to write into it.
        if (CreateRegKey(root, keyPath) != ERROR_SUCCESS ||
            m_backend->openKey(root, keyPath, KEY_WRITE, &key) != ERROR_SUCCESS) {
            return false;
        }
    }
    // The key is opened (and made) before the value's type is looked at.
    const std::optional<RegistryData> data = toRegistryData(value);
    if (!data) {
        m_backend->closeKey(key);
        return false;
    }
    const Status status = m_backend->setValue(key, valueName, data->type, data->data);
    if (status != ERROR_SUCCESS) {
        ShowRegError(status);
        m_backend->closeKey(key);
        return false;
    }
    m_backend->closeKey(key);
    return true;
}

Status Store::CreateRegKey(RootKey root, const QString& keyPath) {
    KeyHandle key = 0;
    const Status status = m_backend->createKey(root, keyPath, KEY_CREATE_ALL, &key);
    if (status == ERROR_SUCCESS) {
        m_backend->closeKey(key);
    }
    return status;
}

void Store::ShowRegError(Status status) const {
    const QString message = errorMessage(status);
    if (message.isEmpty()) {
        return;
    }
    if (m_reportError) {
        m_reportError(message);
    } else {
        qCWarning(lcSettings).noquote() << message;
    }
}

} // namespace reg
