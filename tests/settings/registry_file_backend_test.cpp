// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The settings store over its file back end: the read and write rules, with the answers of calls
// that fail chosen by some tests, and the file in the registry editor's export formats as Windows
// and people write them, kept as written across back ends, private to its owner. Every store's
// back end checks that no key was left open.

#include "platform/stored_files.h"
#include "settings/registry_store.h"
#include "test_support.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <map>
#include <memory>
#include <set>

using testing_support::ScopedExpectedWarnings;

namespace {

// The file back end, with the status of a coming openKey, queryValue or setValue chosen by the
// test. A key the store left open fails the test when the back end goes.
class ScriptedBackend final : public reg::Backend {
public:
    enum class Op { Open, Query, Set };

    explicit ScriptedBackend(const QString& filePath) : m_file(reg::makeFileBackend(filePath)) {}
    ~ScriptedBackend() override { EXPECT_TRUE(m_open.empty()) << "the store left a key open"; }
    ScriptedBackend(const ScriptedBackend&) = delete;
    ScriptedBackend& operator=(const ScriptedBackend&) = delete;

    // The next call of that kind, after `skip` more that go through, answers `status` and does
    // nothing else.
    void failNext(Op op, reg::Status status, int skip = 0) { m_fail[op] = Pending{status, skip}; }

    reg::Status openKey(reg::RootKey root, const QString& path, std::uint32_t access,
                        reg::KeyHandle* key) override {
        const reg::Status status =
            scripted(Op::Open, [&] { return m_file->openKey(root, path, access, key); });
        return handedOut(status, *key);
    }

    reg::Status createKey(reg::RootKey root, const QString& path, std::uint32_t access,
                          reg::KeyHandle* key) override {
        const reg::Status status = m_file->createKey(root, path, access, key);
        return handedOut(status, *key);
    }

    reg::Status queryValue(reg::KeyHandle key, const QString& name, std::uint32_t* type, QByteArray* data,
                           std::uint32_t* size) override {
        return scripted(Op::Query, [&] { return m_file->queryValue(key, name, type, data, size); });
    }

    reg::Status setValue(reg::KeyHandle key, const QString& name, std::uint32_t type,
                         const QByteArray& data) override {
        return scripted(Op::Set, [&] { return m_file->setValue(key, name, type, data); });
    }

    void closeKey(reg::KeyHandle key) override {
        m_open.erase(key);
        m_file->closeKey(key);
    }

private:
    struct Pending {
        reg::Status status;
        int skip;
    };

    reg::Status scripted(Op op, const std::function<reg::Status()>& call) {
        const auto pending = m_fail.find(op);
        if (pending == m_fail.end() || pending->second.skip-- > 0) {
            return call();
        }
        const reg::Status status = pending->second.status;
        m_fail.erase(pending);
        return status;
    }

    reg::Status handedOut(reg::Status status, reg::KeyHandle key) {
        if (status == reg::ERROR_SUCCESS) {
            m_open.insert(key);
        }
        return status;
    }

    std::unique_ptr<reg::Backend> m_file;
    std::map<Op, Pending> m_fail;
    std::set<reg::KeyHandle> m_open;
};

using Op = ScriptedBackend::Op;

const QString BriselKey = QString::fromLatin1(reg::BriselKeyPath);
const QString SetAsideWarning =
    QStringLiteral("^brisel\\.settings: The settings file .*settings\\.reg is larger than");

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(content), content.size());
}

// A value of a type the store does not write, written through the back end.
void rawWrite(reg::Backend& backend, const QString& name, std::uint32_t type, const QByteArray& data) {
    reg::KeyHandle key = 0;
    ASSERT_EQ(backend.createKey(reg::HKEY_CURRENT_USER, BriselKey, reg::KEY_CREATE_ALL, &key),
              reg::ERROR_SUCCESS);
    EXPECT_EQ(backend.setValue(key, name, type, data), reg::ERROR_SUCCESS);
    backend.closeKey(key);
}

QByteArray binaryJunk() {
    QByteArray junk(4096, '\0');
    QRandomGenerator generator(7);
    for (char& c : junk) {
        c = static_cast<char>(generator.bounded(256));
    }
    return junk;
}

class FileBackendTest : public ::testing::Test {
protected:
    // A store over a new back end on the file, as a new start of the program makes it.
    std::unique_ptr<reg::Store> newStore() {
        auto store = std::make_unique<reg::Store>(std::make_unique<ScriptedBackend>(path));
        store->setErrorReporter([this](const QString& message) { reported.append(message); });
        return store;
    }
    static ScriptedBackend& scripted(reg::Store& store) {
        return static_cast<ScriptedBackend&>(store.backend());
    }
    static QVariant read(reg::Store& store, const QString& name, const QVariant& defaultValue = QVariant()) {
        return store.ReadRegValue(reg::HKEY_CURRENT_USER, BriselKey, name, defaultValue);
    }
    static bool write(reg::Store& store, const QString& name, const QVariant& value) {
        return store.WriteRegValue(reg::HKEY_CURRENT_USER, BriselKey, name, value);
    }
    QStringList setAside() const {
        return QDir(dir.filePath(QStringLiteral("Brisel")))
            .entryList({QStringLiteral("settings.reg.broken-*")},
                       QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("Brisel/settings.reg"));
    QStringList reported;
};

// What the program writes is the registry editor's export format, and every type comes back from
// it in a new back end.
TEST_F(FileBackendTest, EveryTypeIsWrittenInTheExportFormatAndComesBack) {
    const QString awkwardName = QStringLiteral("Pikk \"nimi\" C:\\kaust\\ äõ");
    const QString awkwardText = QStringLiteral("tekst \"jutt\" C:\\tee\\ Jõgeva äär\\");
    {
        auto store = newStore();
        write(*store, QStringLiteral("Keel"), QStringLiteral("estonian"));
        write(*store, awkwardName, awkwardText);
        // Another spelling of a name or key changes the value as it was first written.
        write(*store, QStringLiteral("KEEL"), QStringLiteral("english"));
        store->WriteRegValue(reg::HKEY_CURRENT_USER, QStringLiteral("software\\brisel"),
                             QStringLiteral("keel"), QStringLiteral("latvian"));
        write(*store, QStringLiteral("Yks"), 1);
        write(*store, QStringLiteral("Miinus"), QVariant::fromValue<qint16>(-2));
        write(*store, QStringLiteral("Pilt"), QByteArray("\x01\x02\xab", 3));
        write(*store, QStringLiteral("Read"), QStringLiteral("a\nb"));
        rawWrite(store->backend(), QStringLiteral("Laiend"), reg::REG_EXPAND_SZ, QByteArray("%A%\\ä", 7));
        rawWrite(store->backend(), QStringLiteral("Mitu"), reg::REG_MULTI_SZ, QByteArray("a\0b\0\0", 5));
        store->WriteRegValue(reg::HKEY_CURRENT_USER, BriselKey + QStringLiteral("\\Alam"),
                             QStringLiteral("X"), QStringLiteral("y"));
    }
    const QString expected = QStringLiteral(
        "Windows Registry Editor Version 5.00\n"
        "\n"
        "[HKEY_CURRENT_USER\\SOFTWARE\\Brisel]\n"
        "\"Keel\"=\"latvian\"\n"
        "\"Pikk \\\"nimi\\\" C:\\\\kaust\\\\ äõ\"=\"tekst \\\"jutt\\\" C:\\\\tee\\\\ Jõgeva äär\\\\\"\n"
        "\"Yks\"=dword:00000001\n"
        "\"Miinus\"=dword:fffffffe\n"
        "\"Pilt\"=hex:01,02,ab\n"
        "\"Read\"=hex(1):61,00,0a,00,62,00,00,00\n"
        "\"Laiend\"=hex(2):25,00,41,00,25,00,5c,00,e4,00,00,00\n"
        "\"Mitu\"=hex(7):61,00,00,00,62,00,00,00,00,00\n"
        "\n"
        "[HKEY_CURRENT_USER\\SOFTWARE\\Brisel\\Alam]\n"
        "\"X\"=\"y\"\n"
        "\n");
    EXPECT_EQ(QString::fromUtf8(readFile(path)), expected);

    const QString lines = QStringLiteral("esimene\nteine\r\nkolmas");
    const QByteArray allBytes = [] { // beyond the store's first buffer
        QByteArray b;
        for (int i = 0; i < 1280; ++i) {
            b.append(static_cast<char>(i % 256));
        }
        return b;
    }();
    {
        auto store = newStore();
        EXPECT_TRUE(write(*store, QStringLiteral("Tühi"), QString()));
        EXPECT_TRUE(write(*store, QStringLiteral("Read"), lines));
        EXPECT_TRUE(write(*store, QStringLiteral("Tab"), QStringLiteral("a\tb  c")));
        EXPECT_TRUE(write(*store, QString(), QStringLiteral("vaikimisi"))); // the key's default value
        EXPECT_TRUE(write(*store, QStringLiteral("Pilt"), allBytes));
        EXPECT_TRUE(write(*store, QStringLiteral("Tühi pilt"), QByteArray()));
        rawWrite(store->backend(), QStringLiteral("Q"), 11,
                 QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08", 8));
        rawWrite(store->backend(), QStringLiteral("Lühike dword"), reg::REG_DWORD, QByteArray("\x01\x02", 2));
    }
    auto store = newStore();
    EXPECT_EQ(read(*store, QStringLiteral("Keel")), QVariant(QStringLiteral("latvian")));
    EXPECT_EQ(read(*store, awkwardName).toString(), awkwardText);
    EXPECT_EQ(read(*store, QStringLiteral("Yks")), QVariant(1));
    EXPECT_EQ(read(*store, QStringLiteral("Miinus")), QVariant(-2));
    EXPECT_EQ(read(*store, QStringLiteral("Laiend")).toString(), QStringLiteral("%A%\\ä")) << "not expanded";
    EXPECT_EQ(read(*store, QStringLiteral("Mitu")).toString(),
              QStringLiteral("a") + QChar(0) + QStringLiteral("b"))
        << "only the final two NULs go";
    EXPECT_EQ(store->ReadRegValue(reg::HKEY_CURRENT_USER, BriselKey + QStringLiteral("\\Alam"),
                                  QStringLiteral("X")),
              QVariant(QStringLiteral("y")));
    EXPECT_EQ(read(*store, QStringLiteral("Tühi"), QStringLiteral("x")).toString(), QString());
    EXPECT_EQ(read(*store, QStringLiteral("Read")).toString(), lines);
    EXPECT_EQ(read(*store, QStringLiteral("Tab")).toString(), QStringLiteral("a\tb  c"));
    EXPECT_EQ(read(*store, QString()).toString(), QStringLiteral("vaikimisi"));
    EXPECT_EQ(read(*store, QStringLiteral("Pilt")).toByteArray(), allBytes);
    EXPECT_EQ(read(*store, QStringLiteral("Tühi pilt"), 5).typeId(), QMetaType::QByteArray);
    EXPECT_EQ(read(*store, QStringLiteral("Lühike dword")), QVariant(0x0201)) << "as if padded with zeros";
    EXPECT_EQ(read(*store, QStringLiteral("Q"), 5), QVariant(5)) << "a type the store does not read";
    EXPECT_EQ(read(*store, QStringLiteral("Puudub"), 5), QVariant(5));
    EXPECT_TRUE(reported.isEmpty());
}

TEST_F(FileBackendTest, FileIsReadableOnlyByItsOwner) {
    auto store = newStore();
    ASSERT_FALSE(QFileInfo::exists(QFileInfo(path).absolutePath()));
    ASSERT_TRUE(write(*store, QStringLiteral("QuellanPassword"), QStringLiteral("salajane")));
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                            QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                            QFileDevice::WriteOther | QFileDevice::ExeOther;
    const QFileDevice::Permissions mode = QFileInfo(path).permissions();
    EXPECT_TRUE(mode & QFileDevice::ReadOwner);
    EXPECT_TRUE(mode & QFileDevice::WriteOwner);
    EXPECT_FALSE(mode & (others | QFileDevice::ExeOwner));
    EXPECT_FALSE(QFileInfo(QFileInfo(path).absolutePath()).permissions() & others)
        << "the folder made for it";
    EXPECT_TRUE(readFile(path).startsWith("Windows Registry Editor Version 5.00\n\n"));
}

// A person who keeps the file in a folder of dotfiles, with a link at its usual name; the file,
// written open to others, becomes private at the save.
TEST_F(FileBackendTest, ALinkAtTheFileStaysAndTheFileItPointsAtIsSaved) {
    QTemporaryDir dotfiles;
    const QString kept = dotfiles.filePath(QStringLiteral("brisel/settings.reg"));
    writeFile(kept, "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Brisel]\n"
                    "\"Keel\"=\"latvian\"\n");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    ASSERT_TRUE(QFile::link(kept, path));
    auto store = newStore();
    EXPECT_EQ(read(*store, QStringLiteral("Keel")).toString(), QStringLiteral("latvian"));
    ASSERT_TRUE(write(*store, QStringLiteral("Linn"), QStringLiteral("Tartu")));
    EXPECT_TRUE(QFileInfo(path).isSymLink());
    EXPECT_EQ(read(*newStore(), QStringLiteral("Linn")).toString(), QStringLiteral("Tartu"));
    EXPECT_TRUE(readFile(kept).contains("\"Linn\"=\"Tartu\""));
    EXPECT_EQ(QFileInfo(kept).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup),
              QFileDevice::Permissions());
}

// No file, an empty one or one of junk holds no settings; the junk is kept behind the header
// that lets regedit import the file.
TEST_F(FileBackendTest, NoFileAnEmptyOneOrJunkMeansNoSettingsAndTheFirstWriteMakesIt) {
    auto store = newStore();
    EXPECT_EQ(read(*store, QStringLiteral("Keel"), QStringLiteral("estonian")).toString(),
              QStringLiteral("estonian"));
    EXPECT_FALSE(QFileInfo::exists(path)) << "reading writes nothing";
    EXPECT_TRUE(write(*store, QStringLiteral("Keel"), QStringLiteral("english")));
    EXPECT_EQ(read(*newStore(), QStringLiteral("Keel")).toString(), QStringLiteral("english"));

    writeFile(path, QByteArray());
    store = newStore(); // no warning
    EXPECT_FALSE(read(*store, QStringLiteral("Keel")).isValid());
    EXPECT_TRUE(write(*store, QStringLiteral("Linn"), QStringLiteral("Tartu")));
    EXPECT_EQ(read(*newStore(), QStringLiteral("Linn")).toString(), QStringLiteral("Tartu"));

    const QByteArray junk = binaryJunk();
    writeFile(path, junk);
    store = newStore();
    EXPECT_FALSE(read(*store, QStringLiteral("Linn")).isValid());
    ASSERT_TRUE(write(*store, QStringLiteral("Keel"), QStringLiteral("english")));
    EXPECT_EQ(read(*newStore(), QStringLiteral("Keel")).toString(), QStringLiteral("english"));
    const QByteArray saved = readFile(path);
    EXPECT_TRUE(saved.startsWith("Windows Registry Editor Version 5.00\n\n")) << "so regedit can import it";
    EXPECT_TRUE(saved.contains(junk));
    EXPECT_TRUE(setAside().isEmpty());
}

TEST_F(FileBackendTest, RefusedOrFailedWritesKeepNothingAndAreReportedUnlessNoKeyCanBeMade) {
    auto store = newStore();
    ASSERT_TRUE(write(*store, QStringLiteral("Keel"), QStringLiteral("estonian")));
    const QByteArray before = readFile(path);
    EXPECT_FALSE(write(*store, QStringLiteral("a\nb"), QStringLiteral("x")));
    EXPECT_EQ(readFile(path), before);

    // A folder where the file should be: the save cannot read it first (even as root).
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkpath(path));
    {
        ScopedExpectedWarnings expected(
            QStringLiteral("^brisel\\.settings: The settings file .* cannot be written"));
        EXPECT_FALSE(write(*store, QStringLiteral("Linn"), QStringLiteral("Tartu")));
        EXPECT_EQ(expected.seen(), 1);
    }
    EXPECT_EQ(reported, QStringList({QStringLiteral("Registry error: Invalid Parameters"),
                                     QStringLiteral("Registry error: Cannot Write")}));
    EXPECT_FALSE(read(*store, QStringLiteral("Linn")).isValid()) << "what was not saved is not kept";
    EXPECT_EQ(read(*store, QStringLiteral("Keel")).toString(), QStringLiteral("estonian"));

    // A file where the folder should be: the key cannot be created, which is no message.
    ASSERT_TRUE(QDir(dir.filePath(QStringLiteral("Brisel"))).removeRecursively());
    writeFile(dir.filePath(QStringLiteral("Brisel")), "a file where the folder should be");
    ScopedExpectedWarnings expected(
        QStringLiteral("^brisel\\.settings: The settings folder .* cannot be made"));
    EXPECT_FALSE(write(*newStore(), QStringLiteral("Keel"), QStringLiteral("english")));
    EXPECT_EQ(expected.seen(), 1);
    EXPECT_EQ(reported.size(), 2) << "a key that cannot be created is no message";
}

// The bytes of a text as Windows' registry editor exports it: UTF-16LE after a byte-order mark.
QByteArray utf16leWithBom(const QString& text) {
    QByteArray bytes("\xff\xfe", 2);
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xff));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

const QByteArray BriselSection =
    "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Brisel]\n";

TEST_F(FileBackendTest, ReadsAndKeepsWhatWindowsRegistryEditorExports) {
    const QString exported = QStringLiteral("Windows Registry Editor Version 5.00\r\n"
                                            "\r\n"
                                            "[HKEY_CURRENT_USER\\SOFTWARE\\Brisel]\r\n"
                                            "\"Keel\"=\"latvian\"\r\n"
                                            "\"Linn\"=\"Pärnu\"\r\n"
                                            "\"Vana\"=\"x\"\r\n"
                                            "\"Tee\"=hex(2):25,00,48,00,4f,00,4d,00,45,00,25,00,00,00\r\n"
                                            "\r\n"
                                            "[HKEY_CURRENT_USER\\SOFTWARE\\Brisel\\Alam]\r\n"
                                            "\"X\"=\"y\"\r\n"
                                            "\r\n"
                                            "[HKEY_CURRENT_USER\\SOFTWARE\\Muu]\r\n"
                                            "\"Kellele\"=\"teistele\"\r\n"
                                            "\r\n"
                                            "[-HKEY_CURRENT_USER\\SOFTWARE\\Brisel\\Alam]\r\n"
                                            "\r\n"
                                            "[HKEY_CURRENT_USER\\SOFTWARE\\Brisel]\r\n"
                                            "\"Vana\"=-\r\n"
                                            "\r\n");
    writeFile(path, utf16leWithBom(exported));
    auto store = newStore();
    EXPECT_EQ(read(*store, QStringLiteral("Keel")).toString(), QStringLiteral("latvian"));
    EXPECT_EQ(read(*store, QStringLiteral("Linn")).toString(), QStringLiteral("Pärnu"));
    EXPECT_EQ(read(*store, QStringLiteral("Tee")).toString(), QStringLiteral("%HOME%"));
    EXPECT_FALSE(read(*store, QStringLiteral("Vana")).isValid()) << "a deleted value";
    reg::KeyHandle key = 0;
    EXPECT_EQ(store->backend().openKey(reg::HKEY_CURRENT_USER, BriselKey + QStringLiteral("\\Alam"),
                                       reg::KEY_READ, &key),
              reg::ERROR_FILE_NOT_FOUND)
        << "a deleted key";

    ASSERT_TRUE(write(*store, QStringLiteral("Keel"), QStringLiteral("english")));
    ASSERT_TRUE(write(*store, QStringLiteral("Vana"), QStringLiteral("uus")));
    ASSERT_TRUE(store->WriteRegValue(reg::HKEY_CURRENT_USER, BriselKey + QStringLiteral("\\Alam"),
                                     QStringLiteral("X"), QStringLiteral("z")));
    QString expected = exported;
    expected.replace(QStringLiteral("\"Keel\"=\"latvian\""), QStringLiteral("\"Keel\"=\"english\""));
    expected.replace(QStringLiteral("\"Vana\"=-"), QStringLiteral("\"Vana\"=\"uus\""));
    expected += QStringLiteral("[HKEY_CURRENT_USER\\SOFTWARE\\Brisel\\Alam]\r\n\"X\"=\"z\"\r\n\r\n");
    EXPECT_EQ(readFile(path), utf16leWithBom(expected)) << "still UTF-16LE with CRLF, the other key kept";
    EXPECT_EQ(store->ReadRegValue(reg::HKEY_CURRENT_USER, QStringLiteral("SOFTWARE\\Muu"),
                                  QStringLiteral("Kellele")),
              QVariant(QStringLiteral("teistele")));
    EXPECT_EQ(read(*newStore(), QStringLiteral("Vana")).toString(), QStringLiteral("uus"));
}

TEST_F(FileBackendTest, ReadsAndWritesTheOlderRegedit4Format) {
    const QByteArray old = "REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Brisel]\n\"Keel\"=\"english\"\n"
                           "\"Tee\"=hex(2):25,48,4f,4d,45,25,00\n\n";
    writeFile(path, old);
    auto store = newStore();
    EXPECT_EQ(read(*store, QStringLiteral("Keel")).toString(), QStringLiteral("english"));
    EXPECT_EQ(read(*store, QStringLiteral("Tee")).toString(), QStringLiteral("%HOME%"))
        << "one byte a letter";
    ASSERT_TRUE(write(*store, QStringLiteral("Read"), QStringLiteral("a\nb")));
    EXPECT_EQ(readFile(path), "REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Brisel]\n\"Keel\"=\"english\"\n"
                              "\"Tee\"=hex(2):25,48,4f,4d,45,25,00\n\"Read\"=hex(1):61,0a,62,00\n\n");
    EXPECT_EQ(read(*newStore(), QStringLiteral("Read")).toString(), QStringLiteral("a\nb"));
}

// What a person wrote stays as written: comments, spacing, the case of names, and values this
// program cannot write the same way. Only the line of a value the program changes is written anew.
TEST_F(FileBackendTest, APersonsFileIsReadAndComesBackAsWritten) {
    const QByteArray written = "\xEF\xBB\xBF"
                               "Windows Registry Editor Version 5.00\r\n"
                               "\r\n"
                               "; the settings of Brisel, kept by hand\r\n"
                               "[hkey_current_user\\software\\brisel]\r\n"
                               "\"Keel\" = \"latvian\"\r\n"
                               "@=\"vaikimisi\"\r\n"
                               "\"Tee\"=\"C:\\temp\"\r\n"
                               "\"Märk\"=\"\xEF\xBB\xBF"
                               "algus\"\r\n"
                               "\"Arv\"=dword:0000000A\r\n"
                               "\"Pool\"=hex(1):3d,d8,61,00,00,00\r\n"
                               "\"Paaritu\"=hex(2):41,00,42\r\n"
                               "\"Pilt\"=hex:00,01,02,\\\r\n"
                               "  03\r\n"
                               "; end\r\n";
    writeFile(path, written);
    auto store = newStore();
    EXPECT_EQ(store->ReadRegValue(reg::HKEY_CURRENT_USER, QStringLiteral("Software\\BRISEL"),
                                  QStringLiteral("KEEL")),
              QVariant(QStringLiteral("latvian")))
        << "key paths and value names compared without case";
    EXPECT_EQ(read(*store, QString()).toString(), QStringLiteral("vaikimisi"));
    EXPECT_EQ(read(*store, QStringLiteral("Tee")).toString(), QStringLiteral("C:\\temp"))
        << "a lone backslash";
    EXPECT_EQ(read(*store, QStringLiteral("Märk")).toString(), QStringLiteral("\uFEFFalgus"))
        << "a leading byte-order mark is a character of the text";
    EXPECT_EQ(read(*store, QStringLiteral("Arv")), QVariant(10));
    EXPECT_EQ(read(*store, QStringLiteral("Pilt")).toByteArray(), QByteArray("\0\1\2\3", 4))
        << "a hex list over two lines";
    reg::KeyHandle key = 0;
    EXPECT_EQ(
        store->backend().openKey(reg::HKEY_CURRENT_USER, QStringLiteral("SOFTWARE"), reg::KEY_READ, &key),
        reg::ERROR_SUCCESS)
        << "the parent of a key exists";
    store->backend().closeKey(key);

    ASSERT_TRUE(write(*store, QStringLiteral("Arv"), 10)); // the same value: nothing to change
    ASSERT_TRUE(write(*store, QStringLiteral("Märk"), read(*store, QStringLiteral("Märk"))));
    EXPECT_EQ(readFile(path), written);

    ASSERT_TRUE(write(*store, QStringLiteral("Keel"), QStringLiteral("estonian")));
    ASSERT_TRUE(write(*store, QStringLiteral("Linn"), QStringLiteral("Tartu")));
    QByteArray expected = written;
    expected.replace("\"Keel\" = \"latvian\"", "\"Keel\"=\"estonian\"");
    expected.replace("  03\r\n", "  03\r\n\"Linn\"=\"Tartu\"\r\n");
    EXPECT_EQ(readFile(path), expected);
}

// A line that cannot be read gives no value; the values around it are read, and the line stays in
// the file as it stands.
TEST_F(FileBackendTest, AnUnreadableLineIsSkippedAndKept) {
    const std::pair<const char*, QByteArray> lines[] = {
        {"latin1", "\"Muu\"=\"P\xe4rnu\""},
        {"nul", QByteArray("\"Muu\"=\"est\0nian\"", 16)},
        {"unquoted", "\"Muu\"=english"},
        {"unclosed", "\"Muu\"=\"english\\\""},
        {"name", "Muu=\"english\""},
        {"hex", "\"Muu\"=hex:01,zz"},
        {"dword", "\"Muu\"=dword:123456789"},
        {"type", "\"Muu\"=qword:1"},
        {"continued", "\"Muu\"=hex:01,\\\n  zz"},
        {"junk", "\x01\x02\xff\xfe junk"},
    };
    for (const auto& [what, line] : lines) {
        const QByteArray content =
            BriselSection + "\"Keel\"=\"latvian\"\n" + line + "\n\"Linn\"=\"Pärnu\"\n\n";
        writeFile(path, content);
        auto store = newStore();
        EXPECT_EQ(read(*store, QStringLiteral("Keel")).toString(), QStringLiteral("latvian")) << what;
        EXPECT_EQ(read(*store, QStringLiteral("Linn")).toString(), QStringLiteral("Pärnu")) << what;
        EXPECT_FALSE(read(*store, QStringLiteral("Muu")).isValid()) << what;
        ASSERT_TRUE(write(*store, QStringLiteral("Uus"), 1)) << what;
        QByteArray expected = content;
        expected.insert(content.size() - 1, "\"Uus\"=dword:00000001\n");
        EXPECT_EQ(readFile(path), expected) << what;
    }
    EXPECT_TRUE(setAside().isEmpty());
}

// Values after a section header that cannot be read belong to that unknown key, not to the one
// before it.
TEST_F(FileBackendTest, ValuesAfterAnUnreadableSectionAreNoValuesOfTheKeyBefore) {
    writeFile(path, BriselSection + "\"Keel\"=\"latvian\"\n[HKEY_CURRENT_USER\\SOFTWARE\\P\xe4rnu]\n"
                                    "\"Linn\"=\"Riga\"\n[HKEY_SOMEWHERE\\SOFTWARE\\Brisel]\n\"Muu\"=\"x\"\n");
    auto store = newStore();
    EXPECT_EQ(read(*store, QStringLiteral("Keel")).toString(), QStringLiteral("latvian"));
    EXPECT_FALSE(read(*store, QStringLiteral("Linn")).isValid());
    EXPECT_FALSE(read(*store, QStringLiteral("Muu")).isValid());
}

TEST_F(FileBackendTest, ATooLargeFileGivesNoValuesAndIsSetAsideAtTheFirstSave) {
    QByteArray huge = BriselSection;
    const QByteArray comment = "; " + QByteArray(100, 'x') + '\n';
    while (huge.size() <= LargestProfileFile) {
        huge += comment;
    }
    huge += "\"Keel\"=\"english\"\n";
    for (int i = 0; i < 2; ++i) { // twice in the same second: both are kept
        writeFile(path, huge);
        auto store = newStore();
        EXPECT_FALSE(read(*store, QStringLiteral("Keel")).isValid());
        ScopedExpectedWarnings expected(SetAsideWarning);
        EXPECT_TRUE(write(*store, QStringLiteral("Linn"), QStringLiteral("Tartu")));
        EXPECT_EQ(expected.seen(), 1);
        EXPECT_EQ(read(*newStore(), QStringLiteral("Linn")).toString(), QStringLiteral("Tartu"));
    }
    const QStringList aside = setAside();
    ASSERT_EQ(aside.size(), 2);
    EXPECT_EQ(readFile(QFileInfo(path).absoluteDir().filePath(aside.first())), huge);
}

// Another Brisel, or a person with an editor, may change the file while this one runs.
TEST_F(FileBackendTest, ValuesWrittenMeanwhileByOthersAreKept) {
    writeFile(path, BriselSection + "\"Keel\"=\"latvian\"\n\n");
    auto first = newStore();
    auto second = newStore();
    ASSERT_TRUE(write(*second, QStringLiteral("Linn"), QStringLiteral("Riga")));
    ASSERT_TRUE(write(*second, QStringLiteral("Keel"), QStringLiteral("english")));
    QFile byHand(path);
    ASSERT_TRUE(byHand.open(QIODevice::Append));
    byHand.write("[HKEY_CURRENT_USER\\SOFTWARE\\Brisel]\n\"QuellanUser\"=\"mari\"\n");
    byHand.close();

    ASSERT_TRUE(write(*first, QStringLiteral("Keel"), QStringLiteral("estonian")));
    auto later = newStore();
    EXPECT_EQ(read(*later, QStringLiteral("Keel")).toString(), QStringLiteral("estonian"));
    EXPECT_EQ(read(*later, QStringLiteral("Linn")).toString(), QStringLiteral("Riga"));
    EXPECT_EQ(read(*later, QStringLiteral("QuellanUser")).toString(), QStringLiteral("mari"));
    EXPECT_EQ(read(*first, QStringLiteral("Linn")).toString(), QStringLiteral("Riga"))
        << "what the save read is what the store holds";
}

// A full disk, as the file system reports it: writes beyond a small size fail (EFBIG).
TEST_F(FileBackendTest, AFullDiskFailsTheSaveAndLeavesTheOldFileWhole) {
    auto store = newStore();
    ASSERT_TRUE(write(*store, QStringLiteral("Keel"), QStringLiteral("latvian")));
    const QByteArray before = readFile(path);
    bool written = true;
    {
        // Room for the lock file, not for the new settings.
        const testing_support::FileSizeLimit full(512);
        ScopedExpectedWarnings expected(
            QStringLiteral("^brisel\\.settings: The settings file .* cannot be written"));
        written = write(*store, QStringLiteral("Linn"), QString(2000, QLatin1Char('x')));
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(reported, QStringList{QStringLiteral("Registry error: Cannot Write")});
    EXPECT_EQ(readFile(path), before);
    EXPECT_FALSE(read(*store, QStringLiteral("Linn")).isValid());
}

// The number of values is bounded only by the file's size; reading them must not take longer for
// each value already read. (Before, 100,000 values took seconds and the largest files minutes.)
TEST_F(FileBackendTest, ManyValuesAreAllRead) {
    constexpr int Count = 60000; // as many as the largest file holds
    QByteArray content = BriselSection;
    for (int i = 0; i < Count; ++i) {
        const QByteArray name = QByteArray::number(i, 36);
        content += '"' + name + "\"=\"" + name + "\"\n";
    }
    writeFile(path, content);
    auto store = newStore();
    EXPECT_EQ(read(*store, QStringLiteral("0")).toString(), QStringLiteral("0"));
    EXPECT_EQ(read(*store, QStringLiteral("15XX")).toString(), QStringLiteral("15xx"));
    EXPECT_EQ(read(*store, QString::number(Count - 1, 36)).toString(), QString::number(Count - 1, 36));
    ASSERT_TRUE(write(*store, QStringLiteral("15xx"), QStringLiteral("uus")));
    EXPECT_TRUE(readFile(path).contains("\n\"15xx\"=\"uus\"\n"));
}

TEST_F(FileBackendTest, FailedReadsGiveTheDefaultSilentlyAndAFailedSetIsReportedByItsStatus) {
    auto store = newStore();
    const QString longText(2000, QLatin1Char('x')); // beyond the first buffer: read by a second query
    ASSERT_TRUE(write(*store, QStringLiteral("Linn"), QStringLiteral("Tallinn")));
    ASSERT_TRUE(write(*store, QStringLiteral("Pikk"), longText));
    const QVariant fallback(QStringLiteral("Tartu"));
    scripted(*store).failNext(Op::Open, 5);
    EXPECT_EQ(read(*store, QStringLiteral("Linn"), fallback), fallback) << "the key cannot be opened";
    scripted(*store).failNext(Op::Query, 4);
    EXPECT_EQ(read(*store, QStringLiteral("Linn"), fallback), fallback) << "the query fails";
    scripted(*store).failNext(Op::Query, 4, /*skip=*/1);
    EXPECT_EQ(read(*store, QStringLiteral("Pikk"), fallback), fallback) << "the second query fails";
    EXPECT_EQ(read(*store, QStringLiteral("Pikk")).toString(), longText);
    EXPECT_TRUE(reported.isEmpty()) << "a read never reports";

    // A failed set is reported with its status's message, or logged when no window shows messages.
    scripted(*store).failNext(Op::Set, 6);
    EXPECT_FALSE(write(*store, QStringLiteral("Keel"), QStringLiteral("english")));
    scripted(*store).failNext(Op::Set, 1234); // a status without a message
    EXPECT_FALSE(write(*store, QStringLiteral("Linn"), 1));
    EXPECT_EQ(reported, QStringList{QStringLiteral("Registry error: Out Of Memory")});
    EXPECT_FALSE(read(*store, QStringLiteral("Keel")).isValid());
    EXPECT_TRUE(write(*store, QStringLiteral("Linn"), 1)) << "the next write goes through again";

    reg::Store unshown(std::make_unique<ScriptedBackend>(path));
    scripted(unshown).failNext(Op::Set, 5);
    ScopedExpectedWarnings expected(QStringLiteral("^brisel\\.settings: Registry error: Cannot Write$"));
    EXPECT_FALSE(write(unshown, QStringLiteral("Keel"), QStringLiteral("x")));
    EXPECT_EQ(expected.seen(), 1);
    unshown.ShowRegError(0); // no message, nothing logged
    EXPECT_EQ(expected.seen(), 1);
}

// Texts, whole numbers and bytes are written; a Single is rounded half to even, and any other
// value leaves the file as it was.
TEST_F(FileBackendTest, OnlyTheTypesTheRegistryHoldsAreWritten) {
    auto store = newStore();
    const std::pair<float, int> singles[] = {{0.5f, 0}, {1.5f, 2},   {2.5f, 2},
                                             {3.5f, 4}, {-2.5f, -2}, {2.4f, 2}};
    for (const auto& [single, expected] : singles) {
        ASSERT_TRUE(write(*store, QStringLiteral("S"), QVariant::fromValue(single)));
        EXPECT_EQ(read(*store, QStringLiteral("S")), QVariant(expected)) << single;
    }
    const QByteArray before = readFile(path);
    const QVariant others[] = {
        QVariant(true),
        QVariant(QDate(2007, 4, 10)),
        QVariant(QDateTime(QDate(2007, 4, 10), QTime(10, 30))),
        QVariant(1.5),
        QVariant(),
        QVariant::fromValue<qint64>(1),
        QVariant::fromValue<quint8>(1),
        QVariant::fromValue(std::numeric_limits<float>::quiet_NaN()),
        QVariant::fromValue(3e9f), // beyond 32 bits
    };
    for (const QVariant& value : others) {
        EXPECT_FALSE(write(*store, QStringLiteral("X"), value)) << value.typeName();
    }
    EXPECT_EQ(readFile(path), before);
    EXPECT_TRUE(reported.isEmpty());
}

// The settings lie in the configuration folder XDG_CONFIG_HOME names, unless it is no absolute
// path, and then under HOME. That the program keeps them there the installed program's test sees.
TEST(SettingsFileLocation, IsBriselSettingsRegInTheUsersConfigurationFolder) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/brisel-config-test");
    EXPECT_EQ(reg::defaultSettingsFilePath(), QStringLiteral("/tmp/brisel-config-test/Brisel/settings.reg"));
    qputenv("XDG_CONFIG_HOME", "relative/ignored");
    EXPECT_EQ(reg::defaultSettingsFilePath(),
              QDir::homePath() + QStringLiteral("/.config/Brisel/settings.reg"));
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(reg::defaultSettingsFilePath(),
              QDir::homePath() + QStringLiteral("/.config/Brisel/settings.reg"));
    qputenv("XDG_CONFIG_HOME", saved);
}

} // namespace
