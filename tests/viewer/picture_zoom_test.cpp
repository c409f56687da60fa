// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "viewer/picture_zoom.h"

#include <QRectF>
#include <gtest/gtest.h>

using viewer::PictureZoom;

namespace {

constexpr QSizeF Chart(468, 510);

PictureZoom zoomOf(const QSizeF& picture, const QSizeF& box, double ratio = 1) {
    PictureZoom zoom;
    zoom.setDevicePixelRatio(ratio);
    zoom.setSizes(picture, box);
    return zoom;
}

void expectNear(const QPointF& actual, const QPointF& expected) {
    EXPECT_NEAR(actual.x(), expected.x(), 1e-9);
    EXPECT_NEAR(actual.y(), expected.y(), 1e-9);
}

TEST(GrownScale, ARoomGrowsTheBaseByItsTighterSideAndNeverShrinksIt) {
    struct Case {
        QSizeF room;
        double scale;
    };
    for (const Case& c : {Case{{468, 510}, 1.0}, Case{{936, 2000}, 2.0}, Case{{2000, 765}, 1.5},
                          Case{{400, 900}, 1.0}, Case{{-5, -5}, 1.0}}) {
        EXPECT_DOUBLE_EQ(viewer::grownScale(Chart, c.room), c.scale)
            << c.room.width() << "x" << c.room.height();
    }
    EXPECT_EQ(viewer::grownSize(QSize(468, 510), QSizeF(2000, 900)), QSize(825, 900));
}

TEST(PictureTransformation, OnlyWholeDeviceScalesCopyPixels) {
    struct Case {
        double scale;
        double ratio;
        Qt::TransformationMode mode;
    };
    for (const Case& c : {Case{1, 1, Qt::FastTransformation}, Case{2, 1, Qt::FastTransformation},
                          Case{1, 2, Qt::FastTransformation}, Case{0.5, 2, Qt::FastTransformation},
                          Case{1.5, 2, Qt::FastTransformation}, Case{1.25, 1, Qt::SmoothTransformation},
                          Case{1, 1.5, Qt::SmoothTransformation}, Case{0.5, 1, Qt::SmoothTransformation},
                          Case{1.7647, 1, Qt::SmoothTransformation}}) {
        EXPECT_EQ(viewer::pictureTransformation(c.scale, c.ratio), c.mode) << c.scale << " at " << c.ratio;
    }
}

TEST(PictureZoom, AFittedPictureFillsItsBoxAtItsAlignment) {
    const PictureZoom same = zoomOf(Chart, Chart);
    EXPECT_EQ(same.pictureRect(), QRectF(QPointF(0, 0), Chart));
    // A taller box: the picture as wide as the box, at the top by default, in the middle or at the
    // bottom as placed.
    PictureZoom tall = zoomOf(Chart, QSizeF(936, 1100));
    EXPECT_EQ(tall.pictureRect(), QRectF(0, 0, 936, 1020));
    tall.setPlacement(0.5, 0.5);
    EXPECT_EQ(tall.pictureRect(), QRectF(0, 40, 936, 1020));
    tall.setPlacement(1, 1);
    EXPECT_EQ(tall.pictureRect(), QRectF(0, 80, 936, 1020));
    EXPECT_TRUE(tall.isFitted());
}

// The window's chart keeps the point under the pointer as the wheel zooms; here are the scale's
// bounds, which its wheel does not reach.
TEST(PictureZoom, ZoomingKeepsThePointUnderThePointerAndClampsTheScale) {
    PictureZoom zoom = zoomOf(Chart, Chart);
    const QPointF pointer(100, 300);
    const QPointF under = zoom.toPicture(pointer);
    zoom.zoomAbout(pointer, 100);
    EXPECT_DOUBLE_EQ(zoom.scale(), PictureZoom::MaximumScale);
    expectNear(zoom.toBox(under), pointer);
    // Never smaller than fitted.
    zoom.zoomAbout(pointer, 0.001);
    EXPECT_TRUE(zoom.isFitted());
    EXPECT_EQ(zoom.pictureRect(), QRectF(QPointF(0, 0), Chart));
}

TEST(PictureZoom, NearTheEdgeTheZoomedPictureStillCoversTheBox) {
    PictureZoom zoom = zoomOf(Chart, Chart);
    zoom.zoomAbout(QPointF(0, 0), 3);
    expectNear(zoom.pictureRect().topLeft(), QPointF(0, 0));
    zoom.panBy(QPointF(500, 500));
    expectNear(zoom.pictureRect().topLeft(), QPointF(0, 0));
    zoom.panBy(QPointF(-5000, -5000));
    expectNear(zoom.pictureRect().bottomRight(), QPointF(Chart.width(), Chart.height()));
    zoom.panBy(QPointF(30, 0));
    expectNear(zoom.pictureRect().bottomRight(), QPointF(Chart.width() + 30, Chart.height()));
    zoom.fit();
    EXPECT_EQ(zoom.pictureRect(), QRectF(QPointF(0, 0), Chart));
}

// Each step is a quarter larger unless a whole device scale is near: from a fitted chart of its own
// size the steps reach 2 and 3 exactly; at a device ratio of 2 the whole device scales are halves.
TEST(PictureZoom, StepsLandOnWholeScalesWhenOneIsNear) {
    const auto scalesByStep = [](double ratio, int steps) {
        PictureZoom zoom = zoomOf(Chart, Chart, ratio);
        std::vector<double> scales;
        for (int step = 0; step < steps; ++step) {
            zoom.stepAbout(QPointF(10, 10), 1);
            scales.push_back(zoom.scale());
        }
        return scales;
    };
    const std::vector<double> plain = scalesByStep(1, 5);
    EXPECT_DOUBLE_EQ(plain[0], 1.25);
    EXPECT_DOUBLE_EQ(plain[1], 1.5625);
    EXPECT_DOUBLE_EQ(plain[2], 2);
    EXPECT_DOUBLE_EQ(plain[3], 2.5);
    EXPECT_DOUBLE_EQ(plain[4], 3);
    const std::vector<double> doubled = scalesByStep(2, 2);
    EXPECT_DOUBLE_EQ(doubled[0], 1.25);
    EXPECT_DOUBLE_EQ(doubled[1], 1.5);
    // A whole scale also puts the picture's corner on a whole device pixel.
    PictureZoom zoom = zoomOf(Chart, Chart, 2);
    zoom.zoomAbout(QPointF(101.3, 77.7), 2);
    const QPointF corner = zoom.pictureRect().topLeft() * 2;
    EXPECT_DOUBLE_EQ(corner.x(), std::round(corner.x()));
    EXPECT_DOUBLE_EQ(corner.y(), std::round(corner.y()));
}

// A window that grows keeps the zoom and the part of the picture in the middle of the box.
TEST(PictureZoom, ANewBoxSizeKeepsTheZoomAndTheMiddle) {
    PictureZoom zoom = zoomOf(Chart, Chart);
    zoom.zoomAbout(QPointF(200, 250), 2);
    const QPointF middle = zoom.toPicture(QPointF(Chart.width() / 2, Chart.height() / 2));
    const QSizeF larger = Chart * 1.5;
    zoom.setSizes(Chart, larger);
    EXPECT_DOUBLE_EQ(zoom.scale(), 3);
    expectNear(zoom.toPicture(QPointF(larger.width() / 2, larger.height() / 2)), middle);
}

} // namespace
