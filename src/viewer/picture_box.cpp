#include "viewer/picture_box.h"

#include "viewer/chart_picture.h"

#include <QFile>
#include <QFileInfo>
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

// Taken here, so a map inside the sailing panel does not make the panel fetch as well.
std::optional<StoredChart> loadStoredChart(const QString& path) {
    const std::optional<QPixmap> pixmap = loadChartPicture(path);
    const QDateTime modified = QFileInfo(path).lastModified();
    if (!pixmap || !modified.isValid()) {
        return std::nullopt;
    }
    return StoredChart{*pixmap, modified};
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QLabel::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    Q_EMIT doubleClicked();
}
