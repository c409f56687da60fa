// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The picture check on real pictures of each kind, cut at every length, with sizes claimed beyond
// any chart's, and on what is no picture at all.
#include "gif_encoder.h"
#include "platform/picture_check.h"

#include <QBuffer>
#include <QImage>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QImage drawing() {
    QImage image(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, qRgb(x * 6, y * 8, (x ^ y) * 4));
        }
    }
    return image;
}

QByteArray saved(const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(drawing().save(&buffer, format)) << format;
    return bytes;
}

// Every cut of a whole picture is cut short, from where its signature is whole.
void expectEveryCutShort(const QByteArray& picture, qsizetype signature) {
    ASSERT_EQ(judgePicture(picture), PictureVerdict::Whole);
    EXPECT_EQ(judgePicture(picture + "bytes after the end"), PictureVerdict::Whole);
    for (qsizetype size = signature; size < picture.size(); ++size) {
        ASSERT_EQ(judgePicture(picture.left(size)), PictureVerdict::CutShort) << "cut at " << size;
    }
}

TEST(PictureCheck, AGifIsWholeOnlyToItsTrailerAndAtMostTheLargestSide) {
    const QByteArray gif = demo::encodeGif(drawing());
    expectEveryCutShort(gif, 6);
    // One white pixel with a graphic control extension, as small as a GIF comes.
    const QByteArray smallest =
        QByteArray::fromHex("47494638396101000100800000ffffff00000021f90401000000002c00000000"
                            "010001000002024401003b");
    expectEveryCutShort(smallest, 6);

    // A few kilobytes that claim 5,700 pixels a side, on the screen or in the image.
    const auto claiming = [&gif](qsizetype at, quint16 side) {
        QByteArray bytes = gif;
        qToLittleEndian<quint16>(side, bytes.data() + at);
        return bytes;
    };
    const qsizetype screenWidth = 6;
    const qsizetype screenHeight = 8;
    // The encoder writes the image right after the screen's colour table.
    const auto packed = static_cast<quint8>(gif[10]);
    const qsizetype image = 13 + ((packed & 0x80) ? 3 * (1 << ((packed & 0x07) + 1)) : 0);
    ASSERT_EQ(gif[image], '\x2c');
    EXPECT_EQ(judgePicture(claiming(screenWidth, 5700)), PictureVerdict::TooLarge);
    EXPECT_EQ(judgePicture(claiming(screenHeight, 5700)), PictureVerdict::TooLarge);
    EXPECT_EQ(judgePicture(claiming(image + 5, 5700)), PictureVerdict::TooLarge);
    // Placed far from the corner, the image needs a canvas as large.
    EXPECT_EQ(judgePicture(claiming(image + 1, 5000)), PictureVerdict::TooLarge);
    EXPECT_EQ(judgePicture(claiming(screenWidth, LargestPictureSide)), PictureVerdict::Whole);
}

TEST(PictureCheck, APngIsWholeOnlyToItsEndChunkAndAtMostTheLargestSide) {
    const QByteArray png = saved("PNG");
    expectEveryCutShort(png, 8);
    QByteArray wide = png;
    qToBigEndian<quint32>(5700, wide.data() + 16);
    EXPECT_EQ(judgePicture(wide), PictureVerdict::TooLarge);
    QByteArray tall = png;
    qToBigEndian<quint32>(100000, tall.data() + 20);
    EXPECT_EQ(judgePicture(tall), PictureVerdict::TooLarge);
    QByteArray headerless = png;
    headerless.replace(12, 4, "tEXt");
    EXPECT_EQ(judgePicture(headerless), PictureVerdict::NotAPicture);
}

TEST(PictureCheck, AJpegIsWholeOnlyToItsEndMarkerAndAtMostTheLargestSide) {
    const QByteArray jpeg = saved("JPG");
    expectEveryCutShort(jpeg, 3);
    const qsizetype frame = jpeg.indexOf("\xff\xc0");
    ASSERT_GT(frame, 0);
    QByteArray tall = jpeg;
    qToBigEndian<quint16>(5700, tall.data() + frame + 5);
    EXPECT_EQ(judgePicture(tall), PictureVerdict::TooLarge);
    QByteArray wide = jpeg;
    qToBigEndian<quint16>(60000, wide.data() + frame + 7);
    EXPECT_EQ(judgePicture(wide), PictureVerdict::TooLarge);
}

TEST(PictureCheck, WhatIsNoPictureIsSaidSo) {
    for (const QByteArray& bytes : {QByteArray(), QByteArray("<html>Marina Wi-Fi: please log in</html>"),
                                    QByteArray("GIF8"), QByteArray("\x89PNG"), QByteArray("\xff\xd8")}) {
        EXPECT_EQ(judgePicture(bytes), PictureVerdict::NotAPicture) << bytes.toStdString();
    }
}

} // namespace
