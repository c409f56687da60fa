// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The settings file as a person may have left it: whatever is read comes back as written, and a
// value the program changes changes nothing else. parse() must give back the file's own bytes;
// after one value is set, reading the result again finds that value and every other one as before.

#include "fuzz_support.h"
#include "settings/registry_file.h"

#include <algorithm>

namespace {

using reg::RegistryFile;

std::vector<RegistryFile::Value> othersThan(std::vector<RegistryFile::Value> values, const QString& name) {
    std::erase_if(values, [&](const RegistryFile::Value& v) {
        return v.root == reg::HKEY_CURRENT_USER &&
               v.keyPath.compare(QLatin1String(reg::BriselKeyPath), Qt::CaseInsensitive) == 0 &&
               v.name.compare(name, Qt::CaseInsensitive) == 0;
    });
    return values;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input = fuzz::bytes(data, size);
    RegistryFile file = RegistryFile::parse(input);
    FUZZ_CHECK(file.bytes() == input);

    const QString key = QString::fromLatin1(reg::BriselKeyPath);
    const QString name = QStringLiteral("Keel");
    const QByteArray english("english", 8);
    const auto before = othersThan(file.values(), name);
    file.setValue(reg::HKEY_CURRENT_USER, key, name, reg::REG_SZ, english);
    const RegistryFile again = RegistryFile::parse(file.bytes());
    const auto kept = again.value(reg::HKEY_CURRENT_USER, key, name);
    FUZZ_CHECK(kept && kept->type == reg::REG_SZ && kept->data == english);
    FUZZ_CHECK(othersThan(again.values(), name) == before);
    return 0;
}
