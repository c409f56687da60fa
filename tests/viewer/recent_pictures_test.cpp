// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The pictures of the files shown lately: decoded again only when the file at the name is another
// than the one decoded, gone when the file is, and kept within their budget.
#include "viewer/recent_pictures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

// The window's tests show a file written anew, replaced in place or removed, and a FIFO; what
// they cannot see is what was decoded, and a link at a chart's name.
TEST_F(RecentPicturesTest, NoPictureIsDecodedTwiceAndALinkIsNotFollowed) {
    auto cache = pictures(1024 * 1024);
    const QString chart = path(u"chart.gif"_s);
    write(chart, "<html>Marina Wi-Fi</html>");
    EXPECT_EQ(shown(cache, chart), "(none)");
    EXPECT_EQ(shown(cache, chart), "(none)");
    EXPECT_EQ(decoded.size(), 1) << "an error page is not read again while it stays";

    ASSERT_TRUE(QFile::remove(chart));
    write(path(u"elsewhere.gif"_s), "a chart elsewhere");
    ASSERT_TRUE(QFile::link(path(u"elsewhere.gif"_s), chart));
    EXPECT_EQ(shown(cache, chart), "(none)");
    EXPECT_EQ(decoded.size(), 1);
    EXPECT_EQ(cache.count(), 0);
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
