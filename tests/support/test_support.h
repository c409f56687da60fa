// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDir>
#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

namespace testing_support {

// While alive, warnings whose text matches the pattern are expected and do not fail the test.
// Any other warning logged during a test fails it.
class ScopedExpectedWarnings final {
public:
    explicit ScopedExpectedWarnings(const QString& pattern);
    ~ScopedExpectedWarnings();
    ScopedExpectedWarnings(const ScopedExpectedWarnings&) = delete;
    ScopedExpectedWarnings& operator=(const ScopedExpectedWarnings&) = delete;
    int seen() const;
};

// While alive, a write that would take a file beyond `bytes` fails with EFBIG, as on a disk that
// has filled up, and the process lives on (SIGXFSZ ignored). Every file of the process counts.
class FileSizeLimit final {
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    qint64 m_previousSoftLimit;
    void (*m_previousHandler)(int);
};

// brisel.ini's [hosts] section with every service at one address, as the demo server serves them.
QByteArray hostsAt(const QUrl& base);

// The shipped data file of that name (lang.ini, spots.ini, brisel.ini, pictures) in the source tree.
QString shippedDataFile(const QString& name);

// A temporary program folder holding copies of the shipped lang.ini, spots.ini and brisel.ini
// and an empty chart folder, in the system's temporary folder or in the one given; removed with
// the object.
class TempProgramFolder final {
public:
    explicit TempProgramFolder(const QString& parentFolder = QDir::tempPath());
    QString root() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    QString chartFolder() const { return m_dir.filePath(QStringLiteral("kaardid")) + QLatin1Char('/'); }
    // Writes a file of the program folder (relative name) with the given bytes.
    void write(const QString& relativeName, const QByteArray& content) const;

private:
    QTemporaryDir m_dir;
};

} // namespace testing_support
