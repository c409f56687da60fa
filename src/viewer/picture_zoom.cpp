// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "viewer/picture_zoom.h"

#include <QSize>
#include <algorithm>
#include <cmath>

namespace viewer {

namespace {

// A scale this close to a whole one draws the same device pixels.
constexpr double WholeTolerance = 1e-6;
// A step landing this close (a share of the scale) to a whole scale lands on it.
constexpr double SnapShare = 0.1;

bool isWhole(double deviceScale) {
    return deviceScale >= 1 - WholeTolerance &&
           std::abs(deviceScale - std::round(deviceScale)) < WholeTolerance;
}

} // namespace

double grownScale(const QSizeF& base, const QSizeF& room) {
    if (base.isEmpty()) {
        return 1;
    }
    return std::max(1.0, std::min(room.width() / base.width(), room.height() / base.height()));
}

QSize grownSize(const QSize& base, const QSizeF& room) {
    const double scale = grownScale(base, room);
    return {scaledLength(base.width(), scale), scaledLength(base.height(), scale)};
}

int scaledLength(int length, double scale) {
    return static_cast<int>(std::floor(length * scale));
}

Qt::TransformationMode pictureTransformation(double scale, double devicePixelRatio) {
    return isWhole(scale * devicePixelRatio) ? Qt::FastTransformation : Qt::SmoothTransformation;
}

void PictureZoom::setSizes(const QSizeF& picture, const QSizeF& box) {
    if (picture == m_picture && box == m_box) {
        return;
    }
    const bool hadPicture = !m_picture.isEmpty() && !m_box.isEmpty();
    const QPointF middle = hadPicture ? toPicture(QPointF(m_box.width() / 2, m_box.height() / 2)) : QPointF();
    const QPointF middleShare = hadPicture
                                    ? QPointF(middle.x() / m_picture.width(), middle.y() / m_picture.height())
                                    : QPointF(0.5, 0.5);
    m_picture = picture;
    m_box = box;
    m_zoom = boundedZoom(m_zoom);
    const QPointF kept(middleShare.x() * m_picture.width(), middleShare.y() * m_picture.height());
    m_offset = QPointF(m_box.width() / 2, m_box.height() / 2) - kept * scale();
    clamp();
}

void PictureZoom::setPlacement(double horizontal, double vertical) {
    m_horizontal = horizontal;
    m_vertical = vertical;
    clamp();
}

double PictureZoom::fitScale() const {
    if (m_picture.isEmpty() || m_box.isEmpty()) {
        return 1;
    }
    return std::min(m_box.width() / m_picture.width(), m_box.height() / m_picture.height());
}

QRectF PictureZoom::pictureRect() const {
    QPointF topLeft = m_offset;
    if (pictureTransformation(scale(), m_devicePixelRatio) == Qt::FastTransformation) {
        topLeft = QPointF(std::round(topLeft.x() * m_devicePixelRatio),
                          std::round(topLeft.y() * m_devicePixelRatio)) /
                  m_devicePixelRatio;
    }
    return {topLeft, m_picture * scale()};
}

QPointF PictureZoom::toBox(const QPointF& picturePoint) const {
    const QRectF drawn = pictureRect();
    return drawn.topLeft() + picturePoint * scale();
}

QPointF PictureZoom::toPicture(const QPointF& boxPoint) const {
    return (boxPoint - pictureRect().topLeft()) / scale();
}

void PictureZoom::zoomAbout(const QPointF& boxPoint, double factor) {
    setScaleAbout(boxPoint, scale() * factor);
}

void PictureZoom::stepAbout(const QPointF& boxPoint, int steps) {
    double target = scale() * std::pow(StepFactor, steps);
    const double wholeDevice = std::round(target * m_devicePixelRatio);
    if (wholeDevice >= 1 &&
        std::abs(target * m_devicePixelRatio - wholeDevice) < SnapShare * target * m_devicePixelRatio) {
        target = wholeDevice / m_devicePixelRatio;
    }
    setScaleAbout(boxPoint, target);
}

void PictureZoom::setScaleAbout(const QPointF& boxPoint, double target) {
    const QPointF kept = toPicture(boxPoint);
    m_zoom = boundedZoom(target / fitScale());
    m_offset = boxPoint - kept * scale();
    clamp();
}

// Never smaller than fitted, never magnified past MaximumScale (unless fitting alone does).
double PictureZoom::boundedZoom(double zoom) const {
    return std::clamp(zoom, 1.0, std::max(1.0, MaximumScale / fitScale()));
}

void PictureZoom::panBy(const QPointF& boxDelta) {
    m_offset += boxDelta;
    clamp();
}

void PictureZoom::fit() {
    m_zoom = 1;
    clamp();
}

// Along each side: a picture smaller than the box stands where the box's alignment puts it; a
// larger one covers the box from edge to edge.
void PictureZoom::clamp() {
    const QSizeF drawn = m_picture * scale();
    m_offset = QPointF(offsetAlong(m_box.width(), drawn.width(), m_offset.x(), m_horizontal),
                       offsetAlong(m_box.height(), drawn.height(), m_offset.y(), m_vertical));
}

double PictureZoom::offsetAlong(double box, double drawn, double offset, double placement) const {
    if (drawn <= box) {
        return (box - drawn) * placement;
    }
    return std::clamp(offset, box - drawn, 0.0);
}

} // namespace viewer
