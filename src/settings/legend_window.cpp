// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/legend_window.h"

#include "platform/escape_closes.h"
#include "settings/interface_texts.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {

QLabel* legendPicture(const QString& name, const QString& resource, QWidget* parent) {
    auto* picture = new QLabel(parent);
    picture->setObjectName(name);
    picture->setPixmap(QPixmap(resource));
    return picture;
}

} // namespace

LegendWindow::LegendWindow(const InterfaceTexts& texts, QWidget* owner)
    : QWidget(owner, Qt::Window),
      Picture3(
          legendPicture(QStringLiteral("Picture3"), QStringLiteral(":/data/pictures/legend_wind.png"), this)),
      Picture5(legendPicture(QStringLiteral("Picture5"), QStringLiteral(":/data/pictures/legend_colours.png"),
                             this)),
      Label2(new QLabel(QStringLiteral("Lühike jupats: 5knotsi      Pikk jupats: 10knotsi"), this)) {
    setObjectName(QStringLiteral("legend"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Legend"));
    closeOnEscape(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    Label2->setTextFormat(Qt::PlainText);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Picture3);
    layout->addWidget(Label2);
    layout->addWidget(Picture5);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setWindowTitle(texts.keeltekst(QStringLiteral("legendtitle")));
    Picture3->setAccessibleName(texts.keeltekst(QStringLiteral("acclegendwind")));
    Picture5->setAccessibleName(texts.keeltekst(QStringLiteral("acclegendcolours")));
    Label2->setText(texts.keeltekst(QStringLiteral("legendtxt")));
}
