// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A settings back end for tests: the file back end, with the status of a coming openKey,
// queryValue or setValue chosen by the test. A key the store left open fails the test when the
// back end goes.
//
//   auto backend = std::make_unique<testing_support::ScriptedBackend>(dir.filePath(u"settings.reg"_s));
//   testing_support::ScriptedBackend& scripted = *backend;
//   reg::Store store(std::move(backend));
//   scripted.failNext(ScriptedBackend::Op::Set, 6); // the next setValue answers 6 and stores nothing

#include "settings/registry_store.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <set>

namespace testing_support {

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

} // namespace testing_support
