#include "viewer/picture_box.h"

#include "platform/picture_check.h"
#include "platform/stored_files.h"

#include <QFileInfo>
#include <QMouseEvent>

// Judged before it is decoded: the decoder would wait on a FIFO for good, show a cut file as far as
// it goes and allocate whatever size a header claims.
std::optional<QPixmap> loadChartPicture(const QString& path) {
    const Expected<QByteArray> bytes = readRegularFile(path, LargestPictureFile);
    QPixmap picture;
    if (!bytes || judgePicture(*bytes) != PictureVerdict::Whole || !picture.loadFromData(*bytes)) {
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
