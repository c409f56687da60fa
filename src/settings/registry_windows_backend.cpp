// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The settings store's back end on Windows: the registry itself, through its wide-character
// functions. Text crosses the Backend interface as UTF-8 bytes with their NULs (see
// registry_store.cpp); here it is turned into the registry's UTF-16 and back.

#include <QtGlobal>

#ifdef Q_OS_WIN

#include "settings/registry_store.h"
#include "settings/settings_internal.h"

// Included after our header on purpose: <windows.h> defines HKEY_CURRENT_USER, REG_SZ, KEY_READ,
// ERROR_SUCCESS and others as macros, so below them only the Win32 names are used (they have the
// same values as reg::'s), never a reg:: name of the same spelling.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace reg {
namespace {

// A predefined root as <winreg.h> writes it: the 32-bit value sign-extended to a handle.
HKEY rootHandle(RootKey root) {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

HKEY handle(KeyHandle key) {
    return reinterpret_cast<HKEY>(key);
}

const wchar_t* wide(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

bool isText(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

class WindowsBackend final : public Backend {
public:
    Status openKey(RootKey root, const QString& path, std::uint32_t access, KeyHandle* key) override {
        HKEY opened = nullptr;
        const LSTATUS status = RegOpenKeyExW(rootHandle(root), wide(path), 0, access, &opened);
        if (status == ERROR_SUCCESS) {
            *key = reinterpret_cast<KeyHandle>(opened);
        }
        return status;
    }

    Status createKey(RootKey root, const QString& path, std::uint32_t access, KeyHandle* key) override {
        HKEY created = nullptr;
        const LSTATUS status = RegCreateKeyExW(rootHandle(root), wide(path), 0, nullptr,
                                               REG_OPTION_NON_VOLATILE, access, nullptr, &created, nullptr);
        if (status == ERROR_SUCCESS) {
            *key = reinterpret_cast<KeyHandle>(created);
        }
        return status;
    }

    // The whole value is read first, so that the size of a text can be told in UTF-8 bytes.
    Status queryValue(KeyHandle key, const QString& name, std::uint32_t* type, QByteArray* data,
                      std::uint32_t* size) override {
        DWORD storedType = REG_NONE;
        DWORD storedSize = 0;
        LSTATUS status =
            RegQueryValueExW(handle(key), wide(name), nullptr, &storedType, nullptr, &storedSize);
        QByteArray bytes;
        for (int tries = 0; status == ERROR_SUCCESS; ++tries) {
            bytes.resize(static_cast<qsizetype>(storedSize));
            DWORD read = storedSize;
            status = RegQueryValueExW(handle(key), wide(name), nullptr, &storedType,
                                      reinterpret_cast<LPBYTE>(bytes.data()), &read);
            if (status == ERROR_SUCCESS) {
                bytes.resize(static_cast<qsizetype>(read));
                break;
            }
            if (status == ERROR_MORE_DATA && tries < 3) { // the value grew between the two calls
                storedSize = read;
                status = ERROR_SUCCESS;
            }
        }
        if (status != ERROR_SUCCESS) {
            return status;
        }
        if (isText(storedType)) {
            bytes = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), bytes.size() / 2)
                        .toUtf8();
        }
        *type = storedType;
        const auto needed = static_cast<std::uint32_t>(bytes.size());
        if (needed > *size) {
            *size = needed;
            return ERROR_MORE_DATA;
        }
        *data = bytes;
        *size = needed;
        return ERROR_SUCCESS;
    }

    Status setValue(KeyHandle key, const QString& name, std::uint32_t type, const QByteArray& data) override {
        QByteArray bytes = data;
        if (isText(type)) {
            const QString text = textFromUtf8(data); // the NULs stay, as UTF-16 NULs
            bytes = QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        }
        return RegSetValueExW(handle(key), wide(name), 0, type,
                              reinterpret_cast<const BYTE*>(bytes.constData()),
                              static_cast<DWORD>(bytes.size()));
    }

    void closeKey(KeyHandle key) override { RegCloseKey(handle(key)); }
};

} // namespace

std::unique_ptr<Backend> makeWindowsBackend() {
    return std::make_unique<WindowsBackend>();
}

} // namespace reg

#endif // Q_OS_WIN
