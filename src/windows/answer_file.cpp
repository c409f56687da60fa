// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/answer_file.h"

#include "platform/stored_files.h"

#include <QStringDecoder>

namespace {

const QString LineEnd = QStringLiteral("\r\n");

QString decodeAnswer(const QByteArray& bytes) {
    // Stateless: a UTF-8 sequence cut off by the end of the file is an error, not a start kept for
    // bytes that never come, so a Latin-1 answer ending in a letter such as 0xE4 is read whole.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

} // namespace

QString crLines(const QString& text) {
    QString joined;
    qsizetype lineStart = 0;
    while (lineStart < text.size()) {
        const qsizetype cr = text.indexOf(QLatin1Char('\r'), lineStart);
        const qsizetype lineEnd = cr < 0 ? text.size() : cr;
        joined += QStringView(text).mid(lineStart, lineEnd - lineStart);
        joined += LineEnd;
        lineStart = lineEnd + 1;
        if (cr >= 0 && lineStart < text.size() && text.at(lineStart) == QLatin1Char('\n')) {
            ++lineStart;
        }
    }
    return joined;
}

QString readAnswerFile(const QString& path) {
    const Expected<QByteArray> bytes = readRegularFile(path, LargestAnswerFile);
    return bytes ? crLines(decodeAnswer(*bytes)) : QString();
}
