#include "viewer/picture_box.h"

#include "viewer/chart_picture.h"

#include <QFile>
#include <QMouseEvent>

std::optional<QPixmap> loadChartPicture(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    QPixmap picture;
    if (viewer::isCutShortGif(bytes) || !picture.loadFromData(bytes)) {
        return std::nullopt;
    }
    return picture;
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        Q_EMIT doubleClicked();
    }
    QLabel::mouseDoubleClickEvent(event);
}
