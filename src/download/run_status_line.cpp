#include "download/run_status_line.h"

#include <QMouseEvent>
#include <QToolTip>

// One line of the interface's font, whatever its size.
RunStatusLine::RunStatusLine(int roomBelow, QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("runStatus"));
    setFixedHeight(fontMetrics().height() + roomBelow);
    setContentsMargins(0, 0, 0, roomBelow);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setTextFormat(Qt::PlainText);
    // The line takes the width it is given and asks for none.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setMinimumWidth(0);
}

void RunStatusLine::showProgress(const QString& text) {
    showText(text, text);
}

void RunStatusLine::showEnd(const QString& text, const QString& details) {
    showText(text, details.isEmpty() ? text : text + QStringLiteral("\n\n") + details);
}

void RunStatusLine::showText(const QString& text, const QString& toolTip) {
    m_text = text;
    setToolTip(toolTip);
    setCursor(toolTip == text ? Qt::ArrowCursor : Qt::WhatsThisCursor);
    fitText();
}

void RunStatusLine::fitText() {
    setText(fontMetrics().elidedText(m_text, Qt::ElideRight, contentsRect().width()));
}

void RunStatusLine::mousePressEvent(QMouseEvent* event) {
    if (!toolTip().isEmpty()) {
        QToolTip::showText(event->globalPosition().toPoint(), toolTip(), this);
    }
    QLabel::mousePressEvent(event);
}

void RunStatusLine::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    fitText();
}
