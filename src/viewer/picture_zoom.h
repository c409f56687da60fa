// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <Qt>

namespace viewer {

// The factor a base size grows by to fill a room with its aspect kept; never below 1, so a room
// smaller than the base leaves it as it is.
double grownScale(const QSizeF& base, const QSizeF& room);
QSize grownSize(const QSize& base, const QSizeF& room);
// A length at a scale in whole pixels, rounded down so that it never overflows the room it was
// scaled to fill.
int scaledLength(int length, double scale);

// A picture drawn with each of its pixels on a whole number of device pixels keeps its lines and
// numbers crisp only when they are copied, not blended; at any other scale blending reads better.
Qt::TransformationMode pictureTransformation(double scale, double devicePixelRatio);

// How a picture lies in its box: fitted with its aspect kept and placed by the box's alignment,
// then zoomed about a point and panned. A zoomed picture is never panned so far that an edge of
// the box shows nothing where the picture could fill it.
class PictureZoom final {
public:
    static constexpr double StepFactor = 1.25;
    // Magnified this much, a chart's pixel is as large as a letter of its labels.
    static constexpr double MaximumScale = 8;

    // The box, where the picture is drawn, in the box's own pixels. A new size of either keeps the
    // zoom and the point of the picture at the middle of the box.
    void setSizes(const QSizeF& picture, const QSizeF& box);
    void setDevicePixelRatio(double ratio) { m_devicePixelRatio = ratio; }
    // Where a fitted picture smaller than its box stands: 0 at the left or top, 1 at the right or
    // bottom.
    void setPlacement(double horizontal, double vertical);

    double fitScale() const;
    double scale() const { return fitScale() * m_zoom; }
    bool isFitted() const { return m_zoom == 1; }
    // Where the whole picture is drawn; at a whole scale on whole device pixels.
    QRectF pictureRect() const;
    QPointF toBox(const QPointF& picturePoint) const;
    QPointF toPicture(const QPointF& boxPoint) const;

    // The point of the picture under `boxPoint` stays under it.
    void zoomAbout(const QPointF& boxPoint, double factor);
    // A key's or a wheel's notch: StepFactor a step, landing on a whole scale when one is near, so
    // that stepping keeps the picture crisp.
    void stepAbout(const QPointF& boxPoint, int steps);
    void panBy(const QPointF& boxDelta);
    void fit();

private:
    void setScaleAbout(const QPointF& boxPoint, double scale);
    double boundedZoom(double zoom) const;
    void clamp();
    double offsetAlong(double box, double drawn, double offset, double placement) const;

    QSizeF m_picture;
    QSizeF m_box;
    double m_devicePixelRatio = 1;
    double m_horizontal = 0;
    double m_vertical = 0;
    double m_zoom = 1;
    // The picture's top left corner in the box.
    QPointF m_offset;
};

} // namespace viewer
