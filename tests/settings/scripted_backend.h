#pragma once

// A settings back end for tests: keys and typed values in memory, every call recorded, and the
// status of a coming openKey, createKey, queryValue or setValue chosen by the test.
//
//   auto backend = std::make_unique<testing_support::ScriptedBackend>();
//   testing_support::ScriptedBackend& scripted = *backend;
//   reg::Store store(std::move(backend));
//   scripted.failNextSet(6); // the next setValue answers 6 and stores nothing

#include "settings/registry_store.h"

#include <QString>
#include <QStringList>
#include <map>
#include <optional>
#include <vector>

namespace testing_support {

class ScriptedBackend final : public reg::Backend {
public:
    enum class Op { Open, Create, Query, Set, Close };

    struct Call {
        Op op;
        QString keyPath;          // Open, Create; for Query and Set the path of the handle's key
        QString valueName;        // Query, Set
        std::uint32_t access = 0; // Open, Create
        std::uint32_t size = 0;   // Query: the caller's buffer size; Set: the data's size
        std::uint32_t type = 0;   // Set
        reg::Status status = 0;   // what the call answered (Close: 0)
    };

    struct StoredValue {
        std::uint32_t type = reg::REG_NONE;
        QByteArray data;
    };

    // The next call of that kind, after `skip` more that go through, answers `status` and does
    // nothing else.
    void failNextOpen(reg::Status status, int skip = 0) { m_fail[Op::Open] = Pending{status, skip}; }
    void failNextCreate(reg::Status status, int skip = 0) { m_fail[Op::Create] = Pending{status, skip}; }
    void failNextQuery(reg::Status status, int skip = 0) { m_fail[Op::Query] = Pending{status, skip}; }
    void failNextSet(reg::Status status, int skip = 0) { m_fail[Op::Set] = Pending{status, skip}; }

    // Seeds a key or a value as if another program had written it (no call is recorded).
    void putKey(const QString& keyPath, reg::RootKey root = reg::HKEY_CURRENT_USER) { keyFor(root, keyPath); }
    void putValue(const QString& keyPath, const QString& name, std::uint32_t type, const QByteArray& data,
                  reg::RootKey root = reg::HKEY_CURRENT_USER) {
        keyFor(root, keyPath).values[name.toCaseFolded()] = StoredValue{type, data};
    }

    bool hasKey(const QString& keyPath, reg::RootKey root = reg::HKEY_CURRENT_USER) const {
        return m_keys.count(KeyId{root, keyPath.toCaseFolded()}) > 0;
    }
    std::optional<StoredValue> value(const QString& keyPath, const QString& name,
                                     reg::RootKey root = reg::HKEY_CURRENT_USER) const {
        const auto key = m_keys.find(KeyId{root, keyPath.toCaseFolded()});
        if (key == m_keys.end()) {
            return std::nullopt;
        }
        const auto v = key->second.values.find(name.toCaseFolded());
        return v == key->second.values.end() ? std::nullopt : std::optional<StoredValue>(v->second);
    }

    const std::vector<Call>& calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }
    // The calls as "open", "create", "query", "set", "close", for a compact expectation.
    QStringList callNames() const {
        static const char* const Names[] = {"open", "create", "query", "set", "close"};
        QStringList names;
        for (const Call& call : m_calls) {
            names.append(QString::fromLatin1(Names[static_cast<int>(call.op)]));
        }
        return names;
    }
    // Handles handed out and not closed yet: a store that forgets to close leaves some.
    int openHandles() const { return static_cast<int>(m_open.size()); }

    reg::Status openKey(reg::RootKey root, const QString& path, std::uint32_t access,
                        reg::KeyHandle* key) override {
        reg::Status status = scripted(Op::Open);
        if (status == reg::ERROR_SUCCESS && !hasKey(path, root)) {
            status = reg::ERROR_FILE_NOT_FOUND;
        }
        if (status == reg::ERROR_SUCCESS) {
            *key = handOut(root, path);
        }
        m_calls.push_back(Call{Op::Open, path, {}, access, 0, 0, status});
        return status;
    }

    reg::Status createKey(reg::RootKey root, const QString& path, std::uint32_t access,
                          reg::KeyHandle* key) override {
        const reg::Status status = scripted(Op::Create);
        if (status == reg::ERROR_SUCCESS) {
            keyFor(root, path);
            *key = handOut(root, path);
        }
        m_calls.push_back(Call{Op::Create, path, {}, access, 0, 0, status});
        return status;
    }

    reg::Status queryValue(reg::KeyHandle key, const QString& name, std::uint32_t* type, QByteArray* data,
                           std::uint32_t* size) override {
        const std::uint32_t bufferSize = *size;
        reg::Status status = scripted(Op::Query);
        const auto open = m_open.find(key);
        if (status == reg::ERROR_SUCCESS && open == m_open.end()) {
            status = InvalidHandle;
        }
        if (status == reg::ERROR_SUCCESS) {
            const std::optional<StoredValue> stored = value(open->second.path, name, open->second.root);
            if (!stored) {
                status = reg::ERROR_FILE_NOT_FOUND;
            } else {
                *type = stored->type;
                *size = static_cast<std::uint32_t>(stored->data.size());
                if (*size > bufferSize) {
                    status = reg::ERROR_MORE_DATA;
                } else {
                    *data = stored->data;
                }
            }
        }
        m_calls.push_back(Call{Op::Query, pathOf(key), name, 0, bufferSize, 0, status});
        return status;
    }

    reg::Status setValue(reg::KeyHandle key, const QString& name, std::uint32_t type,
                         const QByteArray& data) override {
        reg::Status status = scripted(Op::Set);
        const auto open = m_open.find(key);
        if (status == reg::ERROR_SUCCESS && open == m_open.end()) {
            status = InvalidHandle;
        }
        if (status == reg::ERROR_SUCCESS) {
            keyFor(open->second.root, open->second.path).values[name.toCaseFolded()] =
                StoredValue{type, data};
        }
        m_calls.push_back(
            Call{Op::Set, pathOf(key), name, 0, static_cast<std::uint32_t>(data.size()), type, status});
        return status;
    }

    void closeKey(reg::KeyHandle key) override {
        m_calls.push_back(Call{Op::Close, pathOf(key), {}, 0, 0, 0, 0});
        m_open.erase(key);
    }

private:
    static constexpr reg::Status InvalidHandle = 6;

    struct Pending {
        reg::Status status;
        int skip;
    };
    struct KeyId {
        reg::RootKey root;
        QString foldedPath;
        bool operator<(const KeyId& other) const {
            return root != other.root ? root < other.root : foldedPath < other.foldedPath;
        }
    };
    struct Key {
        std::map<QString, StoredValue> values; // by case-folded name
    };
    struct OpenKey {
        reg::RootKey root;
        QString path;
    };

    reg::Status scripted(Op op) {
        const auto pending = m_fail.find(op);
        if (pending == m_fail.end()) {
            return reg::ERROR_SUCCESS;
        }
        if (pending->second.skip > 0) {
            --pending->second.skip;
            return reg::ERROR_SUCCESS;
        }
        const reg::Status status = pending->second.status;
        m_fail.erase(pending);
        return status;
    }

    Key& keyFor(reg::RootKey root, const QString& path) { return m_keys[KeyId{root, path.toCaseFolded()}]; }

    reg::KeyHandle handOut(reg::RootKey root, const QString& path) {
        const reg::KeyHandle handle = m_nextHandle++;
        m_open.emplace(handle, OpenKey{root, path});
        return handle;
    }

    QString pathOf(reg::KeyHandle key) const {
        const auto open = m_open.find(key);
        return open == m_open.end() ? QString() : open->second.path;
    }

    std::map<KeyId, Key> m_keys;
    std::map<reg::KeyHandle, OpenKey> m_open;
    std::map<Op, Pending> m_fail;
    std::vector<Call> m_calls;
    reg::KeyHandle m_nextHandle = 100;
};

} // namespace testing_support
