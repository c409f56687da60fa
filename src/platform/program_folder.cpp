#include "platform/program_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const char* const ShippedFiles[] = {"lang.ini", "spots.ini", "brisel.ini"};

} // namespace

ProgramFolder::ProgramFolder(QString root) : m_root(QDir::cleanPath(QDir(root).absolutePath())) {}

ProgramFolder ProgramFolder::choose(const QString& homeOption, const QString& executableDir) {
    if (!homeOption.isEmpty()) {
        return ProgramFolder(homeOption);
    }
    if (QFileInfo::exists(QDir(executableDir).filePath(QStringLiteral("lang.ini")))) {
        return ProgramFolder(executableDir);
    }
    return ProgramFolder(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
}

QString ProgramFolder::file(const QString& name) const {
    return QDir(m_root).filePath(name);
}

QString ProgramFolder::chartFolder() const {
    return file(QStringLiteral("kaardid")) + QLatin1Char('/');
}

bool ProgramFolder::prepare() const {
    QDir().mkpath(m_root);
    for (const char* shipped : ShippedFiles) {
        const QString name = QString::fromLatin1(shipped);
        if (!QFileInfo::exists(file(name))) {
            // The copy from the resources is read-only; the user owns the seeded file.
            if (QFile::copy(QStringLiteral(":/data/") + name, file(name))) {
                QFile::setPermissions(file(name), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            }
        }
    }
    return QDir().mkpath(file(QStringLiteral("kaardid")));
}
