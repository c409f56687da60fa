// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The profile (INI) reader: the rules of the Windows profile reader.

#include "platform/profile_file.h"
#include "platform/stored_files.h"
#include "test_support.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

ProfileFile parse(const char* text) {
    return ProfileFile::parse(QByteArray(text));
}

TEST(ProfileFile, ValueLosesItsBlanksAndOnePairOfQuotesAndIsCutTo199Characters) {
    const ProfileFile ini = parse("[keel]\n"
                                  "plain=  two   words \t\n"
                                  "double = \"  kept  inside  \"  \n"
                                  "single='single'\n"
                                  "twice=\"\"twice\"\"\n"
                                  "mixed=\"mixed'\n"
                                  "lone=\"\n"
                                  "inner=a \"b\" c\n"
                                  "empty=\n"
                                  "equals=a=b\n");
    EXPECT_EQ(ini.value(u"keel"_s, u"plain"_s), QStringLiteral("two   words"));
    EXPECT_EQ(ini.value(u"keel"_s, u"double"_s), QStringLiteral("  kept  inside  "));
    EXPECT_EQ(ini.value(u"keel"_s, u"single"_s), QStringLiteral("single"));
    EXPECT_EQ(ini.value(u"keel"_s, u"twice"_s), QStringLiteral("\"twice\""));
    EXPECT_EQ(ini.value(u"keel"_s, u"mixed"_s), QStringLiteral("\"mixed'"));
    EXPECT_EQ(ini.value(u"keel"_s, u"lone"_s), QStringLiteral("\""));
    EXPECT_EQ(ini.value(u"keel"_s, u"inner"_s), QStringLiteral("a \"b\" c"));
    EXPECT_EQ(ini.value(u"keel"_s, u"empty"_s, u"default"_s), QString())
        << "present but empty is not missing";
    EXPECT_EQ(ini.value(u"keel"_s, u"equals"_s), QStringLiteral("a=b"));

    const QString text = QString(200, QLatin1Char('a')) + QString(50, QLatin1Char('b'));
    const ProfileFile longer = ProfileFile::parse("[s]\nlong=" + text.toUtf8() + "\nquoted=\"" +
                                                  QString(250, QChar(0x00f5)).toUtf8() + "\"\n");
    EXPECT_EQ(longer.value(u"s"_s, u"long"_s), text.left(199)) << "cut to 199 characters";
    EXPECT_EQ(longer.value(u"s"_s, u"quoted"_s), QString(199, QChar(0x00f5)))
        << "characters, not bytes; quotes first";
}

TEST(ProfileFile, NamesAreComparedWithoutCaseAndWhatIsMissingGivesTheDefault) {
    const ProfileFile ini = parse("key=orphan\n[English]\nStartDL=Start\n[ latvian ]\nkey=lv\n");
    EXPECT_EQ(ini.value(u"ENGLISH"_s, u"startdl"_s), QStringLiteral("Start"));
    EXPECT_EQ(ini.value(u"latvian"_s, u"KEY"_s), QStringLiteral("lv"));
    EXPECT_EQ(ini.value(u"estonian"_s, u"startdl"_s, u"d"_s), QStringLiteral("d"));
    EXPECT_EQ(ini.value(u"english"_s, u"deleteold"_s, u"d"_s), QStringLiteral("d"));
    EXPECT_EQ(ini.value(u"english"_s, u"deleteold"_s), QString());
    EXPECT_EQ(ini.value(u""_s, u"key"_s, u"d"_s), QStringLiteral("d")) << "a key before any section";

    const ProfileFile missing = ProfileFile::load(QStringLiteral("/nonexistent/brisel/lang.ini"));
    EXPECT_EQ(missing.value(u"english"_s, u"startdl"_s, u"d"_s), QStringLiteral("d"));
    EXPECT_TRUE(missing.sectionNames().isEmpty());
}

TEST(ProfileFile, ReadsUtf8WithByteOrderMarkCommentsAndCrLfAndSectionsInFileOrderAsWritten) {
    const ProfileFile ini = parse("\xEF\xBB\xBF[Tallinn (Pirita)]\r\n"
                                  "; city=comment\r\n"
                                  "  city = Jõgeva \r\n"
                                  "city=second\r\n"
                                  "no equals sign\r\n"
                                  "[Narva-Jõesuu]\r\n[  ]\r\n[tallinn (pirita)]\r\nlat=59.4\r\n[Pärnu]\r\n");
    EXPECT_EQ(ini.sectionNames(),
              QStringList({u"Tallinn (Pirita)"_s, u"Narva-Jõesuu"_s, u"  "_s, u"Pärnu"_s}));
    EXPECT_EQ(ini.value(u"Tallinn (Pirita)"_s, u"city"_s), QStringLiteral("Jõgeva"))
        << "the first of repeated keys";
    EXPECT_EQ(ini.value(u"Tallinn (Pirita)"_s, u"; city"_s, u"d"_s), QStringLiteral("d"));
    EXPECT_EQ(ini.value(u"Tallinn (Pirita)"_s, u"lat"_s), QStringLiteral("59.4"))
        << "a repeated section adds to the first";
    EXPECT_EQ(ini.keyNames(u"TALLINN (PIRITA)"_s), QStringList({u"city"_s, u"lat"_s}));
}

TEST(ProfileFile, BinaryJunkDoesNotHurt) {
    QByteArray junk(64 * 1024, '\0');
    QRandomGenerator generator(11);
    for (char& c : junk) {
        c = static_cast<char>(generator.bounded(256));
    }
    const ProfileFile ini = ProfileFile::parse(junk + "\n[after]\nkey=value\x00tail\n" + QByteArray(3, '\0'));
    EXPECT_EQ(ini.value(u"after"_s, u"key"_s).left(5), QStringLiteral("value"));
    for (const QString& section : ini.sectionNames()) {
        ini.value(section, u"key"_s); // whatever the junk made of it can be asked
    }
}

// A person's file behind a link is read; what cannot be a profile file of ours, a FIFO that would
// hold the reader for good or a file of many megabytes, is taken as empty and said.
TEST(ProfileFile, OnlyARegularFileWithinTheLimitIsReadThroughALinkToo) {
    QTemporaryDir dir;
    const QString real = dir.filePath(QStringLiteral("dotfiles-spots.ini"));
    const QString linked = dir.filePath(QStringLiteral("spots.ini"));
    QFile file(real);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Tartu]\nlon=26.7\n");
    file.close();
    ASSERT_TRUE(QFile::link(real, linked));
    EXPECT_EQ(ProfileFile::load(linked).value(u"tartu"_s, u"lon"_s), QStringLiteral("26.7"));

    const QString fifo = dir.filePath(QStringLiteral("lang.ini"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString huge = dir.filePath(QStringLiteral("brisel.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Tartu]\nlon=26.7\n" + QByteArray(LargestProfileFile, ';'));
    file.close();
    ASSERT_TRUE(QFile::rename(real, huge));
    testing_support::ScopedExpectedWarnings expected(
        QStringLiteral("^brisel\\.profile: .*(lang|brisel)\\.ini cannot be read \\((Not a regular file|"
                       "Larger than \\d+ bytes)\\); it is taken as empty\\.$"));
    for (const QString& path : {fifo, huge, linked}) {
        EXPECT_TRUE(ProfileFile::load(path).sectionNames().isEmpty()) << qPrintable(path);
    }
    EXPECT_EQ(expected.seen(), 2) << "a link whose file is gone is a missing file, which is silent";
}

} // namespace
