// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Version numbers and the reading of the home site's answer files.
#include "test_support.h"
#include "windows/answer_file.h"
#include "windows/program_version.h"

#include <gtest/gtest.h>

TEST(ProgramVersion, SentAsOneNumberAndShownInThreeParts) {
    EXPECT_EQ(versionNumber(1, 0, 21), 1000021);
    EXPECT_EQ(versionNumber(2, 3, 4), 2003004);
    EXPECT_EQ(versionNumber(0, 0, 0), 0);
    EXPECT_EQ(versionText(1, 0, 21), QStringLiteral("1.0.21"));
    EXPECT_EQ(runningVersionText(), QStringLiteral(BRISEL_VERSION));
}

TEST(AnswerLines, EndAtACarriageReturnOnly) {
    EXPECT_EQ(crLines(QStringLiteral("one\r\ntwo\r\n")), QStringLiteral("one\r\ntwo\r\n"));
    EXPECT_EQ(crLines(QStringLiteral("one\rtwo\r")), QStringLiteral("one\r\ntwo\r\n")) << "lone CR";
    EXPECT_EQ(crLines(QStringLiteral("one\ntwo\r\n")), QStringLiteral("one\ntwo\r\n"))
        << "lone LF stays inside";
    EXPECT_EQ(crLines(QStringLiteral("last line unended")), QStringLiteral("last line unended\r\n"));
    EXPECT_EQ(crLines(QStringLiteral("a\r\n\r\nb")), QStringLiteral("a\r\n\r\nb\r\n")) << "empty line kept";
    EXPECT_EQ(crLines(QStringLiteral("a\r\n\n")), QStringLiteral("a\r\n\n\r\n"))
        << "only one LF belongs to the end";
    EXPECT_EQ(crLines(QString()), QString());
}

TEST(AnswerFile, ReadsUtf8AndFallsBackToLatin1) {
    testing_support::TempProgramFolder folder;
    folder.write(QStringLiteral("utf8.txt"), QStringLiteral("Toetajad: Õie Mänd\r\n").toUtf8());
    folder.write(QStringLiteral("latin1.txt"), QByteArray("J\xe4rv\r"));
    // Its one non-ASCII byte is its last, and could open a UTF-8 sequence that never ends.
    folder.write(QStringLiteral("latin1-last.txt"), QByteArray("Ville Mets\xe4"));
    EXPECT_EQ(readAnswerFile(folder.file(QStringLiteral("utf8.txt"))),
              QStringLiteral("Toetajad: Õie Mänd\r\n"));
    EXPECT_EQ(readAnswerFile(folder.file(QStringLiteral("latin1.txt"))), QStringLiteral("Järv\r\n"));
    EXPECT_EQ(readAnswerFile(folder.file(QStringLiteral("latin1-last.txt"))),
              QStringLiteral("Ville Metsä\r\n"));
    EXPECT_EQ(readAnswerFile(folder.file(QStringLiteral("missing.txt"))), QString());
}
