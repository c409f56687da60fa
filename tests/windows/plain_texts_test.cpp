// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Texts that come from lang.ini are shown as they stand in every window, even one that looks
// like markup.
#include "settings/legend_window.h"
#include "side_window_fixture.h"
#include "windows/about_window.h"
#include "windows/update_window.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

using namespace side_windows_test;

namespace {

const QString Markup = QStringLiteral("<b>x</b>");

// The shipped lang.ini with every text replaced by a bit of markup.
QByteArray markupLangIni() {
    QFile shipped(testing_support::shippedDataFile(QStringLiteral("lang.ini")));
    EXPECT_TRUE(shipped.open(QIODevice::ReadOnly | QIODevice::Text));
    QString ini = QString::fromUtf8(shipped.readAll());
    ini.replace(QRegularExpression(QStringLiteral("^([A-Za-z]+)=.*$"), QRegularExpression::MultilineOption),
                QStringLiteral("\\1=") + Markup);
    return ini.toUtf8();
}

// The labels of the window that carry the markup, and how many of them would render it.
struct MarkupLabels {
    int seen = 0;
    QStringList rendered;
};
MarkupLabels markupLabels(const QWidget& window) {
    MarkupLabels labels;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->text().contains(Markup)) {
            ++labels.seen;
            if (label->textFormat() != Qt::PlainText) {
                labels.rendered << label->objectName();
            }
        }
    }
    return labels;
}

TEST(PlainTexts, LangIniTextsAreNeverRenderedAsMarkup) {
    Form1Fixture fixture;
    fixture.folder.write(QStringLiteral("lang.ini"), markupLangIni());
    Form1& form = fixture.start();
    ui(form).naitalegend->click();
    const auto* legend = form.findChild<LegendWindow*>(QStringLiteral("legend"));
    ASSERT_NE(legend, nullptr);
    AboutWindow about(*fixture.texts, *fixture.downloaderInstance, ProgramFolder(fixture.folder.root()),
                      deadAddress(), nullptr);
    UpdateWindow update({ProgramFolder(fixture.folder.root()), *fixture.texts, *fixture.downloaderInstance,
                         fixture.shell, deadAddress(), QString(),
                         [] {
                         }},
                        nullptr);

    // The main window's city, hint, day and period labels; the legend's text; the about box's
    // version and supporters captions; the update window's version.
    const MarkupLabels main = markupLabels(form);
    EXPECT_GE(main.seen, 12);
    EXPECT_EQ(main.rendered, QStringList());
    for (const QWidget* side : {static_cast<const QWidget*>(legend), static_cast<const QWidget*>(&about),
                                static_cast<const QWidget*>(&update)}) {
        const MarkupLabels labels = markupLabels(*side);
        EXPECT_GE(labels.seen, 1) << side->objectName().toStdString();
        EXPECT_EQ(labels.rendered, QStringList()) << side->objectName().toStdString();
    }
    // The question before deleting every chart.
    std::optional<MarkupLabels> question;
    QTimer::singleShot(0, [&question] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            question = markupLabels(*box);
            box->button(QMessageBox::No)->click();
        }
    });
    ui(form).kustuta->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&question] { return question.has_value(); }, 5000));
    EXPECT_EQ(question->seen, 1);
    EXPECT_EQ(question->rendered, QStringList());
}

} // namespace
