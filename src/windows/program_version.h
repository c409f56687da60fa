// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The home site compares versions as one number, which is why each part of a release number must
// stay below 1000.
int versionNumber(int major, int minor, int revision);
// major.minor.revision, each a plain decimal number.
QString versionText(int major, int minor, int revision);

int runningVersionNumber();
QString runningVersionText();
