// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace testing_support {
namespace {

QRegularExpression& expectedPattern() {
    static QRegularExpression pattern;
    return pattern;
}
int& expectedSeen() {
    static int seen = 0;
    return seen;
}
bool& expecting() {
    static bool on = false;
    return on;
}

} // namespace

// Called by the test mains' message handler.
void reportWarning(const QString& message) {
    if (expecting() && expectedPattern().match(message).hasMatch()) {
        ++expectedSeen();
        return;
    }
    ADD_FAILURE() << "unexpected warning: " << message.toStdString();
}

ScopedExpectedWarnings::ScopedExpectedWarnings(const QString& pattern) {
    expectedPattern() = QRegularExpression(pattern);
    expectedSeen() = 0;
    expecting() = true;
}

ScopedExpectedWarnings::~ScopedExpectedWarnings() {
    expecting() = false;
}

int ScopedExpectedWarnings::seen() const {
    return expectedSeen();
}

FileSizeLimit::FileSizeLimit(qint64 bytes) : m_previousHandler(std::signal(SIGXFSZ, SIG_IGN)) {
    rlimit limit{};
    EXPECT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    m_previousSoftLimit = static_cast<qint64>(limit.rlim_cur);
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = static_cast<rlim_t>(m_previousSoftLimit);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, m_previousHandler);
}

QByteArray hostsAt(const QUrl& base) {
    return QStringLiteral("[hosts]\nprovider=%1\nmarevo=%1\nwave=%1\nhome=%1\n")
        .arg(base.toString())
        .toUtf8();
}

QString shippedDataFile(const QString& name) {
    return QStringLiteral(BRISEL_DATA_DIR "/") + name;
}

TempProgramFolder::TempProgramFolder(const QString& parentFolder)
    : m_dir(QDir(parentFolder).filePath(QStringLiteral("brisel-program-XXXXXX"))) {
    if (!m_dir.isValid()) {
        ADD_FAILURE() << "cannot make a temporary program folder";
        return;
    }
    for (const char* name : {"lang.ini", "spots.ini", "brisel.ini"}) {
        const QString n = QString::fromLatin1(name);
        QFile::copy(shippedDataFile(n), file(n));
        QFile::setPermissions(file(n), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    QDir(m_dir.path()).mkpath(QStringLiteral("kaardid"));
}

void TempProgramFolder::write(const QString& relativeName, const QByteArray& content) const {
    const QString path = file(relativeName);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(content) != content.size()) {
        ADD_FAILURE() << "cannot write " << path.toStdString();
    }
}

} // namespace testing_support
