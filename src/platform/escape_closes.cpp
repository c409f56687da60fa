#include "platform/escape_closes.h"

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

void closeOnEscape(QWidget* window) {
    auto* escape = new QShortcut(QKeySequence::Cancel, window);
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, window, &QWidget::close);
}
