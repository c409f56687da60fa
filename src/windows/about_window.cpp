// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/about_window.h"

#include "net/fetch.h"
#include "platform/control_names.h"
#include "settings/interface_texts.h"
#include "windows/home_site.h"
#include "windows/program_version.h"

#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

namespace {

QFont titleFont(QFont font) {
    font.setPointSizeF(font.pointSizeF() * 2);
    font.setBold(true);
    return font;
}

} // namespace

AboutWindow::AboutWindow(const InterfaceTexts& texts, Downloader& downloader, ProgramFolder folder, QUrl home,
                         QWidget* parent)
    : QDialog(parent), Image1(named(new QLabel(this), QStringLiteral("Image1"))),
      lblTitle(named(new QLabel(QStringLiteral("Brisel"), this), QStringLiteral("lblTitle"))),
      lblVersion(named(new QLabel(this), QStringLiteral("lblVersion"))),
      Label1(named(new QLabel(this), QStringLiteral("Label1"))),
      toetajad(named(new QPlainTextEdit(this), QStringLiteral("toetajad"))),
      cmdOK(named(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("cmdOK"))),
      m_downloader(downloader), m_folder(std::move(folder)), m_home(std::move(home)) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(withoutMnemonic(texts.keeltekst(QStringLiteral("about"))));
    Image1->setPixmap(QPixmap(QStringLiteral(":/data/pictures/wind.png")));
    lblTitle->setFont(titleFont(lblTitle->font()));
    // Texts of lang.ini, shown as they stand even when one begins with a tag.
    lblVersion->setTextFormat(Qt::PlainText);
    Label1->setTextFormat(Qt::PlainText);
    lblVersion->setText(texts.keeltekst(QStringLiteral("version")) + QLatin1Char(' ') + runningVersionText());
    Label1->setText(texts.keeltekst(QStringLiteral("supporters")));
    toetajad->setReadOnly(true);
    toetajad->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    cmdOK->setDefault(true);

    auto* layout = new QGridLayout(this);
    layout->addWidget(Image1, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(lblTitle, 0, 1);
    layout->addWidget(lblVersion, 1, 1);
    layout->addWidget(Label1, 2, 0, 1, 2);
    layout->addWidget(toetajad, 3, 0, 1, 2);
    layout->addWidget(cmdOK, 4, 1, Qt::AlignRight);
    resize(360, 340);

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
}

QCoro::Task<> AboutWindow::load() {
    const QPointer<AboutWindow> self(this);
    const QString listFile = m_folder.file(home_site::SupportersFile);
    const bool fetched =
        co_await m_downloader.downloadi(home_site::supportersUrl(m_home).toString(), listFile);
    if (self) {
        toetajad->setPlainText(supportersText(fetched, listFile));
    }
}
