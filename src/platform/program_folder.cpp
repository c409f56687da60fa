// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/program_folder.h"

#include "platform/host_config.h"
#include "platform/stored_files.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString LangIni = QStringLiteral("lang.ini");
const QString PortableMarker = QStringLiteral("portable");
const QStringList ShippedFiles{LangIni, QStringLiteral("spots.ini"), QStringLiteral("brisel.ini")};

QString shippedDataFolder(const QString& executableDir) {
    const QDir beside(executableDir);
    if (QFileInfo::exists(beside.filePath(LangIni))) {
        return executableDir;
    }
    return beside.filePath(QStringLiteral(BRISEL_SHIPPED_DATA_FROM_BINARY));
}

QString userDataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

QString userStateFolder() {
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
    return QStandardPaths::writableLocation(QStandardPaths::GenericStateLocation);
#elif defined(Q_OS_WIN)
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#else
    // A relative XDG_STATE_HOME is to be ignored, as the other XDG folders' are.
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    return QDir::isAbsolutePath(state) ? state : QDir::home().filePath(QStringLiteral(".local/state"));
#endif
}

// A folder nobody may write (a read-only copy, a memory stick locked against writing) is left
// alone even by an administrator, whom its permissions would not stop.
bool canWriteInto(const QString& folder) {
    constexpr auto AnyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (!(QFileInfo(folder).permissions() & AnyWrite)) {
        return false;
    }
    StagedFile probe(QDir(folder).filePath(PortableMarker));
    return probe.open().has_value();
}

// "<sha256 hex>  <file name>" a line, as sha256sum writes it: every version of a shipped file
// that a release of Brisel may have copied into a user's folder.
bool isShippedVersion(const QString& name, const QByteArray& content) {
    QFile list(QStringLiteral(":/data/shipped-versions.sha256"));
    if (!list.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray hash = QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex();
    const QByteArray fileName = name.toUtf8();
    for (const QByteArray& line : list.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() == 2 && fields[0] == hash && fields[1].split('/').last() == fileName) {
            return true;
        }
    }
    return false;
}

} // namespace

ProgramFolder::ProgramFolder(QString root) : ProgramFolder(root, root, false) {}

ProgramFolder::ProgramFolder(QString root, QString shippedData, bool portable)
    : m_root(QDir::cleanPath(QDir(root).absolutePath())),
      m_shippedData(QDir::cleanPath(QDir(shippedData).absolutePath())), m_portable(portable) {}

ProgramFolder ProgramFolder::choose(const QString& homeOption, const QString& executableDir) {
    const QString shipped = shippedDataFolder(executableDir);
    if (!homeOption.isEmpty()) {
        return ProgramFolder(homeOption, shipped, false);
    }
    if (QFileInfo::exists(QDir(executableDir).filePath(PortableMarker)) && canWriteInto(executableDir)) {
        return ProgramFolder(executableDir, shipped, true);
    }
    return ProgramFolder(userDataFolder(), shipped, false);
}

QString ProgramFolder::file(const QString& name) const {
    return QDir(m_root).filePath(name);
}

QStringList ProgramFolder::langIniLayers() const {
    const QString shipped = QDir(m_shippedData).filePath(LangIni);
    if (holdsShippedData()) {
        return {shipped};
    }
    return {shipped, file(LangIni)};
}

QString ProgramFolder::ownOrShipped(const QString& name) const {
    return QFileInfo::exists(file(name)) ? file(name) : QDir(m_shippedData).filePath(name);
}

QString ProgramFolder::chartFolder() const {
    return file(QStringLiteral("kaardid")) + QLatin1Char('/');
}

QString ProgramFolder::portableSettingsFile() const {
    return m_portable ? file(QStringLiteral("settings.reg")) : QString();
}

bool ProgramFolder::prepare() const {
    QDir().mkpath(m_root);
    if (!holdsShippedData()) {
        removeUnchangedCopies();
    }
    const bool made = QDir().mkpath(file(QStringLiteral("kaardid")));
    removeStagingLeftovers();
    return made;
}

// A fetch is given up at its deadline, so a staging file left unchanged longer than that is no
// fetch's any more: a program killed while it wrote left it. A younger one may be a download's
// that runs beside us, from a scheduled `--download`. Answer files are fetched into the root.
void ProgramFolder::removeStagingLeftovers() const {
    const auto deadline = HostConfig::load(briselIni()).fetchLimits.deadline;
    const auto age = std::chrono::ceil<std::chrono::seconds>(deadline);
    ::removeStagingLeftovers(chartFolder(), age);
    ::removeStagingLeftovers(m_root, age);
}

// Only a regular file can be a copy an earlier version made; a link or anything else at the name
// is the user's doing and stays.
void ProgramFolder::removeUnchangedCopies() const {
    for (const QString& name : ShippedFiles) {
        const Expected<QByteArray> copy = readRegularFile(file(name), LargestProfileFile);
        if (copy && isShippedVersion(name, *copy)) {
            QFile::remove(file(name));
        }
    }
}

QString lastRunLogFile() {
    return QDir(userStateFolder()).filePath(QStringLiteral("Brisel/last-run.log"));
}
