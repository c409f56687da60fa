// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "viewer/picture_box.h"

#include "platform/picture_check.h"
#include "platform/stored_files.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPainter>
#include <QWheelEvent>
#include <array>
#include <cmath>

namespace {

// Judged before it is decoded: the decoder would show a cut file as far as it goes and allocate
// whatever size a header claims.
std::optional<QImage> decodeWholePicture(const QByteArray& bytes) {
    QImage picture;
    if (judgePicture(bytes) != PictureVerdict::Whole || !picture.loadFromData(bytes)) {
        return std::nullopt;
    }
    return picture;
}

// The colours of a picture of at most 256 of them, each with its index; an open hash, as the
// picture's runs make most lookups the colour just seen.
class ColourTable final {
public:
    // The colour's index; nothing once a 257th colour is asked for.
    std::optional<uchar> indexOf(QRgb colour) {
        quint32 slot = (colour * 2654435761U) >> (32 - SlotBits);
        while (m_used[slot]) {
            if (m_colours[slot] == colour) {
                return m_indexes[slot];
            }
            slot = (slot + 1) % Slots;
        }
        if (m_table.size() == 256) {
            return std::nullopt;
        }
        m_used[slot] = true;
        m_colours[slot] = colour;
        m_indexes[slot] = static_cast<uchar>(m_table.size());
        m_table.append(colour);
        return m_indexes[slot];
    }
    const QList<QRgb>& table() const { return m_table; }

private:
    static constexpr int SlotBits = 10;
    static constexpr quint32 Slots = 1U << SlotBits;
    std::array<bool, Slots> m_used{};
    std::array<QRgb, Slots> m_colours{};
    std::array<uchar, Slots> m_indexes{};
    QList<QRgb> m_table;
};

// The picture in 8 bits a pixel with the very colours it has; nothing for one of more than 256
// colours (a photograph-like PNG or JPEG), which stays as it was decoded. The decoder gives a GIF
// as 32-bit pixels.
std::optional<QImage> indexedCopy(const QImage& picture) {
    if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32) {
        return std::nullopt;
    }
    const int width = picture.width();
    const int height = picture.height();
    QImage indexed(picture.size(), QImage::Format_Indexed8);
    ColourTable colours;
    QRgb last = *reinterpret_cast<const QRgb*>(picture.constScanLine(0));
    std::optional<uchar> index = colours.indexOf(last);
    for (int y = 0; y < height; ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        uchar* to = indexed.scanLine(y);
        for (int x = 0; x < width; ++x) {
            if (from[x] != last) {
                last = from[x];
                index = colours.indexOf(last);
                if (!index) {
                    return std::nullopt;
                }
            }
            to[x] = *index;
        }
    }
    indexed.setColorTable(colours.table());
    return indexed;
}

std::optional<QImage> decodeCompactPicture(const QByteArray& bytes) {
    std::optional<QImage> picture = decodeWholePicture(bytes);
    if (picture) {
        if (std::optional<QImage> indexed = indexedCopy(*picture)) {
            return indexed;
        }
    }
    return picture;
}

qint64 bytesOf(const QImage& picture) {
    return picture.sizeInBytes() + picture.colorCount() * static_cast<qint64>(sizeof(QRgb));
}

} // namespace

std::optional<QPixmap> loadChartPicture(const QString& path) {
    const Expected<QByteArray> bytes = readRegularFile(path, LargestPictureFile);
    const std::optional<QImage> picture = bytes ? decodeWholePicture(*bytes) : std::nullopt;
    if (!picture) {
        return std::nullopt;
    }
    return QPixmap::fromImage(*picture);
}

ChartPictures makeChartPictures(qint64 budget) {
    return ChartPictures(budget, decodeCompactPicture, bytesOf);
}

// The label's own pixmap is asked too, so a pixmap set some other way (the placeholder) is
// replaced.
void PictureBox::showPicture(const QImage& picture) {
    if (picture.cacheKey() == m_pictureShown && pixmap().cacheKey() == m_pixmapShown) {
        return;
    }
    setPixmap(QPixmap::fromImage(picture));
    m_pictureShown = picture.cacheKey();
    m_pixmapShown = pixmap().cacheKey();
    followPixmap();
}

void PictureBox::setFitted(bool fitted) {
    m_fitted = fitted;
    followPixmap();
    update();
}

void PictureBox::setZoomable(bool zoomable) {
    m_zoomable = zoomable;
    setFocusPolicy(zoomable ? Qt::StrongFocus : Qt::NoFocus);
    setFitted(zoomable || m_fitted);
}

void PictureBox::fit() {
    changeZoom([](viewer::PictureZoom& zoom) { zoom.fit(); });
}

QRectF PictureBox::pictureRect() const {
    return m_zoom.pictureRect();
}

// The picture starts inside the frame and is cut at its far edges, as a label draws a pixmap of
// its own size: a fitted picture of the box's size is drawn pixel for pixel where a label draws it.
QRectF PictureBox::box() const {
    return QRectF(contentsRect().topLeft(), QSizeF(size()));
}

// A pixmap may be set as a label's (the placeholder, a meteogram): its size is read again wherever
// it is drawn.
void PictureBox::followPixmap() {
    const QRectF before = pictureRect();
    m_zoom.setDevicePixelRatio(devicePixelRatioF());
    const auto placement = [](Qt::Alignment alignment, Qt::Alignment start, Qt::Alignment end) {
        return alignment & start ? 0.0 : alignment & end ? 1.0 : 0.5;
    };
    m_zoom.setPlacement(placement(alignment(), Qt::AlignLeft, Qt::AlignRight),
                        placement(alignment(), Qt::AlignTop, Qt::AlignBottom));
    m_zoom.setSizes(QSizeF(pixmap().size()), box().size());
    if (pictureRect() != before) {
        Q_EMIT pictureMoved(pictureRect());
    }
}

void PictureBox::changeZoom(const std::function<void(viewer::PictureZoom&)>& change) {
    const QRectF before = pictureRect();
    change(m_zoom);
    showHandWhenZoomed();
    if (pictureRect() != before) {
        update();
        Q_EMIT pictureMoved(pictureRect());
    }
}

// The hand says that a drag moves the picture.
void PictureBox::showHandWhenZoomed() {
    if (m_zoom.isFitted()) {
        unsetCursor();
    } else {
        setCursor(Qt::OpenHandCursor);
    }
}

void PictureBox::paintEvent(QPaintEvent* event) {
    const QPixmap shown = pixmap();
    if (!m_fitted || shown.isNull()) {
        QLabel::paintEvent(event);
    } else {
        followPixmap();
        QPainter painter(this);
        drawFrame(&painter);
        painter.setClipRect(contentsRect());
        painter.setRenderHint(QPainter::SmoothPixmapTransform,
                              viewer::pictureTransformation(m_zoom.scale(), devicePixelRatioF()) ==
                                  Qt::SmoothTransformation);
        painter.drawPixmap(pictureRect().translated(box().topLeft()), shown, QRectF(shown.rect()));
    }
    drawFocus();
}

// A picture the keys act on says so, as a button does. A picture shown at its own size is framed
// itself: the meteograms lie partly under each other and their hour strips, so a frame round the
// box would be half hidden.
void PictureBox::drawFocus() {
    if (!hasFocus()) {
        return;
    }
    const QRectF framed =
        m_fitted || pixmap().isNull()
            ? QRectF(rect())
            : QRectF(contentsRect().topLeft(), pixmap().deviceIndependentSize()).intersected(QRectF(rect()));
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawRect(framed.adjusted(1, 1, -1, -1));
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    followPixmap();
}

bool PictureBox::event(QEvent* event) {
    if (m_zoomable && event->type() == QEvent::NativeGesture) {
        const auto* gesture = static_cast<QNativeGestureEvent*>(event);
        if (gesture->gestureType() == Qt::ZoomNativeGesture) {
            const QPointF at = gesture->position() - box().topLeft();
            changeZoom([&](viewer::PictureZoom& zoom) { zoom.zoomAbout(at, 1 + gesture->value()); });
            event->accept();
            return true;
        }
    }
    return QLabel::event(event);
}

// A plain wheel is left to whatever holds the picture, as before; with Ctrl it zooms about the
// pointer, a mouse's notches by whole steps and a touchpad's finer deltas smoothly.
void PictureBox::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (!m_zoomable || !(event->modifiers() & Qt::ControlModifier) || delta == 0) {
        QLabel::wheelEvent(event);
        return;
    }
    constexpr int Notch = QWheelEvent::DefaultDeltasPerStep;
    const QPointF at = event->position() - box().topLeft();
    changeZoom([&](viewer::PictureZoom& zoom) {
        if (delta % Notch == 0) {
            zoom.stepAbout(at, delta / Notch);
        } else {
            zoom.zoomAbout(at, std::pow(viewer::PictureZoom::StepFactor, double(delta) / Notch));
        }
    });
    event->accept();
}

void PictureBox::keyPressEvent(QKeyEvent* event) {
    if (m_zoomable && zoomByKey(event)) {
        event->accept();
        return;
    }
    QLabel::keyPressEvent(event);
}

// Plus (or Equal, its key unshifted) and Minus step about the middle, 0 fits; on the keypad too.
bool PictureBox::zoomByKey(const QKeyEvent* event) {
    if (event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) {
        return false;
    }
    const QPointF middle(box().width() / 2, box().height() / 2);
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        changeZoom([&](viewer::PictureZoom& zoom) { zoom.stepAbout(middle, 1); });
        return true;
    case Qt::Key_Minus:
        changeZoom([&](viewer::PictureZoom& zoom) { zoom.stepAbout(middle, -1); });
        return true;
    case Qt::Key_0:
        fit();
        return true;
    default:
        return false;
    }
}

// A drag moves a zoomed picture; a press alone changes nothing, so a double-click still fetches.
void PictureBox::mousePressEvent(QMouseEvent* event) {
    if (!m_zoomable || m_zoom.isFitted() || event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    m_dragFrom = event->position();
    setCursor(Qt::ClosedHandCursor);
    event->accept();
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragFrom) {
        QLabel::mouseMoveEvent(event);
        return;
    }
    const QPointF delta = event->position() - *m_dragFrom;
    m_dragFrom = event->position();
    changeZoom([&](viewer::PictureZoom& zoom) { zoom.panBy(delta); });
    event->accept();
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_dragFrom) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    m_dragFrom.reset();
    showHandWhenZoomed();
    event->accept();
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QLabel::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    Q_EMIT doubleClicked();
}
