#include "viewer/picture_box.h"

#include <QMouseEvent>

// Taken here, so a map inside the sailing panel does not make the panel fetch as well.
void PictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QLabel::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    Q_EMIT doubleClicked();
}
