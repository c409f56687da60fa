// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <functional>
#include <memory>

// The typed settings store: values kept under a key path of a root key, in the registry's own
// terms (types, status codes, access rights), over an exchangeable back end. The registry is the
// back end on Windows; elsewhere a readable .reg file; tests inject status codes.
namespace reg {

using RootKey = std::uint32_t;
using KeyHandle = std::uintptr_t;
using Status = std::int32_t;

inline constexpr RootKey HKEY_CURRENT_USER = 0x80000001u;
inline constexpr const char* BriselKeyPath = "SOFTWARE\\Brisel";

enum ValueType : std::uint32_t {
    REG_NONE = 0,
    REG_SZ = 1,
    REG_EXPAND_SZ = 2,
    REG_BINARY = 3,
    REG_DWORD = 4,
    REG_MULTI_SZ = 7,
};

enum AccessRights : std::uint32_t {
    KEY_READ = 0x20019,
    KEY_WRITE = 0x20006,
    KEY_CREATE_ALL = 0x3F,
};

inline constexpr Status ERROR_SUCCESS = 0;
inline constexpr Status ERROR_FILE_NOT_FOUND = 2;
inline constexpr Status ERROR_MORE_DATA = 234;

// What a back end must do: the five registry calls the store is written against.
class Backend {
public:
    virtual ~Backend() = default;
    virtual Status openKey(RootKey root, const QString& path, std::uint32_t access, KeyHandle* key) = 0;
    virtual Status createKey(RootKey root, const QString& path, std::uint32_t access, KeyHandle* key) = 0;
    // On entry *size is the caller's buffer size. Fills at most *size bytes of data (data holds the
    // value's bytes, *size their count); answers ERROR_MORE_DATA with the needed size in *size when
    // the buffer is too small. type receives the stored type. Text values (REG_SZ, REG_EXPAND_SZ,
    // REG_MULTI_SZ) cross this interface as UTF-8 bytes with their NUL terminators.
    virtual Status queryValue(KeyHandle key, const QString& name, std::uint32_t* type, QByteArray* data,
                              std::uint32_t* size) = 0;
    virtual Status setValue(KeyHandle key, const QString& name, std::uint32_t type,
                            const QByteArray& data) = 0;
    virtual void closeKey(KeyHandle key) = 0;
};

// The file back end: one key per section of a file in the registry editor's export format.
std::unique_ptr<Backend> makeFileBackend(const QString& filePath);
// Where the file back end keeps its file: Brisel/settings.reg in $XDG_CONFIG_HOME, else ~/.config.
QString defaultSettingsFilePath();
// The back end this platform uses; the file back end at portableFile, on every platform, when a
// portable folder carries its settings with it.
std::unique_ptr<Backend> makeDefaultBackend(const QString& portableFile = QString());

// The message for a registry status, or "" when that status has none.
QString errorMessage(Status status);

class Store final {
public:
    using ErrorReporter = std::function<void(const QString& message)>;

    explicit Store(std::unique_ptr<Backend> backend);

    // The windows install a reporter that shows a message box; without one errors are only logged.
    void setErrorReporter(ErrorReporter reporter);
    Backend& backend() { return *m_backend; }

    QVariant ReadRegValue(RootKey root, const QString& keyPath, const QString& valueName,
                          const QVariant& defaultValue = QVariant()) const;
    bool WriteRegValue(RootKey root, const QString& keyPath, const QString& valueName, const QVariant& value);
    Status CreateRegKey(RootKey root, const QString& keyPath);
    void ShowRegError(Status status) const;

private:
    std::unique_ptr<Backend> m_backend;
    ErrorReporter m_reportError;
};

} // namespace reg
