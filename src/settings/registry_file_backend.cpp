// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The settings store's back end where there is no registry: a file in the registry editor's export
// format (RegistryFile), so that a person can read and edit it and Windows can import it:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\SOFTWARE\Brisel]
//   "Keel"="estonian"
//   "Pikk \"nimi\" C:\\kaust"=dword:00000001
//   "Pilt"=hex:01,02
//
// The file is read when the back end is made. Each change is saved at once: under a lock file
// beside it, the file is read again and only the changed value's line is written anew, so that
// what another Brisel or a person wrote meanwhile stays. The save is atomic and leaves the old
// file whole when it fails, on a full disk too. Only a regular file of at most LargestProfileFile
// bytes is read: anything else at the name gives the default settings.

#include "platform/stored_files.h"
#include "settings/registry_file.h"
#include "settings/registry_store.h"
#include "settings/settings_internal.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <functional>
#include <map>
#include <optional>

namespace reg {
namespace {

// Another program holds the lock only while it saves.
constexpr int LockWaitMs = 5000;

constexpr Status ERROR_ACCESS_DENIED = 5;
constexpr Status ERROR_INVALID_HANDLE = 6;
constexpr Status ERROR_INVALID_PARAMETER = 87;
constexpr std::uint32_t KEY_QUERY_VALUE = 0x0001;
constexpr std::uint32_t KEY_SET_VALUE = 0x0002;

class FileBackend final : public Backend {
public:
    explicit FileBackend(QString filePath) : m_path(std::move(filePath)) { load(); }

    Status openKey(RootKey root, const QString& path, std::uint32_t access, KeyHandle* key) override {
        if (!RegistryFile::knownRoot(root)) {
            return ERROR_INVALID_HANDLE;
        }
        if (!m_file.keyExists(root, path)) {
            return ERROR_FILE_NOT_FOUND;
        }
        *key = open(root, path, access);
        return ERROR_SUCCESS;
    }

    Status createKey(RootKey root, const QString& path, std::uint32_t access, KeyHandle* key) override {
        if (!RegistryFile::knownRoot(root)) {
            return ERROR_INVALID_HANDLE;
        }
        if (!RegistryFile::writableName(path)) {
            return ERROR_INVALID_PARAMETER;
        }
        if (!m_file.keyExists(root, path) &&
            !save([&](RegistryFile& file) { return file.addKey(root, path); })) {
            return ERROR_ACCESS_DENIED;
        }
        *key = open(root, path, access);
        return ERROR_SUCCESS;
    }

    Status queryValue(KeyHandle handle, const QString& name, std::uint32_t* type, QByteArray* data,
                      std::uint32_t* size) override {
        const auto open = m_open.find(handle);
        if (open == m_open.end()) {
            return ERROR_INVALID_HANDLE;
        }
        if (!(open->second.access & KEY_QUERY_VALUE)) {
            return ERROR_ACCESS_DENIED;
        }
        const std::optional<RegistryFile::Value> value =
            m_file.value(open->second.root, open->second.path, name);
        if (!value) {
            return ERROR_FILE_NOT_FOUND;
        }
        *type = value->type;
        const auto needed = static_cast<std::uint32_t>(value->data.size());
        if (needed > *size) {
            *size = needed;
            return ERROR_MORE_DATA;
        }
        *data = value->data;
        *size = needed;
        return ERROR_SUCCESS;
    }

    Status setValue(KeyHandle handle, const QString& name, std::uint32_t type,
                    const QByteArray& data) override {
        const auto open = m_open.find(handle);
        if (open == m_open.end()) {
            return ERROR_INVALID_HANDLE;
        }
        if (!(open->second.access & KEY_SET_VALUE)) {
            return ERROR_ACCESS_DENIED;
        }
        if (!RegistryFile::writableName(name)) {
            return ERROR_INVALID_PARAMETER;
        }
        const OpenKey& key = open->second;
        const bool saved =
            save([&](RegistryFile& file) { return file.setValue(key.root, key.path, name, type, data); });
        return saved ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
    }

    void closeKey(KeyHandle key) override { m_open.erase(key); }

private:
    struct OpenKey {
        RootKey root;
        QString path;
        std::uint32_t access;
    };

    KeyHandle open(RootKey root, const QString& path, std::uint32_t access) {
        const KeyHandle handle = m_nextHandle++;
        m_open.emplace(handle, OpenKey{root, path, access});
        return handle;
    }

    QString shownPath() const { return QDir::toNativeSeparators(m_path); }

    // What is at the file's name: its bytes (none when there is no file), a regular file too large
    // to be ours, or something that cannot be read (a FIFO, a folder, a file without permission).
    struct Found {
        enum { Bytes, TooLarge, Unreadable } kind;
        QByteArray bytes = {};
        QString why = {};
    };

    Found readFile() const {
        const QString file = linkedFile();
        if (!QFileInfo::exists(file)) {
            return {.kind = Found::Bytes};
        }
        Expected<QByteArray> bytes = readRegularFile(file, LargestProfileFile);
        if (bytes) {
            return {.kind = Found::Bytes, .bytes = std::move(*bytes)};
        }
        if (isRegularFile(file) && QFileInfo(file).size() > LargestProfileFile) {
            return {.kind = Found::TooLarge, .why = bytes.error()};
        }
        return {.kind = Found::Unreadable, .why = bytes.error()};
    }

    // A file that cannot be read, or is too large to, gives the default settings; a too large one is
    // set aside at the first save.
    void load() {
        const Found found = readFile();
        if (found.kind == Found::Unreadable) {
            qCWarning(lcSettings).noquote()
                << QStringLiteral("The settings file %1 cannot be read (%2); the default settings apply.")
                       .arg(shownPath(), found.why);
            return;
        }
        if (found.kind == Found::TooLarge) {
            return;
        }
        m_file = RegistryFile::parse(found.bytes);
        if (m_file.unreadableLines() > 0) {
            qCInfo(lcSettings).noquote()
                << QStringLiteral("%1 lines of the settings file %2 cannot be read; they give no value and "
                                  "are kept as they stand.")
                       .arg(m_file.unreadableLines())
                       .arg(shownPath());
        }
    }

    // Makes the change on the file as it is now, under the lock, and saves it when it changed.
    bool save(const std::function<bool(RegistryFile&)>& change) {
        if (!makeFolder()) {
            return false;
        }
        QLockFile lock(m_path + QStringLiteral(".lock"));
        if (!lock.tryLock(LockWaitMs)) {
            const QString why = lock.error() == QLockFile::LockFailedError
                                    ? QStringLiteral("another program holds its lock file")
                                    : QStringLiteral("its lock file cannot be made");
            qCWarning(lcSettings).noquote()
                << QStringLiteral("The settings file %1 cannot be written: %2.").arg(shownPath(), why);
            return false;
        }
        const std::optional<QByteArray> current = readForSave();
        if (!current) {
            return false;
        }
        RegistryFile file = RegistryFile::parse(*current);
        if (change(file) && !write(file.bytes())) {
            m_file = RegistryFile::parse(*current);
            return false;
        }
        m_file = std::move(file);
        return true;
    }

    bool makeFolder() const {
        const QString folder = QFileInfo(m_path).absolutePath();
        if (QFileInfo(folder).isDir()) {
            return true;
        }
        if (!QDir().mkpath(folder)) {
            qCWarning(lcSettings).noquote() << QStringLiteral("The settings folder %1 cannot be made.")
                                                   .arg(QDir::toNativeSeparators(folder));
            return false;
        }
        // The settings hold the provider password: the folder made for them is the owner's alone.
        QFile::setPermissions(folder,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        return true;
    }

    // The file's bytes as they are now, empty when there is none (or a too large one was set
    // aside); nothing when they cannot be read, for then a save would lose them.
    std::optional<QByteArray> readForSave() {
        const Found found = readFile();
        if (found.kind == Found::Unreadable) {
            qCWarning(lcSettings).noquote()
                << QStringLiteral("The settings file %1 cannot be written: it cannot be read first (%2).")
                       .arg(shownPath(), found.why);
            return std::nullopt;
        }
        if (found.kind == Found::Bytes) {
            return found.bytes;
        }
        return setAside() ? std::optional(QByteArray()) : std::nullopt;
    }

    // Keeps a file too large to read under a name of its own, so that the new one does not
    // overwrite what the user may want back.
    bool setAside() {
        const QString base = m_path + QStringLiteral(".broken-") +
                             QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddhhmmss"));
        QString aside = base;
        for (int n = 2; QFileInfo(aside).exists() || QFileInfo(aside).isSymLink(); ++n) {
            aside = base + QLatin1Char('-') + QString::number(n);
        }
        const QString size = QString::number(LargestProfileFile);
        if (!QFile::rename(m_path, aside)) {
            qCWarning(lcSettings).noquote()
                << QStringLiteral("The settings file %1 cannot be written: it is larger than %2 bytes and "
                                  "cannot be set aside.")
                       .arg(shownPath(), size);
            return false;
        }
        qCWarning(lcSettings).noquote()
            << QStringLiteral("The settings file %1 is larger than %2 bytes; it is kept as %3 and a new one "
                              "is begun.")
                   .arg(shownPath(), size, QDir::toNativeSeparators(aside));
        return true;
    }

    // A link at the name stays: the file it points at is read and saved.
    QString linkedFile() const { return followLinks(m_path); }

    // Made private to its owner before a byte is written, so the settings are never readable by
    // others; on the disk before its name is, so a power cut cannot take the user's settings.
    bool write(const QByteArray& bytes) const {
        constexpr int OwnerOnly = 0600;
        const Expected<void> saved = saveFile(linkedFile(), bytes, OwnerOnly, Flush::ToDisk);
        if (!saved) {
            qCWarning(lcSettings).noquote() << QStringLiteral("The settings file %1 cannot be written: %2")
                                                   .arg(shownPath(), saved.error());
        }
        return saved.has_value();
    }

    QString m_path;
    RegistryFile m_file = RegistryFile::parse(QByteArray());
    std::map<KeyHandle, OpenKey> m_open;
    KeyHandle m_nextHandle = 1;
};

} // namespace

std::unique_ptr<Backend> makeFileBackend(const QString& filePath) {
    return std::make_unique<FileBackend>(filePath);
}

QString defaultSettingsFilePath() {
    // The XDG rule: a relative $XDG_CONFIG_HOME is invalid and ignored.
    QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (configHome.isEmpty() || QDir::isRelativePath(configHome)) {
        configHome = QDir::homePath() + QStringLiteral("/.config");
    }
    return QDir::cleanPath(configHome + QStringLiteral("/Brisel/settings.reg"));
}

std::unique_ptr<Backend> makeDefaultBackend(const QString& portableFile) {
    if (!portableFile.isEmpty()) {
        return makeFileBackend(portableFile);
    }
#ifdef Q_OS_WIN
    return makeWindowsBackend();
#else
    return makeFileBackend(defaultSettingsFilePath());
#endif
}

} // namespace reg
