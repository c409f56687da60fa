// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "viewer/picture_zoom.h"
#include "viewer/recent_pictures.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <functional>
#include <optional>

// A stored chart, meteogram or wave map as a picture; nothing for a missing file, anything but a
// regular file, one that is no picture (an error page saved under a chart's name), one cut short
// and one that claims a size no chart has.
std::optional<QPixmap> loadChartPicture(const QString& path);

// The charts and maps the slider shows, decoded once while their files stay as they are. They are
// kept in 8 bits a pixel, as a GIF stores them (a quarter of their size as 32-bit pixels), so that
// a week of one family's charts and the sailing maps, about 52 MB, fits the budget.
using ChartPictures = RecentPictures<QImage>;
inline constexpr qint64 ChartPicturesBudget = 64 * 1024 * 1024;
ChartPictures makeChartPictures(qint64 budget = ChartPicturesBudget);

// A picture that answers a double-click: the chart pictures fetch what they show, the meteograms
// fetch every spot's. A fitted box draws its pixmap as large as the box holds it, with its aspect
// kept; a zoomable one also lets the pointer, a pinch and the keys magnify it and a drag move it.
class PictureBox final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // Shows a decoded picture. Its pixmap is made only when it is not the one shown already: a
    // sailing map stays for three hours of the slider, a chart for the hours it stands in for.
    void showPicture(const QImage& picture);

    void setFitted(bool fitted);
    // Zoomable implies fitted; the box then takes the focus, for the keys.
    void setZoomable(bool zoomable);
    // Back to the whole picture fitted.
    void fit();
    // Where the whole pixmap lies, zoomed and moved as it is now, from the corner of the box's
    // contents; the box draws it there.
    QRectF pictureRect() const;
    const viewer::PictureZoom& zoom() const { return m_zoom; }

Q_SIGNALS:
    void doubleClicked();
    // The pixmap is drawn elsewhere in the box: resized, zoomed or moved.
    void pictureMoved(const QRectF& pictureRect);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void drawFocus();
    QRectF box() const;
    void followPixmap();
    void changeZoom(const std::function<void(viewer::PictureZoom&)>& change);
    bool zoomByKey(const QKeyEvent* event);
    void showHandWhenZoomed();

    qint64 m_pictureShown = 0;
    qint64 m_pixmapShown = 0;
    bool m_fitted = false;
    bool m_zoomable = false;
    viewer::PictureZoom m_zoom;
    std::optional<QPointF> m_dragFrom;
};
