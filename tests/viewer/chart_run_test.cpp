// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The model run of a stored provider chart: when it started on the slider's clock, how long ago,
// and whether a newer run of the same charts is stored for its day.
#include "net/chart_names.h"
#include "net/file_origin.h"
#include "net/provider_requests.h"
#include "viewer/chart_folder_listing.h"
#include "viewer/chart_run.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QDate Today(2007, 4, 10);
const QDate Yesterday = Today.addDays(-1);

QDateTime at(const QDate& date, int hour, int minute = 0) {
    return {date, QTime(hour, minute)};
}

AreaChartRun run(const QDate& runDate, int runHour, int step = 12,
                 const QString& code = QStringLiteral("w")) {
    return {code, runDate, runHour, step};
}

// The window's chart says the age of the newest run of its day and of an older one beside its
// newer run's start, in whole hours; here are the edges it does not reach, with no newer run stored.
TEST(ChartRunAge, WarnsOfARunOverADayOldAndCountsAcrossTheYearsEnd) {
    struct Case {
        const char* what;
        AreaChartRun shown;
        QDateTime now;
        QDateTime start;
        qint64 hoursAgo;
        bool overADay;
    };
    const Case cases[] = {
        {"exactly a day old", run(Yesterday, 0), at(Today, 2), at(Yesterday, 2), 24, false},
        {"more than a day old", run(Yesterday, 0), at(Today, 2, 1), at(Yesterday, 2), 24, true},
        {"a run the clock says has not started", run(Today, 12), at(Today, 13), at(Today, 14), 0, false},
        {"the noon run of the year's last day", run(QDate(2006, 12, 31), 12), at(QDate(2007, 1, 1), 1),
         at(QDate(2006, 12, 31), 14), 11, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const viewer::RunAge age = viewer::runAge(c.shown, {}, c.now);
        EXPECT_EQ(age.start, c.start);
        EXPECT_EQ(age.hoursAgo, c.hoursAgo);
        EXPECT_EQ(age.overADay, c.overADay);
        EXPECT_EQ(age.warning(), c.overADay);
    }
}

// A chart folder whose charts record the addresses they came from.
class StoredChartAgeTest : public ::testing::Test {
protected:
    QString store(const QDate& date, int hour, const QString& code, std::optional<AreaChartRun> from) {
        const QString path = halofail(m_folder.path(), date, hour, 0, code);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("GIF89a");
        file.close();
        if (from) {
            const QUrl address = areaChartUrl(QUrl(QStringLiteral("http://127.0.0.1:1")), from->chartCode,
                                              from->runDate, from->runHour, from->step);
            EXPECT_TRUE(writeFileOrigin(path, FileOrigin{address.toEncoded(), {}, {}}));
        }
        return path;
    }

    std::optional<viewer::RunAge> ageOf(const QString& path) {
        return m_runs.ageOf(chartFileNames(m_folder.path()), path, at(Today, 12));
    }

    QTemporaryDir m_folder;
    viewer::StoredRuns m_runs{m_folder.path()};
};

// Only the family's charts of the same day count as newer, as the folder stood when last said to
// have changed; a chart from an address that is no area chart's, or no chart at all, has no age.
TEST_F(StoredChartAgeTest, OnlyTheFamilysChartsOfTheSameDayCountAsNewer) {
    const QString shown = store(Today, 13, QStringLiteral("w"), run(Yesterday, 0, 37));
    store(Today, 10, QStringLiteral("w"), run(Yesterday, 12, 22));
    const QString elsewhere = store(Today, 9, QStringLiteral("w"), std::nullopt);
    store(Today, 11, QStringLiteral("cc"), run(Today, 0, 11, QStringLiteral("cc")));
    store(Today.addDays(1), 1, QStringLiteral("w"), run(Today, 0, 25));

    const std::optional<viewer::RunAge> age = ageOf(shown);
    ASSERT_TRUE(age.has_value());
    EXPECT_EQ(age->start, at(Yesterday, 2));
    EXPECT_EQ(age->hoursAgo, 34);
    EXPECT_EQ(age->newerStart, at(Yesterday, 14)) << "not the cloud chart's run nor tomorrow's";

    QFile::remove(halofail(m_folder.path(), Today, 10, 0, QStringLiteral("w")));
    EXPECT_EQ(ageOf(shown).value_or(viewer::RunAge{}).newerStart, at(Yesterday, 14))
        << "the day's runs are kept until the folder is said to have changed";
    m_runs.forget();
    EXPECT_EQ(ageOf(shown).value_or(viewer::RunAge{}).newerStart, std::nullopt);

    ASSERT_TRUE(writeFileOrigin(elsewhere, FileOrigin{"http://127.0.0.1:1/wind/20070410HALO09.gif", {}, {}}));
    EXPECT_FALSE(ageOf(elsewhere).has_value());
    EXPECT_FALSE(ageOf(halofail(m_folder.path(), Today, 7, 0, QStringLiteral("w"))).has_value()) << "no file";
}

} // namespace
