// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The user's folder beside the shipped data: copies an earlier version seeded give way to this
// version's data unless the user edited them, and a file the user placed wins.
#include "platform/program_folder.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using testing_support::shippedDataFile;

namespace {

const QStringList ShippedNames{u"lang.ini"_s, u"spots.ini"_s, u"brisel.ini"_s};

// A newer installation than the files the source tree holds: the same names, other contents.
class NewerInstallation : public ::testing::Test {
protected:
    NewerInstallation() {
        for (const QString& name : ShippedNames) {
            write(shipped.filePath(name), "; as this version ships it\n");
        }
    }

    static void write(const QString& path, const QByteArray& content) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    void copyShipped(const QString& name) const {
        ASSERT_TRUE(QFile::copy(shippedDataFile(name), user.filePath(name)));
    }

    ProgramFolder prepared() const {
        const ProgramFolder folder(user.path(), shipped.path(), false);
        EXPECT_TRUE(folder.prepare());
        return folder;
    }

    QTemporaryDir shipped;
    QTemporaryDir user;
};

TEST_F(NewerInstallation, UnchangedCopiesOfEveryShippedFileAreRemoved) {
    for (const QString& name : ShippedNames) {
        copyShipped(name);
    }
    const ProgramFolder folder = prepared();
    for (const QString& name : ShippedNames) {
        EXPECT_FALSE(QFileInfo::exists(user.filePath(name)))
            << name.toStdString() << " as the source tree holds it is not listed: add its line to "
            << "data/shipped-versions.sha256";
    }
    EXPECT_EQ(folder.spotsIni(), shipped.filePath(QStringLiteral("spots.ini")));
    EXPECT_EQ(folder.briselIni(), shipped.filePath(QStringLiteral("brisel.ini")));
    EXPECT_EQ(folder.langIniLayers(), (QStringList{shipped.filePath(QStringLiteral("lang.ini")),
                                                   user.filePath(QStringLiteral("lang.ini"))}));
    EXPECT_TRUE(QFileInfo(folder.chartFolder()).isDir());
}

TEST_F(NewerInstallation, EditedCopiesAndTheUsersOwnFilesStayAndWin) {
    copyShipped(QStringLiteral("lang.ini"));
    QFile edited(user.filePath(QStringLiteral("lang.ini")));
    ASSERT_TRUE(edited.open(QIODevice::Append));
    edited.write("; my own words\n");
    edited.close();
    write(user.filePath(QStringLiteral("brisel.ini")), "[hosts]\nprovider=http://127.0.0.1:8080\n");

    const ProgramFolder folder = prepared();
    EXPECT_TRUE(QFileInfo::exists(user.filePath(QStringLiteral("lang.ini"))));
    EXPECT_EQ(folder.briselIni(), user.filePath(QStringLiteral("brisel.ini")));
    EXPECT_EQ(folder.spotsIni(), shipped.filePath(QStringLiteral("spots.ini")));
}

// A start removes the staging files a killed run left, in the chart folder and in the user's folder,
// once they are older than a fetch's deadline; a younger one may be a download's running beside it.
TEST_F(NewerInstallation, AStartRemovesWhatAKilledRunLeftButNotWhatARunningOneWrites) {
    write(user.filePath(u"brisel.ini"_s), "[download]\ndeadline=1\n");
    ASSERT_TRUE(QDir(user.path()).mkdir(u"kaardid"_s));
    const QStringList killed{u"kaardid/.20070410HALO00.gif.k3j4h5g6.part"_s, u".quellan.txt.0a1b2c3d.part"_s};
    for (const QString& name : killed) {
        write(user.filePath(name), "half a file");
    }
    QThread::msleep(1100);
    const QString running = u"kaardid/.20070410HALO01.gif.abcdefgh.part"_s;
    write(user.filePath(running), "a file under way");
    prepared();
    for (const QString& name : killed) {
        EXPECT_FALSE(QFileInfo::exists(user.filePath(name))) << name.toStdString();
    }
    EXPECT_TRUE(QFileInfo::exists(user.filePath(running)));
}

// A portable folder holds the shipped files themselves: nothing of them is a copy to remove.
TEST(PortableFolder, KeepsTheShippedFilesItHolds) {
    testing_support::TempProgramFolder program;
    const ProgramFolder folder(program.root());
    ASSERT_TRUE(folder.prepare());
    for (const QString& name : ShippedNames) {
        EXPECT_TRUE(QFileInfo::exists(program.file(name))) << name.toStdString();
    }
    EXPECT_EQ(folder.langIniLayers(), QStringList{program.file(QStringLiteral("lang.ini"))});
}

} // namespace
