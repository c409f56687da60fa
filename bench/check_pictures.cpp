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

// Why the file is no whole picture; empty when it is one.
QString flaw(const QString& path) {
    const Expected<QByteArray> bytes = readRegularFile(path, LargestPictureFile);
    if (!bytes) {
        return bytes.error();
    }
    const PictureVerdict verdict = judgePicture(*bytes);
    return verdict == PictureVerdict::Whole ? QString() : verdictText(verdict);
}

} // namespace

int main(int argc, char** argv) {
    const QCoreApplication app(argc, argv);
    int flawed = 0;
    for (const QString& path : QCoreApplication::arguments().mid(1)) {
        if (const QString why = flaw(path); !why.isEmpty()) {
            std::printf("%s: %s\n", qPrintable(path), qPrintable(why));
            ++flawed;
        }
    }
    return flawed > 0 ? 1 : 0;
}
