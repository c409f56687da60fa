// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/registry_file.h"

#include "settings/settings_internal.h"

#include <QtEndian>
#include <algorithm>
#include <map>

namespace reg {
namespace {

constexpr QLatin1String Version5Header("Windows Registry Editor Version 5.00");
constexpr QLatin1String Regedit4Header("REGEDIT4");
constexpr char Utf8Bom[] = "\xEF\xBB\xBF";
constexpr char Utf16leBom[] = "\xFF\xFE";

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

// What a key is found by: its root and its path without case.
QString keyId(RootKey root, const QString& path) {
    return QString::number(root, 16) + QLatin1Char(':') + path.toCaseFolded();
}

// Calls f with the path of every key above this one, then with the path itself.
template<typename F> void forEachAncestorOrSelf(const QString& path, F f) {
    for (qsizetype slash = path.indexOf(QLatin1Char('\\')); slash >= 0;
         slash = path.indexOf(QLatin1Char('\\'), slash + 1)) {
        f(path.first(slash));
    }
    f(path);
}

bool isText(std::uint32_t type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

QByteArray utf16leBytes(QStringView text) {
    QByteArray bytes(text.size() * 2, '\0');
    for (qsizetype i = 0; i < text.size(); ++i) {
        qToLittleEndian<quint16>(text[i].unicode(), bytes.data() + 2 * i);
    }
    return bytes;
}

// An odd last byte is no code unit and is dropped.
QString fromUtf16le(QByteArrayView bytes) {
    QString text(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        text[i] = QChar(qFromLittleEndian<quint16>(bytes.data() + 2 * i));
    }
    return text;
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

struct Data {
    std::uint32_t type = REG_NONE;
    QByteArray data;
};

std::optional<Data> quotedData(QStringView rest) {
    qsizetype end = 0;
    const std::optional<QString> text = readQuoted(rest, end);
    if (!text || !rest.sliced(end).trimmed().isEmpty()) {
        return std::nullopt;
    }
    return Data{REG_SZ, text->toUtf8() + '\0'};
}

std::optional<Data> dwordData(QStringView digits) {
    bool ok = false;
    const quint32 n = digits.toUInt(&ok, 16);
    if (!ok || digits.isEmpty() || digits.size() > 8 || digits.startsWith(QLatin1Char('+')) ||
        digits.startsWith(QLatin1Char('-'))) {
        return std::nullopt;
    }
    QByteArray bytes(4, '\0');
    qToLittleEndian(n, bytes.data());
    return Data{REG_DWORD, bytes};
}

// "hex:" or "hex(N):" and the list of bytes, as they stand in the file.
std::optional<Data> hexData(QStringView text) {
    std::uint32_t type = REG_BINARY;
    qsizetype colon = 3;
    if (text.sliced(3).startsWith(QLatin1Char('('))) {
        const qsizetype close = text.indexOf(QLatin1Char(')'));
        bool ok = false;
        type = close > 4 ? text.sliced(4, close - 4).toUInt(&ok, 16) : 0;
        if (!ok) {
            return std::nullopt;
        }
        colon = close + 1;
    }
    if (colon >= text.size() || text[colon] != QLatin1Char(':')) {
        return std::nullopt;
    }
    const std::optional<QByteArray> bytes = parseHexList(text.sliced(colon + 1));
    if (!bytes) {
        return std::nullopt;
    }
    return Data{type, *bytes};
}

} // namespace

struct RegistryFile::Mention {
    QString name;
    bool deleted = false; // "Name"=-
    Data value;
};

RegistryFile RegistryFile::parse(const QByteArray& bytes) {
    RegistryFile file;
    if (bytes.startsWith(Utf16leBom)) {
        file.m_encoding = Encoding::Utf16le;
        file.m_bom = Utf16leBom;
    } else if (bytes.startsWith(Utf8Bom)) {
        file.m_bom = Utf8Bom;
    }
    const qsizetype unit = file.m_encoding == Encoding::Utf16le ? 2 : 1;
    qsizetype start = file.m_bom.size();
    for (qsizetype at = start; at + unit <= bytes.size(); at += unit) {
        if (bytes[at] == '\n' && (unit == 1 || bytes[at + 1] == '\0')) {
            file.m_lines.push_back(bytes.sliced(start, at + unit - start));
            start = at + unit;
        }
    }
    if (start < bytes.size()) {
        file.m_lines.push_back(bytes.sliced(start));
    }
    if (!file.m_lines.empty() && file.m_lines.front().endsWith(file.encoded(QStringLiteral("\r\n")))) {
        file.m_lineBreak = QStringLiteral("\r\n");
    }
    file.index();
    return file;
}

QByteArray RegistryFile::bytes() const {
    QByteArray out = m_bom;
    for (const QByteArray& line : m_lines) {
        out += line;
    }
    return out;
}

bool RegistryFile::knownRoot(RootKey root) {
    return rootName(root).has_value();
}

bool RegistryFile::writableName(QStringView name) {
    return !name.contains(QLatin1Char('\n')) && !name.contains(QLatin1Char('\r')) && !name.contains(QChar());
}

// The text of a line without its line break; nothing when it is no text in the file's encoding.
std::optional<QString> RegistryFile::text(qsizetype at) const {
    QByteArrayView raw(m_lines[at]);
    if (m_encoding == Encoding::Utf16le) {
        if (raw.endsWith(QByteArrayView("\n\0", 2))) {
            raw.chop(2);
        }
        if (raw.size() % 2 != 0) {
            return std::nullopt;
        }
        const QString text = fromUtf16le(raw);
        return text.contains(QChar()) ? std::nullopt : std::optional(text);
    }
    if (raw.endsWith('\n')) {
        raw.chop(1);
    }
    if (!raw.isValidUtf8() || raw.contains('\0')) {
        return std::nullopt;
    }
    return textFromUtf8(raw);
}

// Whether a line that is no text was meant as a section header, as far as it can be read.
bool RegistryFile::opensSection(qsizetype at) const {
    const QByteArray& raw = m_lines[at];
    const QString lossy = m_encoding == Encoding::Utf16le ? fromUtf16le(raw) : QString::fromUtf8(raw);
    return lossy.trimmed().startsWith(QLatin1Char('['));
}

void RegistryFile::index() {
    m_keys.clear();
    m_keyIndex.clear();
    m_existing.clear();
    m_unreadable = 0;
    const std::optional<QString> first = m_lines.empty() ? std::nullopt : text(0);
    const QStringView head = first ? QStringView(*first).trimmed() : QStringView();
    m_hasHeader = head.compare(Version5Header, Qt::CaseInsensitive) == 0 ||
                  head.compare(Regedit4Header, Qt::CaseInsensitive) == 0;
    m_dialect =
        head.compare(Regedit4Header, Qt::CaseInsensitive) == 0 ? Dialect::Regedit4 : Dialect::Version5;

    qsizetype current = NoKey;
    const auto lineCount = static_cast<qsizetype>(m_lines.size());
    for (qsizetype at = m_hasHeader ? 1 : 0; at < lineCount;) {
        const qsizetype start = at;
        const std::optional<QString> line = text(at++);
        if (!line && opensSection(start)) { // what follows is no value of the key before it
            current = NoKey;
        }
        const QStringView trimmed = line ? QStringView(*line).trimmed() : QStringView();
        if (line && (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';')))) {
            continue;
        }
        if (line && trimmed.startsWith(QLatin1Char('['))) {
            current = sectionLine(trimmed, start);
            continue;
        }
        const std::optional<Mention> mention = line ? readValue(trimmed, at) : std::nullopt;
        if (current != NoKey) {
            m_keys[current].sectionEnd = at - 1;
        }
        if (mention && current != NoKey) {
            m_keys[current].values.insert(mention->name.toCaseFolded(), Span{start, at - 1});
        } else {
            ++m_unreadable;
        }
    }
    for (const KeyLines& key : m_keys) {
        if (key.lastSection > cutoff(key.root, key.path)) {
            forEachAncestorOrSelf(key.path,
                                  [&](const QString& path) { m_existing.insert(keyId(key.root, path)); });
        }
    }
}

// A section's header line, [ROOT\path], or a key's deletion, [-ROOT\path]: the key whose values
// follow, or NoKey.
qsizetype RegistryFile::sectionLine(QStringView line, qsizetype at) {
    QStringView name = line.endsWith(QLatin1Char(']')) ? line.sliced(1, line.size() - 2) : QStringView();
    const bool deletion = name.startsWith(QLatin1Char('-'));
    if (deletion) {
        name = name.sliced(1);
    }
    const qsizetype slash = name.indexOf(QLatin1Char('\\'));
    const std::optional<RootKey> root = rootFromName(slash < 0 ? name : name.first(slash));
    const QString path = canonicalPath(slash < 0 ? QStringView() : name.sliced(slash + 1));
    if (!root || (deletion && path.isEmpty())) { // a root key is never deleted
        ++m_unreadable;
        return NoKey;
    }
    const QString id = keyId(*root, path);
    auto found = m_keyIndex.constFind(id);
    if (found == m_keyIndex.constEnd()) {
        found = m_keyIndex.insert(id, static_cast<qsizetype>(m_keys.size()));
        KeyLines& added = m_keys.emplace_back();
        added.id = id;
        added.root = *root;
        added.path = path;
    }
    KeyLines& key = m_keys[*found];
    if (deletion) {
        key.lastDeletion = at;
        return NoKey;
    }
    key.lastSection = at;
    key.sectionEnd = at;
    return *found;
}

// The value whose lines begin at `at`; `at` moves past them.
std::optional<RegistryFile::Mention> RegistryFile::readValue(qsizetype& at) const {
    const std::optional<QString> first = text(at++);
    return first ? readValue(QStringView(*first).trimmed(), at) : std::nullopt;
}

// The value of a line, and of the lines from `next` on that it goes on over (moving `next` past
// them): a hex list goes on while a line ends in a backslash; at the end of the file it simply ends.
std::optional<RegistryFile::Mention> RegistryFile::readValue(QStringView line, qsizetype& next) const {
    Mention mention;
    qsizetype pos = 0;
    if (line.startsWith(QLatin1Char('@'))) {
        pos = 1;
    } else if (std::optional<QString> name = readQuoted(line, pos)) {
        mention.name = *name;
    } else {
        return std::nullopt;
    }
    skipBlanks(line, pos);
    if (pos >= line.size() || line[pos] != QLatin1Char('=')) {
        return std::nullopt;
    }
    ++pos;
    skipBlanks(line, pos);
    const QStringView rest = line.sliced(pos);
    if (rest.startsWith(QLatin1String("hex"), Qt::CaseInsensitive)) {
        QString list = rest.toString();
        // Whether the list goes on is each line's own last character, not what the list ends in
        // once that backslash is cut: "01,\\" takes in the next line only.
        for (bool goesOn = list.endsWith(QLatin1Char('\\')); goesOn;) {
            list.chop(1);
            if (next >= static_cast<qsizetype>(m_lines.size())) {
                break;
            }
            const std::optional<QString> more = text(next++);
            if (!more) {
                return std::nullopt;
            }
            const QStringView piece = QStringView(*more).trimmed();
            goesOn = piece.endsWith(QLatin1Char('\\'));
            list += piece;
        }
        std::optional<Data> data = hexData(list);
        if (!data) {
            return std::nullopt;
        }
        if (isText(data->type) && m_dialect == Dialect::Version5) { // REGEDIT4 has one byte a letter
            data->data = fromUtf16le(data->data).toUtf8();
        }
        mention.value = *data;
        return mention;
    }
    if (rest == QLatin1String("-")) {
        mention.deleted = true;
        return mention;
    }
    std::optional<Data> data = rest.startsWith(QLatin1Char('"')) ? quotedData(rest)
                               : rest.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)
                                   ? dwordData(rest.sliced(6))
                                   : std::nullopt;
    if (!data) {
        return std::nullopt;
    }
    mention.value = *data;
    return mention;
}

const RegistryFile::KeyLines* RegistryFile::key(RootKey root, const QString& path) const {
    const auto found = m_keyIndex.constFind(keyId(root, path));
    return found == m_keyIndex.constEnd() ? nullptr : &m_keys[*found];
}

// The last line that deleted this key or a key above it; what comes before it is gone.
qsizetype RegistryFile::cutoff(RootKey root, const QString& path) const {
    qsizetype last = -1;
    forEachAncestorOrSelf(path, [&](const QString& above) {
        if (const KeyLines* deleted = key(root, above)) {
            last = std::max(last, deleted->lastDeletion);
        }
    });
    return last;
}

// The lines that say what a value is now (possibly that it was deleted).
std::optional<RegistryFile::Span> RegistryFile::liveSpan(RootKey root, const QString& path,
                                                         QStringView name) const {
    const KeyLines* lines = key(root, path);
    if (!lines) {
        return std::nullopt;
    }
    const auto found = lines->values.constFind(name.toString().toCaseFolded());
    if (found == lines->values.constEnd() || found->first < cutoff(root, path)) {
        return std::nullopt;
    }
    return *found;
}

std::optional<RegistryFile::Value> RegistryFile::value(RootKey root, QStringView keyPath,
                                                       QStringView name) const {
    const QString path = canonicalPath(keyPath);
    const std::optional<Span> span = liveSpan(root, path, name);
    if (!span) {
        return std::nullopt;
    }
    qsizetype at = span->first;
    const std::optional<Mention> mention = readValue(at);
    if (!mention || mention->deleted) {
        return std::nullopt;
    }
    return Value{root, key(root, path)->path, mention->name, mention->value.type, mention->value.data};
}

std::vector<RegistryFile::Value> RegistryFile::values() const {
    std::map<std::pair<QString, QString>, Value> ordered;
    for (const KeyLines& lines : m_keys) {
        for (auto name = lines.values.keyBegin(); name != lines.values.keyEnd(); ++name) {
            if (const std::optional<Value> v = value(lines.root, lines.path, *name)) {
                ordered.emplace(std::pair(lines.id, *name), *v);
            }
        }
    }
    std::vector<Value> out;
    out.reserve(ordered.size());
    for (auto& [order, v] : ordered) {
        out.push_back(std::move(v));
    }
    return out;
}

bool RegistryFile::keyExists(RootKey root, QStringView keyPath) const {
    const QString path = canonicalPath(keyPath);
    return path.isEmpty() || m_existing.contains(keyId(root, path));
}

bool RegistryFile::setValue(RootKey root, QStringView keyPath, const QString& name, std::uint32_t type,
                            const QByteArray& data) {
    Q_ASSERT(knownRoot(root) && writableName(name) && writableName(keyPath));
    const QString path = canonicalPath(keyPath);
    const std::optional<Value> now = value(root, path, name);
    if (now && now->type == type && now->data == data) {
        return false;
    }
    ensureHeader();
    const KeyLines* lines = key(root, path);
    if (const std::optional<Span> span = liveSpan(root, path, name)) {
        qsizetype at = span->first;
        const QString line = valueLine(readValue(at)->name, type, data);
        m_lines.erase(m_lines.begin() + span->first, m_lines.begin() + span->last + 1);
        insertLines(span->first, {line});
        if (span->first == span->last) {
            return true; // one line for one: every other line is where it was, as the index says
        }
    } else if (lines && lines->lastSection > cutoff(root, path)) {
        insertAfter(lines->sectionEnd, valueLine(name, type, data));
    } else {
        appendSection(root, lines ? lines->path : path, {valueLine(name, type, data)});
    }
    index();
    return true;
}

bool RegistryFile::addKey(RootKey root, QStringView keyPath) {
    Q_ASSERT(knownRoot(root) && writableName(keyPath));
    if (keyExists(root, keyPath)) {
        return false;
    }
    ensureHeader();
    appendSection(root, canonicalPath(keyPath), {});
    index();
    return true;
}

QByteArray RegistryFile::encoded(const QString& line) const {
    return m_encoding == Encoding::Utf16le ? utf16leBytes(line) : line.toUtf8();
}

// A line of the file ends in a line break before another follows. A last line of an odd number
// of bytes in a UTF-16 file is first made whole with a byte that keeps it unreadable (a lone
// surrogate), so the lines after it stay in step.
void RegistryFile::ensureLineBreak(qsizetype at) {
    QByteArray& line = m_lines[at];
    const bool oddUtf16 = m_encoding == Encoding::Utf16le && line.size() % 2 != 0;
    if (!oddUtf16 && line.endsWith(encoded(QStringLiteral("\n")))) {
        return;
    }
    if (oddUtf16) {
        line += '\xD8';
    }
    line += encoded(m_lineBreak);
}

void RegistryFile::insertLines(qsizetype at, const QStringList& lines) {
    std::vector<QByteArray> bytes;
    bytes.reserve(lines.size());
    for (const QString& line : lines) {
        bytes.push_back(encoded(line + m_lineBreak));
    }
    m_lines.insert(m_lines.begin() + at, bytes.begin(), bytes.end());
}

// A line after another, which first gets its line break. A hex list continued at the end of the
// file is ended by a blank line before it.
void RegistryFile::insertAfter(qsizetype at, const QString& line) {
    ensureLineBreak(at);
    QStringList added{line};
    const std::optional<QString> before = text(at);
    if (at + 1 == static_cast<qsizetype>(m_lines.size()) && before &&
        before->trimmed().endsWith(QLatin1Char('\\'))) {
        added.prepend(QString());
    }
    insertLines(at + 1, added);
}

// A file without a header gets one at its first change, so that regedit can import it.
void RegistryFile::ensureHeader() {
    if (m_hasHeader) {
        return;
    }
    insertLines(0, {Version5Header, QString()});
    index();
}

// A new section at the end, after a blank line, holding the given value lines.
void RegistryFile::appendSection(RootKey root, const QString& path, const QStringList& lines) {
    if (!m_lines.empty()) {
        const auto last = static_cast<qsizetype>(m_lines.size()) - 1;
        ensureLineBreak(last);
        const std::optional<QString> lastText = text(last);
        if (!lastText || !lastText->trimmed().isEmpty()) {
            insertLines(last + 1, {QString()});
        }
    }
    QString header = QStringLiteral("[%1").arg(*rootName(root));
    if (!path.isEmpty()) {
        header += QLatin1Char('\\') + path;
    }
    insertLines(static_cast<qsizetype>(m_lines.size()),
                QStringList{header + QLatin1Char(']')} + lines + QStringList{QString()});
}

// A value as this program writes it: REG_SZ as quoted text unless it holds a line break or another
// control character (a line cannot hold one), REG_DWORD as dword:, REG_BINARY as hex:, every other
// type as hex(N):, text in the file's dialect (UTF-16LE, or one byte a letter in REGEDIT4).
QString RegistryFile::valueLine(const QString& name, std::uint32_t type, const QByteArray& data) const {
    const QString line = name.isEmpty() ? QStringLiteral("@=") : quoted(name) + QLatin1Char('=');
    if (type == REG_SZ) {
        if (const std::optional<QString> text = plainText(data)) {
            return line + quoted(*text);
        }
    }
    if (type == REG_DWORD && data.size() == 4) {
        const quint32 n = qFromLittleEndian<quint32>(data.constData());
        return line + QStringLiteral("dword:%1").arg(n, 8, 16, QLatin1Char('0'));
    }
    if (type == REG_BINARY) {
        return line + QStringLiteral("hex:") + hexList(data);
    }
    const bool utf16 = isText(type) && m_dialect == Dialect::Version5;
    return line + QStringLiteral("hex(%1):").arg(type, 0, 16) +
           hexList(utf16 ? utf16leBytes(textFromUtf8(data)) : data);
}

} // namespace reg
