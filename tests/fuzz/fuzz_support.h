// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the fuzz targets share: the input as bytes or as a file (many readers take a path), and
// silence for the warnings that hostile input is meant to cause, so the fuzzer's time goes to
// running inputs rather than printing. A fatal message still prints and aborts, and so does a
// broken promise of a reader: FUZZ_CHECK stops the run with the input that broke it.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition);                     \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)

namespace fuzz {

inline QByteArray bytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A folder of this run's own, removed when the run ends. It lies in memory where the machine has
// such a file system: the settings back end syncs each save to disk, which would otherwise make
// the disk, not the reader, the measure of a run.
inline QString scratchFolder() {
    static const QTemporaryDir folder(
        (QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath()) +
        QStringLiteral("/brisel-fuzz-XXXXXX"));
    FUZZ_CHECK(folder.isValid());
    return folder.path();
}

// The input written to a file of the scratch folder; its path.
inline QString asFile(const QByteArray& input, const QString& name = QStringLiteral("input")) {
    const QString path = scratchFolder() + QLatin1Char('/') + name;
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(input) == input.size());
    return path;
}

// Removes what a reader left in the scratch folder (a file it set aside, say), so that inputs do
// not pile files up.
inline void clearScratchFolder() {
    QDir folder(scratchFolder());
    for (const QString& entry : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        folder.remove(entry);
    }
}

inline void silenceWarnings() {
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
        }
    });
}

} // namespace fuzz
