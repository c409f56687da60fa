// The settings store's back end where there is no registry: the keys and their typed values in
// memory, kept in a file in the registry editor's export format (UTF-8), so that a person can read
// it and Windows can import it:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\SOFTWARE\Brisel]
//   "Keel"="estonian"
//   "Pikk \"nimi\" C:\\kaust"=dword:00000001
//   "Pilt"=hex:01,02
//
// REG_SZ is written as quoted text with \\ and \" escaped, unless the text holds a line break or
// another control character (a line of this format cannot hold one): such a text, and every
// REG_EXPAND_SZ and REG_MULTI_SZ, is written as hex(1):, hex(2):, hex(7): with its UTF-16LE bytes,
// as regedit writes them. REG_DWORD is dword:, REG_BINARY hex:, any other type hex(N):. Key paths
// and value names are compared without case, as the registry compares them; a value keeps the
// spelling it was first written with.
//
// The file is read once, when the back end is made, and saved whole, atomically, after every
// change. A file that cannot be read as this format is set aside and the settings start empty.

#include "settings/registry_store.h"
#include "settings/settings_internal.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QtEndian>
#include <map>
#include <optional>
#include <vector>

namespace reg {
namespace {

constexpr qint64 MaxFileSize = 4 * 1024 * 1024;
constexpr QLatin1String Header("Windows Registry Editor Version 5.00");

constexpr Status ERROR_ACCESS_DENIED = 5;
constexpr Status ERROR_INVALID_HANDLE = 6;
constexpr Status ERROR_INVALID_PARAMETER = 87;
constexpr std::uint32_t KEY_QUERY_VALUE = 0x0001;
constexpr std::uint32_t KEY_SET_VALUE = 0x0002;

struct RootName {
    RootKey root;
    QLatin1String name;
};
constexpr RootName RootNames[] = {
    {0x80000000u, QLatin1String("HKEY_CLASSES_ROOT")},   {0x80000001u, QLatin1String("HKEY_CURRENT_USER")},
    {0x80000002u, QLatin1String("HKEY_LOCAL_MACHINE")},  {0x80000003u, QLatin1String("HKEY_USERS")},
    {0x80000005u, QLatin1String("HKEY_CURRENT_CONFIG")},
};

std::optional<QLatin1String> rootName(RootKey root) {
    for (const RootName& r : RootNames) {
        if (r.root == root) {
            return r.name;
        }
    }
    return std::nullopt;
}

std::optional<RootKey> rootFromName(QStringView name) {
    for (const RootName& r : RootNames) {
        if (name.compare(r.name, Qt::CaseInsensitive) == 0) {
            return r.root;
        }
    }
    return std::nullopt;
}

// A key path as it is compared and written: the names between backslashes, empty ones dropped.
QString canonicalPath(QStringView path) {
    QStringList parts;
    for (QStringView part : path.split(QLatin1Char('\\'), Qt::SkipEmptyParts)) {
        parts.append(part.toString());
    }
    return parts.join(QLatin1Char('\\'));
}

bool sameName(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isText(std::uint32_t type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

struct Value {
    QString name;
    std::uint32_t type = REG_NONE;
    QByteArray data;
};

struct Key {
    RootKey root = 0;
    QString path;
    std::vector<Value> values;

    Value* find(QStringView name) {
        for (Value& v : values) {
            if (sameName(v.name, name)) {
                return &v;
            }
        }
        return nullptr;
    }
    void set(const QString& name, std::uint32_t type, const QByteArray& data) {
        if (Value* v = find(name)) {
            v->type = type;
            v->data = data;
        } else {
            values.push_back(Value{name, type, data});
        }
    }
};

// ---- Writing the format ----

// Text values are kept as UTF-8 (with their NULs); in hex form the file holds them as UTF-16LE.
QByteArray utf8ToUtf16le(const QByteArray& utf8) {
    const QString text = textFromUtf8(utf8);
    QByteArray bytes(text.size() * 2, '\0');
    for (qsizetype i = 0; i < text.size(); ++i) {
        qToLittleEndian<quint16>(text.at(i).unicode(), bytes.data() + 2 * i);
    }
    return bytes;
}

QByteArray utf16leToUtf8(const QByteArray& bytes) {
    QString text(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        text[i] = QChar(qFromLittleEndian<quint16>(bytes.constData() + 2 * i));
    }
    return text.toUtf8();
}

QString quoted(QStringView text) {
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('"')) {
            out += QLatin1Char('\\');
        }
        out += c;
    }
    return out + QLatin1Char('"');
}

// A REG_SZ that a quoted text gives back exactly: UTF-8 ending in its one NUL, with no other NUL
// and no control character but the tab.
std::optional<QString> plainText(const QByteArray& data) {
    if (data.isEmpty() || data.back() != '\0') {
        return std::nullopt;
    }
    const QByteArray body = data.first(data.size() - 1);
    for (char c : body) {
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7f) {
            return std::nullopt;
        }
    }
    QString text = textFromUtf8(body);
    if (text.toUtf8() != body) {
        return std::nullopt;
    }
    return text;
}

QString hexList(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size() * 3);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i > 0) {
            out += QLatin1Char(',');
        }
        out += QStringLiteral("%1").arg(static_cast<unsigned char>(bytes.at(i)), 2, 16, QLatin1Char('0'));
    }
    return out;
}

QString valueLine(const Value& v) {
    QString line = v.name.isEmpty() ? QStringLiteral("@=") : quoted(v.name) + QLatin1Char('=');
    if (v.type == REG_SZ) {
        if (const std::optional<QString> text = plainText(v.data)) {
            return line + quoted(*text);
        }
    }
    if (v.type == REG_DWORD && v.data.size() == 4) {
        const quint32 n = qFromLittleEndian<quint32>(v.data.constData());
        return line + QStringLiteral("dword:%1").arg(n, 8, 16, QLatin1Char('0'));
    }
    if (v.type == REG_BINARY) {
        return line + QStringLiteral("hex:") + hexList(v.data);
    }
    return line + QStringLiteral("hex(%1):").arg(v.type, 0, 16) +
           hexList(isText(v.type) ? utf8ToUtf16le(v.data) : v.data);
}

QByteArray serialize(const std::vector<Key>& keys) {
    QString text = QString(Header) + QStringLiteral("\n\n");
    for (const Key& key : keys) {
        text += QLatin1Char('[');
        text += *rootName(key.root);
        if (!key.path.isEmpty()) {
            text += QLatin1Char('\\') + key.path;
        }
        text += QStringLiteral("]\n");
        for (const Value& v : key.values) {
            text += valueLine(v) + QLatin1Char('\n');
        }
        text += QLatin1Char('\n');
    }
    return text.toUtf8();
}

// ---- Reading the format ----

// A quoted text starting at pos; pos moves past its closing quote. \\ and \" are the escapes; any
// other backslash stands for itself.
std::optional<QString> readQuoted(QStringView line, qsizetype& pos) {
    if (pos >= line.size() || line[pos] != QLatin1Char('"')) {
        return std::nullopt;
    }
    QString out;
    for (++pos; pos < line.size();) {
        const QChar c = line[pos++];
        if (c == QLatin1Char('"')) {
            return out;
        }
        if (c == QLatin1Char('\\') && pos < line.size() &&
            (line[pos] == QLatin1Char('\\') || line[pos] == QLatin1Char('"'))) {
            out += line[pos++];
            continue;
        }
        out += c;
    }
    return std::nullopt;
}

void skipBlanks(QStringView line, qsizetype& pos) {
    while (pos < line.size() && (line[pos] == QLatin1Char(' ') || line[pos] == QLatin1Char('\t'))) {
        ++pos;
    }
}

std::optional<QByteArray> parseHexList(QStringView list) {
    QByteArray bytes;
    const QList<QStringView> items = list.split(QLatin1Char(','));
    for (qsizetype i = 0; i < items.size(); ++i) {
        const QStringView item = items[i].trimmed();
        if (item.isEmpty() && i == items.size() - 1) {
            break; // "hex:" alone, or a comma before a line break
        }
        bool ok = false;
        const uint byte = item.toUInt(&ok, 16);
        if (!ok || item.size() > 2 || byte > 0xff) {
            return std::nullopt;
        }
        bytes.append(static_cast<char>(byte));
    }
    return bytes;
}

struct Parsed {
    std::vector<Key> keys;
    QString error; // empty when the file was read
};

class Parser {
public:
    explicit Parser(const QStringList& lines) : m_lines(lines) {}

    Parsed run() {
        Parsed result;
        if (m_lines.isEmpty() || m_lines.first().trimmed() != Header) {
            result.error = QStringLiteral("its first line is not \"%1\"").arg(Header);
            return result;
        }
        for (m_at = 1; m_at < m_lines.size(); ++m_at) {
            const QStringView line = QStringView(m_lines[m_at]).trimmed();
            if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) {
                continue;
            }
            const bool read =
                line.startsWith(QLatin1Char('[')) ? keyLine(line, result.keys) : valueLine(line, result.keys);
            if (!read) {
                result.error = QStringLiteral("line %1 cannot be read").arg(m_at + 1);
                return result;
            }
        }
        return result;
    }

private:
    bool keyLine(QStringView line, std::vector<Key>& keys) {
        if (!line.endsWith(QLatin1Char(']'))) {
            return false;
        }
        const QStringView name = line.sliced(1, line.size() - 2);
        const qsizetype slash = name.indexOf(QLatin1Char('\\'));
        const std::optional<RootKey> root = rootFromName(slash < 0 ? name : name.first(slash));
        if (!root) {
            return false; // among them "[-...]", a key deletion, which is no setting
        }
        const QString path = canonicalPath(slash < 0 ? QStringView() : name.sliced(slash + 1));
        for (qsizetype i = 0; i < qsizetype(keys.size()); ++i) {
            if (keys[i].root == *root && sameName(keys[i].path, path)) {
                m_key = i;
                return true;
            }
        }
        keys.push_back(Key{*root, path, {}});
        m_key = qsizetype(keys.size()) - 1;
        return true;
    }

    bool valueLine(QStringView line, std::vector<Key>& keys) {
        if (m_key < 0) {
            return false;
        }
        qsizetype pos = 0;
        QString name;
        if (line.startsWith(QLatin1Char('@'))) {
            pos = 1;
        } else if (std::optional<QString> quotedName = readQuoted(line, pos)) {
            name = *quotedName;
        } else {
            return false;
        }
        skipBlanks(line, pos);
        if (pos >= line.size() || line[pos] != QLatin1Char('=')) {
            return false;
        }
        ++pos;
        skipBlanks(line, pos);
        const std::optional<Value> value = data(line, pos);
        if (!value) {
            return false;
        }
        keys[m_key].set(name, value->type, value->data);
        return true;
    }

    // The data after "=": a quoted text, dword:, hex: or hex(N): (which may go on over lines that
    // end in a backslash).
    std::optional<Value> data(QStringView line, qsizetype pos) {
        const QStringView rest = line.sliced(pos);
        if (rest.startsWith(QLatin1Char('"'))) {
            qsizetype end = 0;
            const std::optional<QString> text = readQuoted(rest, end);
            if (!text || !rest.sliced(end).trimmed().isEmpty()) {
                return std::nullopt;
            }
            return Value{QString(), REG_SZ, text->toUtf8() + '\0'};
        }
        if (rest.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
            const QStringView digits = rest.sliced(6);
            bool ok = false;
            const quint32 n = digits.toUInt(&ok, 16);
            if (!ok || digits.isEmpty() || digits.size() > 8 || digits.startsWith(QLatin1Char('+')) ||
                digits.startsWith(QLatin1Char('-'))) {
                return std::nullopt;
            }
            QByteArray bytes(4, '\0');
            qToLittleEndian(n, bytes.data());
            return Value{QString(), REG_DWORD, bytes};
        }
        if (!rest.startsWith(QLatin1String("hex"), Qt::CaseInsensitive)) {
            return std::nullopt;
        }
        std::uint32_t type = REG_BINARY;
        qsizetype colon = 3;
        if (rest.sliced(3).startsWith(QLatin1Char('('))) {
            const qsizetype close = rest.indexOf(QLatin1Char(')'));
            bool ok = false;
            type = close > 4 ? rest.sliced(4, close - 4).toUInt(&ok, 16) : 0;
            if (!ok) {
                return std::nullopt;
            }
            colon = close + 1;
        }
        if (colon >= rest.size() || rest[colon] != QLatin1Char(':')) {
            return std::nullopt;
        }
        QString list = rest.sliced(colon + 1).toString();
        while (list.endsWith(QLatin1Char('\\'))) {
            list.chop(1);
            if (++m_at >= m_lines.size()) {
                return std::nullopt;
            }
            list += QStringView(m_lines[m_at]).trimmed();
        }
        const std::optional<QByteArray> bytes = parseHexList(list);
        if (!bytes) {
            return std::nullopt;
        }
        return Value{QString(), type, isText(type) ? utf16leToUtf8(*bytes) : *bytes};
    }

    const QStringList& m_lines;
    qsizetype m_at = 0;
    qsizetype m_key = -1;
};

Parsed parse(const QByteArray& bytes) {
    if (bytes.contains('\0')) {
        return Parsed{{}, QStringLiteral("it holds NUL bytes")};
    }
    QStringDecoder decoder(QStringConverter::Utf8); // skips a byte-order mark
    const QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        return Parsed{{}, QStringLiteral("it is not UTF-8 text")};
    }
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
        }
    }
    return Parser(lines).run();
}

// ---- The back end ----

class FileBackend final : public Backend {
public:
    explicit FileBackend(QString filePath) : m_path(std::move(filePath)) { load(); }

    Status openKey(RootKey root, const QString& path, std::uint32_t access, KeyHandle* key) override {
        if (!rootName(root)) {
            return ERROR_INVALID_HANDLE;
        }
        const QString canonical = canonicalPath(path);
        if (!exists(root, canonical)) {
            return ERROR_FILE_NOT_FOUND;
        }
        *key = open(root, canonical, access);
        return ERROR_SUCCESS;
    }

    Status createKey(RootKey root, const QString& path, std::uint32_t access, KeyHandle* key) override {
        if (!rootName(root)) {
            return ERROR_INVALID_HANDLE;
        }
        const QString canonical = canonicalPath(path);
        if (!exists(root, canonical)) {
            m_keys.push_back(Key{root, canonical, {}});
            if (!save()) {
                m_keys.pop_back();
                return ERROR_ACCESS_DENIED;
            }
        }
        *key = open(root, canonical, access);
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
        Key* key = find(open->second.root, open->second.path);
        const Value* value = key ? key->find(name) : nullptr;
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
        // A name with a line break or a NUL cannot be written as a line of the file.
        if (name.contains(QLatin1Char('\n')) || name.contains(QLatin1Char('\r')) || name.contains(QChar())) {
            return ERROR_INVALID_PARAMETER;
        }
        const std::vector<Key> before = m_keys;
        Key* key = find(open->second.root, open->second.path);
        if (!key) { // an ancestor of a stored key, which exists without a section of its own
            m_keys.push_back(Key{open->second.root, open->second.path, {}});
            key = &m_keys.back();
        }
        key->set(name, type, data);
        if (!save()) {
            m_keys = before;
            return ERROR_ACCESS_DENIED;
        }
        return ERROR_SUCCESS;
    }

    void closeKey(KeyHandle key) override { m_open.erase(key); }

private:
    struct OpenKey {
        RootKey root;
        QString path;
        std::uint32_t access;
    };

    Key* find(RootKey root, const QString& path) {
        for (Key& key : m_keys) {
            if (key.root == root && sameName(key.path, path)) {
                return &key;
            }
        }
        return nullptr;
    }

    // A key exists when it has a section, or a key below it has one; the root always exists.
    bool exists(RootKey root, const QString& path) const {
        if (path.isEmpty()) {
            return true;
        }
        const QString below = path + QLatin1Char('\\');
        for (const Key& key : m_keys) {
            if (key.root == root &&
                (sameName(key.path, path) || key.path.startsWith(below, Qt::CaseInsensitive))) {
                return true;
            }
        }
        return false;
    }

    KeyHandle open(RootKey root, const QString& path, std::uint32_t access) {
        const KeyHandle handle = m_nextHandle++;
        m_open.emplace(handle, OpenKey{root, path, access});
        return handle;
    }

    void load() {
        QFile file(m_path);
        if (!QFileInfo::exists(m_path)) {
            return;
        }
        if (!file.open(QIODevice::ReadOnly)) {
            setAside(file.errorString());
            return;
        }
        const QByteArray bytes = file.read(MaxFileSize + 1);
        file.close();
        if (bytes.isEmpty()) {
            return; // an empty file (made by hand, say) holds no settings
        }
        if (bytes.size() > MaxFileSize) {
            setAside(QStringLiteral("it is larger than %1 bytes").arg(MaxFileSize));
            return;
        }
        Parsed parsed = parse(bytes);
        if (!parsed.error.isEmpty()) {
            setAside(parsed.error);
            return;
        }
        m_keys = std::move(parsed.keys);
    }

    // Keeps a file that cannot be read under a name of its own, so that the next save does not
    // overwrite what the user may want back.
    void setAside(const QString& why) {
        const QString base = m_path + QStringLiteral(".broken-") +
                             QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddhhmmss"));
        QString aside = base;
        for (int n = 2; QFileInfo(aside).exists() || QFileInfo(aside).isSymLink(); ++n) {
            aside = base + QLatin1Char('-') + QString::number(n);
        }
        if (QFile::rename(m_path, aside)) {
            qCWarning(lcSettings).noquote()
                << QStringLiteral(
                       "The settings file %1 cannot be read (%2); it is kept as %3 and the default "
                       "settings apply.")
                       .arg(QDir::toNativeSeparators(m_path), why, QDir::toNativeSeparators(aside));
        } else {
            qCWarning(lcSettings).noquote()
                << QStringLiteral(
                       "The settings file %1 cannot be read (%2) nor set aside; the default settings "
                       "apply.")
                       .arg(QDir::toNativeSeparators(m_path), why);
        }
    }

    bool save() {
        const QString folder = QFileInfo(m_path).absolutePath();
        if (!QFileInfo(folder).isDir()) {
            if (!QDir().mkpath(folder)) {
                qCWarning(lcSettings).noquote() << QStringLiteral("The settings folder %1 cannot be made.")
                                                       .arg(QDir::toNativeSeparators(folder));
                return false;
            }
            // The settings hold the provider password: the folder made for them is the owner's alone.
            QFile::setPermissions(folder,
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
        const QByteArray bytes = serialize(m_keys);
        QSaveFile file(m_path);
        bool saved = file.open(QIODevice::WriteOnly);
        if (saved) {
            // Set on the temporary file before a byte is written, so the settings are never readable
            // by others. A file system without Unix permissions refuses this; the file is still saved.
            file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            saved = file.write(bytes) == bytes.size() && file.commit();
        }
        if (!saved) {
            qCWarning(lcSettings).noquote() << QStringLiteral("The settings file %1 cannot be written: %2")
                                                   .arg(QDir::toNativeSeparators(m_path), file.errorString());
        }
        return saved;
    }

    QString m_path;
    std::vector<Key> m_keys;
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

std::unique_ptr<Backend> makeDefaultBackend() {
#ifdef Q_OS_WIN
    return makeWindowsBackend();
#else
    return makeFileBackend(defaultSettingsFilePath());
#endif
}

} // namespace reg
