// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "download/run_status_line.h"

#include <QMouseEvent>
#include <QStatusBar>
#include <QToolTip>

// One line of the interface's font, whatever its size.
RunStatusLine::RunStatusLine(int roomBelow, QWidget* parent) : QLabel(parent), m_roomBelow(roomBelow) {
    setObjectName(QStringLiteral("runStatus"));
    setFixedHeight(fontMetrics().height());
    setContentsMargins(4, 0, 0, 0);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setTextFormat(Qt::PlainText);
}

void RunStatusLine::fill(QStatusBar* bar) {
    m_bar = bar;
    setParent(bar);
    connect(bar, &QStatusBar::messageChanged, this, [this](const QString& message) {
        m_message = message;
        fitText();
    });
    bar->setFixedHeight(height() + m_roomBelow);
    bar->installEventFilter(this);
    setGeometry(0, 0, bar->width(), height());
    show();
}

bool RunStatusLine::eventFilter(QObject* watched, QEvent* event) {
    // Compared as the parent, not through m_bar: while the bar is being destroyed it is no
    // QStatusBar any more, and its last events still come here.
    if (watched == parent() && event->type() == QEvent::Resize) {
        resize(parentWidget()->width(), height());
    }
    // The bar would draw its message across the line and the progress bar; the line says it.
    if (watched == parent() && event->type() == QEvent::Paint) {
        return true;
    }
    return QLabel::eventFilter(watched, event);
}

void RunStatusLine::showProgress(const QString& text) {
    showText(text, text);
}

void RunStatusLine::showEnd(const QString& text, const QString& details) {
    showText(text, details.isEmpty() ? text : text + QStringLiteral("\n\n") + details);
}

void RunStatusLine::showNote(const QString& text) {
    if (m_bar) {
        m_bar->showMessage(text);
    }
}

void RunStatusLine::showText(const QString& text, const QString& toolTip) {
    if (m_bar) {
        m_bar->clearMessage();
    }
    m_text = text;
    setToolTip(toolTip);
    setCursor(toolTip == text ? Qt::ArrowCursor : Qt::WhatsThisCursor);
    fitText();
}

void RunStatusLine::fitText() {
    const QString& shown = m_message.isEmpty() ? m_text : m_message;
    setText(fontMetrics().elidedText(shown, Qt::ElideRight, contentsRect().width()));
}

void RunStatusLine::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (!toolTip().isEmpty()) {
        QToolTip::showText(event->globalPosition().toPoint(), toolTip(), this);
    }
}

void RunStatusLine::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    fitText();
}
