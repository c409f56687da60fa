// The pictures of the files shown lately: decoded again only when the file at the name is another
// than the one decoded, gone when the file is, and kept within their budget.
#include "viewer/recent_pictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

// A "picture" is the file's bytes, so every answer says which file was decoded; bytes beginning
// with "<html>" are no picture, as an error page saved under a chart's name is not.
class RecentPicturesTest : public ::testing::Test {
protected:
    RecentPictures<QByteArray> pictures(qint64 budget) {
        return RecentPictures<QByteArray>(
            budget,
            [this](const QByteArray& bytes) -> std::optional<QByteArray> {
                decoded.append(bytes);
                return bytes.startsWith("<html>") ? std::nullopt : std::optional(bytes);
            },
            [](const QByteArray& picture) { return qint64(picture.size()); });
    }

    QString path(const QString& name) const { return folder.filePath(name); }

    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    // What the cache answers for the file now: its picture, or "(none)".
    static std::string shown(RecentPictures<QByteArray>& cache, const QString& path) {
        const auto picture = cache.picture(path);
        return picture ? picture->picture.toStdString() : "(none)";
    }

    QTemporaryDir folder;
    QByteArrayList decoded;
};

TEST_F(RecentPicturesTest, AFileIsDecodedAgainOnlyWhenAnotherIsAtItsName) {
    auto cache = pictures(1024 * 1024);
    const QString chart = path(u"chart.gif"_s);
    write(chart, "first chart");
    EXPECT_EQ(shown(cache, chart), "first chart");
    const auto again = cache.picture(chart);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->modified, QFileInfo(chart).lastModified()) << "the download time is the file's";
    EXPECT_EQ(decoded, QByteArrayList{"first chart"});

    write(chart, "first chart, written anew");
    EXPECT_EQ(shown(cache, chart), "first chart, written anew");

    // Another file of the same size and the very same modification time put in its place.
    struct stat written {};
    ASSERT_EQ(::stat(QFile::encodeName(chart).constData(), &written), 0);
    const QString fetched = path(u".chart.gif.part"_s);
    write(fetched, "other chart, written anew");
    const timespec times[2] = {written.st_atim, written.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(fetched).constData(), times, 0), 0);
    ASSERT_EQ(::rename(QFile::encodeName(fetched).constData(), QFile::encodeName(chart).constData()), 0);
    struct stat replaced {};
    ASSERT_EQ(::stat(QFile::encodeName(chart).constData(), &replaced), 0);
    ASSERT_EQ(replaced.st_size, written.st_size);
    ASSERT_EQ(replaced.st_mtim.tv_nsec, written.st_mtim.tv_nsec);
    EXPECT_EQ(shown(cache, chart), "other chart, written anew");

    // An error page is no picture, and is not read again while it stays.
    write(chart, "<html>Marina Wi-Fi</html>");
    EXPECT_EQ(shown(cache, chart), "(none)");
    EXPECT_EQ(shown(cache, chart), "(none)");
    EXPECT_EQ(decoded.size(), 4);

    ASSERT_TRUE(QFile::remove(chart));
    EXPECT_EQ(shown(cache, chart), "(none)");
    EXPECT_EQ(cache.count(), 0);
    ASSERT_EQ(mkfifo(QFile::encodeName(chart).constData(), 0644), 0);
    EXPECT_EQ(shown(cache, chart), "(none)") << "a FIFO is neither waited for nor read";
    ASSERT_TRUE(QFile::remove(chart));
    write(path(u"elsewhere.gif"_s), "a chart elsewhere");
    ASSERT_TRUE(QFile::link(path(u"elsewhere.gif"_s), chart));
    EXPECT_EQ(shown(cache, chart), "(none)") << "a link is not followed";
    EXPECT_EQ(decoded.size(), 4);
}

TEST_F(RecentPicturesTest, StaysWithinItsBudgetTheLeastRecentlyShownGoingFirst) {
    constexpr qint64 PictureSize = 10000;
    // Room for three pictures and their entries, not for four.
    auto cache = pictures(3 * PictureSize + 5000);
    const auto chart = [this](int n) {
        return path(u"chart%1.gif"_s.arg(n));
    };
    for (int n = 1; n <= 5; ++n) {
        write(chart(n), QByteArray(PictureSize, char('0' + n)));
    }
    write(chart(6), QByteArray(4 * PictureSize, '6'));
    const auto showAll = [&](std::initializer_list<int> charts) {
        for (const int n : charts) {
            EXPECT_EQ(shown(cache, chart(n)).front(), char('0' + n));
            EXPECT_LE(cache.bytes(), cache.budget());
        }
    };

    showAll({1, 2, 3, 1, 4});
    EXPECT_EQ(cache.count(), 3);
    EXPECT_EQ(decoded.size(), 4) << "the second 1 was kept";
    showAll({1, 3, 4});
    EXPECT_EQ(decoded.size(), 4) << "2 was the least recently shown, and went";
    showAll({2});
    EXPECT_EQ(decoded.size(), 5);
    showAll({2, 4, 5, 1});
    EXPECT_EQ(decoded.size(), 7) << "3, then 2 went";

    // A picture larger than the whole budget is shown, and kept by none: the others stay.
    showAll({6, 6});
    EXPECT_EQ(decoded.size(), 9);
    showAll({1, 5, 4});
    EXPECT_EQ(decoded.size(), 9);
}

} // namespace
