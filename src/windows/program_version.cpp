// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/program_version.h"

int versionNumber(int major, int minor, int revision) {
    return major * 1000000 + minor * 1000 + revision;
}

QString versionText(int major, int minor, int revision) {
    return QStringLiteral("%1.%2.%3").arg(major).arg(minor).arg(revision);
}

int runningVersionNumber() {
    return versionNumber(BRISEL_VERSION_MAJOR, BRISEL_VERSION_MINOR, BRISEL_VERSION_PATCH);
}

QString runningVersionText() {
    return versionText(BRISEL_VERSION_MAJOR, BRISEL_VERSION_MINOR, BRISEL_VERSION_PATCH);
}
