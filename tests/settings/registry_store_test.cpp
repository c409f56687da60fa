// The read and write rules of the settings store, over a back end whose answers the
// tests choose.

#include "scripted_backend.h"
#include "settings/registry_store.h"
#include "test_support.h"

#include <QDate>
#include <QDateTime>
#include <gtest/gtest.h>
#include <limits>

using namespace Qt::StringLiterals;

using testing_support::ScriptedBackend;
using Op = ScriptedBackend::Op;

namespace {

const QString BriselKey = QString::fromLatin1(reg::BriselKeyPath);

QByteArray bytes(std::initializer_list<int> list) {
    QByteArray out;
    for (int b : list) {
        out.append(static_cast<char>(b));
    }
    return out;
}

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        store.setErrorReporter([this](const QString& message) { reported.append(message); });
    }
    void TearDown() override { EXPECT_EQ(backend.openHandles(), 0) << "the store left a key open"; }

    QVariant read(const QString& name, const QVariant& defaultValue = QVariant()) {
        return store.ReadRegValue(reg::HKEY_CURRENT_USER, BriselKey, name, defaultValue);
    }
    bool write(const QString& name, const QVariant& value) {
        return store.WriteRegValue(reg::HKEY_CURRENT_USER, BriselKey, name, value);
    }
    void put(const QString& name, std::uint32_t type, const QByteArray& data) {
        backend.putValue(BriselKey, name, type, data);
    }
    std::vector<std::uint32_t> querySizes() const {
        std::vector<std::uint32_t> sizes;
        for (const auto& call : backend.calls()) {
            if (call.op == Op::Query) {
                sizes.push_back(call.size);
            }
        }
        return sizes;
    }

    std::unique_ptr<ScriptedBackend> owned = std::make_unique<ScriptedBackend>();
    ScriptedBackend& backend = *owned;
    reg::Store store{std::move(owned)};
    QStringList reported;
};

TEST_F(StoreTest, TextValuesReadWithoutTheirTerminatingNuls) {
    put(QStringLiteral("Keel"), reg::REG_SZ, QByteArray("estonian", 9));
    put(QStringLiteral("Tühi"), reg::REG_SZ, QByteArray(1, '\0'));
    put(QStringLiteral("Linn"), reg::REG_SZ, QStringLiteral("Pärnu õhtu").toUtf8() + '\0');
    put(QStringLiteral("Tee"), reg::REG_EXPAND_SZ, QByteArray("%TEMP%\\x", 9));
    put(QStringLiteral("Mitu"), reg::REG_MULTI_SZ, QByteArray("a\0b\0\0", 5));

    const QVariant keel = read(QStringLiteral("Keel"), QStringLiteral("english"));
    EXPECT_EQ(keel.typeId(), QMetaType::QString);
    EXPECT_EQ(keel.toString(), QStringLiteral("estonian"));
    const QVariant empty = read(QStringLiteral("Tühi"), QStringLiteral("default"));
    EXPECT_EQ(empty.typeId(), QMetaType::QString);
    EXPECT_EQ(empty.toString(), QString());
    EXPECT_EQ(read(QStringLiteral("Linn")).toString(), QStringLiteral("Pärnu õhtu"));
    EXPECT_EQ(read(QStringLiteral("Tee")).toString(), QStringLiteral("%TEMP%\\x")) << "no expansion";
    // REG_MULTI_SZ: only the final two NULs go, the one between the items stays.
    EXPECT_EQ(read(QStringLiteral("Mitu")).toString(), QString(QStringLiteral("a\0b").data(), 3));

    for (const auto& call : backend.calls()) {
        if (call.op == Op::Open) {
            EXPECT_EQ(call.access, reg::KEY_READ);
        }
    }
}

TEST_F(StoreTest, DwordReadsAsSigned32BitInt) {
    put(QStringLiteral("Yks"), reg::REG_DWORD, bytes({1, 0, 0, 0}));
    put(QStringLiteral("Miinus"), reg::REG_DWORD, bytes({0xfe, 0xff, 0xff, 0xff}));
    put(QStringLiteral("Suur"), reg::REG_DWORD, bytes({0x78, 0x56, 0x34, 0x12}));

    const QVariant one = read(QStringLiteral("Yks"));
    EXPECT_EQ(one.typeId(), QMetaType::Int);
    EXPECT_EQ(one.toInt(), 1);
    EXPECT_EQ(read(QStringLiteral("Miinus")).toInt(), -2);
    EXPECT_EQ(read(QStringLiteral("Suur")).toInt(), 0x12345678);
}

TEST_F(StoreTest, BinaryReadsAsExactlyItsBytes) {
    put(QStringLiteral("Pilt"), reg::REG_BINARY, bytes({0, 1, 0xff}));
    put(QStringLiteral("Tühi"), reg::REG_BINARY, QByteArray());

    const QVariant picture = read(QStringLiteral("Pilt"));
    EXPECT_EQ(picture.typeId(), QMetaType::QByteArray);
    EXPECT_EQ(picture.toByteArray(), bytes({0, 1, 0xff}));
    EXPECT_EQ(read(QStringLiteral("Tühi")).toByteArray(), QByteArray());
}

TEST_F(StoreTest, ValueLongerThanTheFirstBufferIsReadWholeBySecondQuery) {
    const QString text(3000, QLatin1Char('x'));
    put(QStringLiteral("Pikk"), reg::REG_SZ, text.toUtf8() + '\0');
    EXPECT_EQ(read(QStringLiteral("Pikk")).toString(), text);
    EXPECT_EQ(querySizes(), (std::vector<std::uint32_t>{1024, 3001}));

    backend.clearCalls();
    const QByteArray blob(5000, '\x5a');
    put(QStringLiteral("Plekk"), reg::REG_BINARY, blob);
    EXPECT_EQ(read(QStringLiteral("Plekk")).toByteArray(), blob);
    EXPECT_EQ(querySizes(), (std::vector<std::uint32_t>{1024, 5000}));

    backend.clearCalls();
    put(QStringLiteral("Täpselt"), reg::REG_BINARY, QByteArray(1024, '\x01'));
    EXPECT_EQ(read(QStringLiteral("Täpselt")).toByteArray().size(), 1024);
    EXPECT_EQ(querySizes(), (std::vector<std::uint32_t>{1024})) << "1024 bytes fit the first buffer";
}

TEST_F(StoreTest, FailedReadsGiveTheDefaultSilently) {
    const QVariant fallback(QStringLiteral("Tartu"));
    EXPECT_EQ(read(QStringLiteral("Linn"), fallback), fallback) << "no key";
    EXPECT_FALSE(read(QStringLiteral("Linn")).isValid()) << "no key and no default: Empty";

    backend.putKey(BriselKey);
    EXPECT_EQ(read(QStringLiteral("Linn"), fallback), fallback) << "no value";

    put(QStringLiteral("Q"), 11 /* REG_QWORD */, QByteArray(8, '\0'));
    put(QStringLiteral("N"), reg::REG_NONE, QByteArray("x"));
    EXPECT_EQ(read(QStringLiteral("Q"), fallback), fallback) << "a type the module does not read";
    EXPECT_EQ(read(QStringLiteral("N"), fallback), fallback);

    put(QStringLiteral("Linn"), reg::REG_SZ, QByteArray("Tallinn", 8));
    backend.failNextOpen(5);
    EXPECT_EQ(read(QStringLiteral("Linn"), fallback), fallback) << "the key cannot be opened";
    backend.failNextQuery(4);
    EXPECT_EQ(read(QStringLiteral("Linn"), fallback), fallback) << "the query fails";

    put(QStringLiteral("Pikk"), reg::REG_SZ, QByteArray(2000, 'x') + '\0');
    backend.failNextQuery(4, /*skip=*/1);
    EXPECT_EQ(read(QStringLiteral("Pikk"), fallback), fallback) << "the second query fails";

    EXPECT_TRUE(reported.isEmpty()) << "a read never reports";
}

TEST_F(StoreTest, WritesChooseTheRegistryTypeByTheValuesType) {
    backend.putKey(BriselKey);
    EXPECT_TRUE(write(QStringLiteral("Keel"), QStringLiteral("estonian")));
    EXPECT_TRUE(write(QStringLiteral("Linn"), QStringLiteral("Jõesuu")));
    EXPECT_TRUE(write(QStringLiteral("Lühike"), QVariant::fromValue<qint16>(-2)));
    EXPECT_TRUE(write(QStringLiteral("Pikk"), QVariant::fromValue<qint32>(1)));
    EXPECT_TRUE(write(QStringLiteral("Pilt"), bytes({0, 0xff})));

    const auto stored = [this](const char* name) {
        return *backend.value(BriselKey, QString::fromUtf8(name));
    };
    EXPECT_EQ(stored("Keel").type, reg::REG_SZ);
    EXPECT_EQ(stored("Keel").data, QByteArray("estonian", 9)) << "the text and one NUL";
    EXPECT_EQ(stored("Linn").data, QStringLiteral("Jõesuu").toUtf8() + '\0')
        << "UTF-8, not an ANSI code page";
    EXPECT_EQ(stored("Lühike").type, reg::REG_DWORD);
    EXPECT_EQ(stored("Lühike").data, bytes({0xfe, 0xff, 0xff, 0xff}));
    EXPECT_EQ(stored("Pikk").data, bytes({1, 0, 0, 0}));
    EXPECT_EQ(stored("Pilt").type, reg::REG_BINARY);
    EXPECT_EQ(stored("Pilt").data, bytes({0, 0xff}));

    EXPECT_EQ(read(QStringLiteral("Keel")).toString(), QStringLiteral("estonian"));
    EXPECT_EQ(read(QStringLiteral("Lühike")).toInt(), -2);
    for (const auto& call : backend.calls()) {
        if (call.op == Op::Set) {
            EXPECT_EQ(call.keyPath, BriselKey);
        }
    }
}

TEST_F(StoreTest, SingleIsRoundedHalfToEven) {
    backend.putKey(BriselKey);
    const std::pair<float, int> cases[] = {{0.5f, 0}, {1.5f, 2},   {2.5f, 2},
                                           {3.5f, 4}, {-2.5f, -2}, {2.4f, 2}};
    for (const auto& [single, expected] : cases) {
        ASSERT_TRUE(write(QStringLiteral("S"), QVariant::fromValue(single)));
        EXPECT_EQ(backend.value(BriselKey, QStringLiteral("S"))->type, reg::REG_DWORD);
        EXPECT_EQ(read(QStringLiteral("S")).toInt(), expected) << single;
    }
}

TEST_F(StoreTest, ValuesOfOtherTypesAreNotWritten) {
    backend.putKey(BriselKey);
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
        EXPECT_FALSE(write(QStringLiteral("X"), value)) << value.typeName();
    }
    EXPECT_FALSE(backend.value(BriselKey, QStringLiteral("X")));
    EXPECT_FALSE(backend.callNames().contains(QStringLiteral("set")));
    EXPECT_TRUE(reported.isEmpty());
}

TEST_F(StoreTest, FirstWriteCreatesTheKeyAndLaterWritesFindIt) {
    ASSERT_FALSE(backend.hasKey(BriselKey));
    EXPECT_TRUE(write(QStringLiteral("Keel"), QStringLiteral("english")));
    EXPECT_TRUE(backend.hasKey(BriselKey));
    EXPECT_EQ(backend.callNames(),
              QStringList({u"open"_s, u"create"_s, u"close"_s, u"open"_s, u"set"_s, u"close"_s}));
    EXPECT_EQ(backend.calls()[0].access, reg::KEY_WRITE);
    EXPECT_EQ(backend.calls()[1].access, reg::KEY_CREATE_ALL);
    EXPECT_EQ(backend.calls()[1].keyPath, BriselKey);

    backend.clearCalls();
    EXPECT_TRUE(write(QStringLiteral("Linn"), QStringLiteral("Tartu")));
    EXPECT_EQ(backend.callNames(), QStringList({u"open"_s, u"set"_s, u"close"_s}));
    EXPECT_EQ(read(QStringLiteral("Keel")).toString(), QStringLiteral("english"));
}

TEST_F(StoreTest, KeyThatCannotBeCreatedFailsTheWriteSilently) {
    backend.failNextCreate(5);
    EXPECT_FALSE(write(QStringLiteral("Keel"), QStringLiteral("english")));
    EXPECT_FALSE(backend.hasKey(BriselKey));
    EXPECT_FALSE(backend.callNames().contains(QStringLiteral("set")));
    EXPECT_TRUE(reported.isEmpty());
}

TEST_F(StoreTest, FailedSetReportsTheStatusMessage) {
    backend.putKey(BriselKey);
    backend.failNextSet(6);
    EXPECT_FALSE(write(QStringLiteral("Keel"), QStringLiteral("english")));
    backend.failNextSet(5);
    EXPECT_FALSE(write(QStringLiteral("Linn"), 1));
    backend.failNextSet(1234); // a status without a message
    EXPECT_FALSE(write(QStringLiteral("Linn"), 1));

    EXPECT_EQ(reported, QStringList({u"Registry error: Out Of Memory"_s, u"Registry error: Cannot Write"_s}));
    EXPECT_FALSE(backend.value(BriselKey, QStringLiteral("Keel")));
    EXPECT_TRUE(write(QStringLiteral("Linn"), 1)) << "the next write goes through again";
}

TEST(StoreWithoutReporter, LogsTheMessageInsteadOfShowingIt) {
    auto owned = std::make_unique<ScriptedBackend>();
    ScriptedBackend& backend = *owned;
    reg::Store store(std::move(owned));
    backend.putKey(BriselKey);
    backend.failNextSet(5);
    testing_support::ScopedExpectedWarnings expected(
        QStringLiteral("^brisel\\.settings: Registry error: Cannot Write$"));
    EXPECT_FALSE(
        store.WriteRegValue(reg::HKEY_CURRENT_USER, BriselKey, QStringLiteral("Keel"), QStringLiteral("x")));
    EXPECT_EQ(expected.seen(), 1);
    store.ShowRegError(0); // no message, nothing logged
    EXPECT_EQ(expected.seen(), 1);
}

TEST_F(StoreTest, CreateRegKeyAnswersTheStatusAndClosesTheKey) {
    EXPECT_EQ(store.CreateRegKey(reg::HKEY_CURRENT_USER, BriselKey), reg::ERROR_SUCCESS);
    EXPECT_TRUE(backend.hasKey(BriselKey));
    EXPECT_EQ(store.CreateRegKey(reg::HKEY_CURRENT_USER, BriselKey), reg::ERROR_SUCCESS) << "an existing key";
    backend.failNextCreate(8);
    EXPECT_EQ(store.CreateRegKey(reg::HKEY_CURRENT_USER, QStringLiteral("SOFTWARE\\Muu")), 8);
}

TEST(RegistryErrorMessages, FollowTheTable) {
    const std::pair<reg::Status, const char*> table[] = {
        {1, "Registry error: Bad Database"},        {2, "Registry error: Bad Key"},
        {3, "Registry error: Cannot Open"},         {4, "Registry error: Cannot Read"},
        {5, "Registry error: Cannot Write"},        {6, "Registry error: Out Of Memory"},
        {7, "Registry error: Invalid Parameter"},   {8, "Registry error: Access Is Denied"},
        {87, "Registry error: Invalid Parameters"}, {259, "Registry error: No More Items"},
    };
    for (const auto& [status, message] : table) {
        EXPECT_EQ(reg::errorMessage(status), QString::fromLatin1(message)) << status;
    }
    for (reg::Status other : {0, 9, 86, 234, -1}) {
        EXPECT_EQ(reg::errorMessage(other), QString()) << other;
    }
}

} // namespace
