// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The about box: version, captions and the supporters list from the home site; it and the update
// window opened from the menu.
#include "side_window_fixture.h"
#include "windows/about_window.h"
#include "windows/program_version.h"
#include "windows/update_window.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace side_windows_test;

// From the menu the about box opens modal, shows the version and the supporters list fetched from
// the home site and kept beside the program, and closes with OK; the update window opens modal
// too, checks, and is unloaded when closed.
TEST(AboutBox, OpensModalFromTheMenuWithTheVersionAndTheFetchedSupporters) {
    demo::ServerOptions offering;
    offering.latestVersion = runningVersionNumber() + 1;
    const auto server = startServer(offering);
    Form1Fixture fixture;
    fixture.folder.write(QStringLiteral("brisel.ini"), testing_support::hostsAt(server->baseUrl()));
    Form1& form = fixture.start();
    ui(form).english->trigger();
    ASSERT_TRUE(ui(form).about->isEnabled());
    ui(form).about->trigger();
    const QPointer<AboutWindow> window = form.findChild<AboutWindow*>(QStringLiteral("frmAbout"));
    ASSERT_FALSE(window.isNull());
    EXPECT_EQ(window->windowModality(), Qt::ApplicationModal);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->toetajad->toPlainText().isEmpty(); }, PatienceMs));
    EXPECT_EQ(window->lblVersion->text(), QStringLiteral("Version ") + runningVersionText());
    EXPECT_EQ(window->lblTitle->text(), QStringLiteral("Brisel"));
    EXPECT_EQ(window->Label1->text(), QStringLiteral("Supporters:"));
    EXPECT_EQ(window->windowTitle(), withoutMnemonic(fixture.texts->keeltekst(QStringLiteral("about"))));
    const QStringList lines = window->toetajad->toPlainText().split(QLatin1Char('\n'));
    EXPECT_EQ(lines.first(), QStringLiteral("Mari Maasikas"));
    EXPECT_TRUE(lines.contains(QStringLiteral("Jaan Tamm")));
    EXPECT_TRUE(QFileInfo::exists(fixture.folder.file(QStringLiteral("toetajad.txt"))));
    EXPECT_TRUE(window->toetajad->isReadOnly());
    window->cmdOK->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, PatienceMs));

    ASSERT_TRUE(ui(form).updeidid->isEnabled());
    ui(form).updeidid->trigger();
    const QPointer<UpdateWindow> update = form.findChild<UpdateWindow*>(QStringLiteral("update"));
    ASSERT_FALSE(update.isNull());
    EXPECT_TRUE(update->isVisible());
    EXPECT_EQ(update->windowModality(), Qt::ApplicationModal);
    EXPECT_TRUE(QTest::qWaitFor([&] { return update->offersUpdate(); }, PatienceMs));
    update->Command2->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return update.isNull(); }, PatienceMs)) << "unloaded when closed";
}

TEST(AboutBox, OpensWithoutAServerAndSaysTheListFailed) {
    SideWindowFixture side(InterfaceTexts::English);
    AboutWindow window(side.texts, side.downloader, ProgramFolder(side.folder.root()), deadAddress(),
                       nullptr);
    window.show();
    window.load();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.toetajad->toPlainText().isEmpty(); }, PatienceMs));
    EXPECT_EQ(window.toetajad->toPlainText(),
              QStringLiteral("Toetajate nimekirja laadimine Internetist ebaõnnestus"));
    EXPECT_TRUE(window.cmdOK->isEnabled());
}
