// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The profile reader on any bytes: every section and key it lists can be looked up again, and no
// value is longer than the reader's limit or ends in half a surrogate pair.

#include "platform/profile_file.h"

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ProfileFile file = ProfileFile::parse(fuzz::bytes(data, size));
    const QString missing = QStringLiteral("\x01missing");
    for (const QString& section : file.sectionNames()) {
        for (const QString& key : file.keyNames(section)) {
            const QString value = file.value(section, key, missing);
            FUZZ_CHECK(value != missing);
            FUZZ_CHECK(value.size() <= ProfileFile::MaxValueLength);
            FUZZ_CHECK(value.isEmpty() || !value.back().isHighSurrogate());
        }
    }
    return 0;
}
