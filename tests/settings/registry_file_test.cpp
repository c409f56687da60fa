// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Reading a settings file's bytes, changing a value and reading the saved bytes again, as a fuzz
// target drives it: every other value comes back the same, whatever the file held.

#include "settings/registry_file.h"

#include <QString>
#include <gtest/gtest.h>

namespace {

using reg::RegistryFile;

QByteArray utf16le(const QString& text) {
    QByteArray bytes;
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xff));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

const QByteArray Samples[] = {
    // Windows' export, then the same with an odd last byte.
    "\xff\xfe" + utf16le(QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                                        "[HKEY_CURRENT_USER\\SOFTWARE\\Brisel]\r\n\"Keel\"=\"latvian\"\r\n")),
    "\xff\xfe" +
        utf16le(QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                               "[HKEY_CURRENT_USER\\SOFTWARE\\Brisel]\r\n\"Keel\"=\"latvian\" ")) +
        "\x20",
    "REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Brisel]\n\"Tee\"=hex(2):25,48,25,00",
    // A hex list continued at the very end of the file.
    "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Brisel]\n\"P\"=hex:01,\\",
    // The same ending in two backslashes: only the last one goes on to the next line.
    "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Brisel]\n\"P\"=hex:01,\\\\",
    // Deleted keys and values, a key written in two sections, no header at all.
    "[HKEY_CURRENT_USER\\SOFTWARE\\Brisel\\Alam]\n\"X\"=\"y\"\n[-HKEY_CURRENT_USER\\SOFTWARE\\Brisel]\n"
    "[hkey_current_user\\software\\brisel]\n\"Keel\"=-\n\"Muu\"=dword:1\n[HKEY_CURRENT_"
    "USER\\SOFTWARE\\Brisel]\n",
    QByteArray("\x01\x02\n[\xff]\n\0\n", 9),
    QByteArray(),
};

// Sets one value and checks what a new reading of the saved bytes finds.
void expectOnlyThisValueChanged(const QByteArray& sample, const QString& keyPath, const QString& name) {
    const RegistryFile read = RegistryFile::parse(sample);
    RegistryFile changed = read;
    const QByteArray data("uus\0", 4);
    ASSERT_TRUE(changed.setValue(reg::HKEY_CURRENT_USER, keyPath, name, reg::REG_SZ, data));
    const RegistryFile again = RegistryFile::parse(changed.bytes());
    const std::optional<RegistryFile::Value> written = again.value(reg::HKEY_CURRENT_USER, keyPath, name);
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(written->data, data);
    EXPECT_TRUE(again.keyExists(reg::HKEY_CURRENT_USER, keyPath));

    const auto isTheChangedOne = [&](const RegistryFile::Value& v) {
        return v.root == reg::HKEY_CURRENT_USER && v.keyPath.compare(keyPath, Qt::CaseInsensitive) == 0 &&
               v.name.compare(name, Qt::CaseInsensitive) == 0;
    };
    std::vector<RegistryFile::Value> before = read.values();
    std::vector<RegistryFile::Value> after = again.values();
    std::erase_if(before, isTheChangedOne);
    std::erase_if(after, isTheChangedOne);
    EXPECT_EQ(after, before);
}

TEST(RegistryFile, ReadSaveReadGivesBackEveryOtherValue) {
    for (const QByteArray& sample : Samples) {
        SCOPED_TRACE(sample.toHex().toStdString());
        EXPECT_EQ(RegistryFile::parse(sample).bytes(), sample) << "read and saved unchanged";
        expectOnlyThisValueChanged(sample, QStringLiteral("SOFTWARE\\Brisel"), QStringLiteral("Keel"));
        expectOnlyThisValueChanged(sample, QStringLiteral("SOFTWARE\\Brisel"), QStringLiteral("Uus"));
        expectOnlyThisValueChanged(sample, QStringLiteral("SOFTWARE\\Brisel\\Alam"), QStringLiteral("X"));
    }
}

} // namespace
