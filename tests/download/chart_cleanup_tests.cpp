// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "download/chart_cleanup.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

using testing_support::TempProgramFolder;

namespace {

const QDate April10(2007, 4, 10);

class ChartCleanup : public ::testing::Test {
protected:
    void store(const QStringList& names) {
        for (const QString& name : names) {
            program.write(QStringLiteral("kaardid/") + name, QByteArrayLiteral("GIF89a"));
        }
    }
    QStringList remaining() const {
        QStringList names = QDir(program.chartFolder()).entryList(QDir::Files | QDir::Hidden | QDir::System);
        names.sort();
        return names;
    }

    TempProgramFolder program;
};

} // namespace

// Old charts are judged by their leading date alone, compared by character code and ignoring case,
// as on Windows: "wave03.gif" begins with a letter, after every digit; "1.gif" and "2007.gif" are
// shorter than a date and sort before today's ("." comes before "0"). The spots' replies and the
// login's answer survive both cleanups.
TEST_F(ChartCleanup, OldChartsAreThoseWhoseNameSortsBeforeTodayAndRepliesStay) {
    store({QStringLiteral("20070409HALO22.GIF"), QStringLiteral("20070409x.Ini"),
           QStringLiteral("20070409Zebra.gif"), QStringLiteral("20070409Aegna.gif"),
           QStringLiteral("20070409Ääsmäe.gif"), QStringLiteral("20070410Aegna.gif"),
           QStringLiteral("wave03.gif"), QStringLiteral("Legend.gif"), QStringLiteral("1.gif"),
           QStringLiteral("2007.gif"), QStringLiteral("20070410.gif"), QStringLiteral("30000101x.ini"),
           QStringLiteral("20070101Tartu.xml"), QStringLiteral("quellan.txt")});
    EXPECT_EQ(deleteOldCharts(program.chartFolder(), April10, {}).deleted, 5 + 2);
    EXPECT_EQ(remaining(), QStringList({QStringLiteral("20070101Tartu.xml"), QStringLiteral("20070410.gif"),
                                        QStringLiteral("20070410Aegna.gif"), QStringLiteral("30000101x.ini"),
                                        QStringLiteral("Legend.gif"), QStringLiteral("quellan.txt"),
                                        QStringLiteral("wave03.gif")}));
    EXPECT_EQ(deleteAllCharts(program.chartFolder()).deleted, 5);
    EXPECT_EQ(remaining(), QStringList({QStringLiteral("20070101Tartu.xml"), QStringLiteral("quellan.txt")}));
}

// A link under a chart's name goes, never what it points at; a FIFO, like a folder, is no chart.
TEST_F(ChartCleanup, OnlyFilesAndLinksGoAndALinksTargetStays) {
    QDir(program.chartFolder()).mkdir(QStringLiteral("20070101old.gif"));
    ASSERT_EQ(
        mkfifo(QFile::encodeName(program.chartFolder() + QStringLiteral("20070101fifo.gif")).constData(),
               0644),
        0);
    program.write(QStringLiteral("outside.gif"), QByteArrayLiteral("GIF89a"));
    ASSERT_TRUE(QFile::link(program.file(QStringLiteral("outside.gif")),
                            program.chartFolder() + QStringLiteral("20070101link.gif")));
    const CleanupResult result = deleteAllCharts(program.chartFolder());
    EXPECT_EQ(result.deleted, 1);
    EXPECT_EQ(result.skipped, 0);
    EXPECT_EQ(remaining(), QStringList{QStringLiteral("20070101fifo.gif")});
    EXPECT_TRUE(QDir(program.chartFolder()).exists(QStringLiteral("20070101old.gif")));
    EXPECT_TRUE(QFileInfo::exists(program.file(QStringLiteral("outside.gif"))));
    const CleanupResult missing = deleteOldCharts(program.file(QStringLiteral("nowhere")), April10, {});
    EXPECT_EQ(missing.deleted, 0);
    EXPECT_EQ(missing.skipped, 0);
}
