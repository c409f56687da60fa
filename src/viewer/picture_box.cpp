#include "viewer/picture_box.h"

#include <QMouseEvent>

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        Q_EMIT doubleClicked();
    }
    QLabel::mouseDoubleClickEvent(event);
}
