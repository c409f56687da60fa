// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Reading and writing the program's folders against what another program, a person or a kill may
// have left at a name: a FIFO, a link out of the folder, a folder, a disk that fills up midway, the
// staging files of a killed run.
#include "platform/stored_files.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

class StoredFiles : public ::testing::Test {
protected:
    QString path(const QString& name) const { return folder.filePath(name); }

    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    static QByteArray contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(cannot be read)");
    }
    // Everything in the folder, hidden names included.
    QStringList entries() const {
        QStringList names =
            QDir(folder.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        names.sort();
        return names;
    }

    QTemporaryDir folder;
    QTemporaryDir outside;
};

TEST_F(StoredFiles, OnlyARegularFileIsReadWithinItsLimitAndNothingElseBlocksOrIsFollowed) {
    const QByteArray chart = "GIF89a and the rest of a chart";
    write(path(u"chart.gif"_s), chart);
    write(outside.filePath(u"secret"_s), "not the program's");
    ASSERT_EQ(mkfifo(QFile::encodeName(path(u"fifo.gif"_s)).constData(), 0644), 0);
    ASSERT_TRUE(QFile::link(outside.filePath(u"secret"_s), path(u"link.gif"_s)));
    ASSERT_TRUE(QDir(folder.path()).mkdir(u"folder.gif"_s));

    EXPECT_EQ(readRegularFile(path(u"chart.gif"_s), chart.size()), chart);
    EXPECT_TRUE(isRegularFile(path(u"chart.gif"_s)));
    // A FIFO without a writer would block a reader for good; here it fails at once.
    for (const QString& name : {u"fifo.gif"_s, u"link.gif"_s, u"folder.gif"_s, u"missing.gif"_s}) {
        const Expected<QByteArray> read = readRegularFile(path(name), 1024);
        ASSERT_FALSE(read) << qPrintable(name);
        EXPECT_FALSE(read.error().isEmpty()) << qPrintable(name);
        EXPECT_FALSE(isRegularFile(path(name))) << qPrintable(name);
    }
    EXPECT_EQ(readRegularFile(path(u"missing.gif"_s), 1024).error(),
              QString::fromLocal8Bit(std::strerror(ENOENT)));

    const Expected<QByteArray> tooLarge = readRegularFile(path(u"chart.gif"_s), chart.size() - 1);
    ASSERT_FALSE(tooLarge);
    EXPECT_TRUE(tooLarge.error().contains(QString::number(chart.size() - 1))) << qPrintable(tooLarge.error());

    // The folder itself may be a link, to another disk say.
    ASSERT_TRUE(QFile::link(folder.path(), outside.filePath(u"kaardid"_s)));
    EXPECT_EQ(readRegularFile(outside.filePath(u"kaardid/chart.gif"_s), 1024), chart);
    EXPECT_TRUE(isRegularFile(outside.filePath(u"kaardid/chart.gif"_s)));
}

TEST_F(StoredFiles, ACommitReplacesWhatLayAtTheNameAndAnUncommittedFileLeavesNothing) {
    write(outside.filePath(u"secret"_s), "not the program's");
    ASSERT_TRUE(QFile::link(outside.filePath(u"secret"_s), path(u"reply.xml"_s)));
    {
        StagedFile file(path(u"reply.xml"_s));
        ASSERT_TRUE(file.open());
        const QFileInfo staging(file.stagingPath());
        EXPECT_EQ(staging.absolutePath(), folder.path()) << "beside its target";
        EXPECT_TRUE(isStagingName(staging.fileName())) << qPrintable(staging.fileName());
        ASSERT_TRUE(file.write("the new "));
        ASSERT_TRUE(file.write("reply"));
        EXPECT_EQ(contents(path(u"reply.xml"_s)), "not the program's") << "untouched until the commit";
        ASSERT_TRUE(file.commit());
    }
    EXPECT_TRUE(isRegularFile(path(u"reply.xml"_s)));
    EXPECT_EQ(contents(path(u"reply.xml"_s)), "the new reply");
    EXPECT_EQ(contents(outside.filePath(u"secret"_s)), "not the program's");

    {
        StagedFile dropped(path(u"reply.xml"_s));
        ASSERT_TRUE(dropped.open());
        ASSERT_TRUE(dropped.write("half a re"));
    }
    EXPECT_EQ(entries(), QStringList{u"reply.xml"_s});
    EXPECT_EQ(contents(path(u"reply.xml"_s)), "the new reply");

    ASSERT_TRUE(saveFile(path(u"settings.reg"_s), "password", 0600));
    EXPECT_EQ(QFileInfo(path(u"settings.reg"_s)).permissions() &
                  ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser),
              QFileDevice::Permissions());
    EXPECT_EQ(contents(path(u"settings.reg"_s)), "password");
}

TEST_F(StoredFiles, AWriteTheDiskRefusesFailsThereWithTheSystemsReasonAndLeavesNoFile) {
    write(path(u"chart.gif"_s), "the chart stored before");
    const QString refusal = QString::fromLocal8Bit(std::strerror(EFBIG));
    {
        const testing_support::FileSizeLimit full(4096);
        StagedFile file(path(u"chart.gif"_s));
        ASSERT_TRUE(file.open());
        ASSERT_TRUE(file.write(QByteArray(3000, 'a')));
        const Expected<void> refused = file.write(QByteArray(3000, 'b'));
        ASSERT_FALSE(refused);
        EXPECT_EQ(refused.error(), refusal);
        EXPECT_EQ(entries(), QStringList{u"chart.gif"_s}) << "the cut file is gone at once";
        EXPECT_FALSE(file.write("c")) << "the first failure sticks";
        const Expected<void> committed = file.commit();
        ASSERT_FALSE(committed);
        EXPECT_EQ(committed.error(), refusal);

        const Expected<void> saved = saveFile(path(u"other.gif"_s), QByteArray(5000, 'c'));
        ASSERT_FALSE(saved);
        EXPECT_EQ(saved.error(), refusal);
    }
    EXPECT_EQ(entries(), QStringList{u"chart.gif"_s});
    EXPECT_EQ(contents(path(u"chart.gif"_s)), "the chart stored before");
}

TEST_F(StoredFiles, StagingLeftoversOlderThanTheAgeGoAndNothingElse) {
    write(outside.filePath(u"secret"_s), "not the program's");
    write(path(u".20070410HALO00.gif.k3j4h5g6.part"_s), "half a chart");
    ASSERT_TRUE(QFile::link(outside.filePath(u"secret"_s), path(u".Tartu.xml.0a1b2c3d.part"_s)));
    ASSERT_TRUE(QDir(folder.path()).mkdir(u".wave01.gif.zz00zz00.part"_s));
    // Names that only look like one: another tag length, characters no tag has, no leading dot,
    // no target's name.
    const QStringList others{u"20070410HALO01.gif"_s, u".20070410HALO01.gif.abc.part"_s,
                             u".20070410HALO01.gif.ABCDEFGH.part"_s, u"20070410HALO01.gif.abcdefgh.part"_s,
                             u"..abcdefgh.part"_s};
    for (const QString& name : others) {
        write(path(name), "a file of its own");
        EXPECT_FALSE(isStagingName(name)) << qPrintable(name);
    }
    QThread::msleep(1100);
    write(path(u".20070410HALO02.gif.abcdefgh.part"_s), "a download under way");

    EXPECT_EQ(removeStagingLeftovers(folder.path(), std::chrono::seconds(1)), 2);
    QStringList left =
        others + QStringList{u".wave01.gif.zz00zz00.part"_s, u".20070410HALO02.gif.abcdefgh.part"_s};
    left.sort();
    EXPECT_EQ(entries(), left);
    EXPECT_EQ(contents(outside.filePath(u"secret"_s)), "not the program's");
}

} // namespace
