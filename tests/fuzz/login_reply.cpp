// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The login reply judge on any reply: an empty reply, or one whose first line opens with the
// login page's title, is never taken for an accepted login.

#include "fuzz_support.h"
#include "platform/profile_file.h"
#include "provider/provider_replies.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QString marker = ProfileFile::load(QStringLiteral(BRISEL_DATA_DIR "/brisel.ini"))
                                      .value(QStringLiteral("hosts"), QStringLiteral("loginmarker"));
    FUZZ_CHECK(!marker.isEmpty());
    const QByteArray reply = fuzz::bytes(data, size);
    const bool accepted = loginAccepted(fuzz::asFile(reply), marker);
    FUZZ_CHECK(!accepted || !reply.isEmpty());
    FUZZ_CHECK(!accepted || !reply.startsWith(marker.toUtf8()));
    return 0;
}
