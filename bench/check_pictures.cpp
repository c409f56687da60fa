// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// check-pictures FILE...: prints each file that is no whole picture by the program's own check, with
// why, and exits 1 when there was one; 0 when every file is whole (or none was given). For scripts
// that judge what a run left in a chart folder, such as scripts/soak-kill.

#include "platform/picture_check.h"
#include "platform/stored_files.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace {

QString verdictText(PictureVerdict verdict) {
    switch (verdict) {
    case PictureVerdict::Whole:
        return QStringLiteral("whole");
    case PictureVerdict::CutShort:
        return QStringLiteral("cut short");
    case PictureVerdict::TooLarge:
        return QStringLiteral("larger than any chart");
    case PictureVerdict::NotAPicture:
        return QStringLiteral("not a picture");
    }
    return {};
}

// Nothing when the file is a whole picture, else why it is none.
Expected<void> wholePicture(const QString& path) {
    const Expected<QByteArray> bytes = readRegularFile(path, LargestPictureFile);
    if (!bytes) {
        return failed(bytes.error());
    }
    if (const PictureVerdict verdict = judgePicture(*bytes); verdict != PictureVerdict::Whole) {
        return failed(verdictText(verdict));
    }
    return {};
}

} // namespace

int main(int argc, char** argv) {
    const QCoreApplication app(argc, argv);
    int flawed = 0;
    for (const QString& path : QCoreApplication::arguments().mid(1)) {
        if (const Expected<void> whole = wholePicture(path); !whole) {
            std::printf("%s: %s\n", qPrintable(path), qPrintable(whole.error()));
            ++flawed;
        }
    }
    return flawed > 0 ? 1 : 0;
}
