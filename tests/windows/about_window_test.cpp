// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The about box: version, captions and the supporters list from the home site.
#include "side_window_fixture.h"
#include "windows/about_window.h"
#include "windows/program_version.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace side_windows_test;

namespace {

// Opens the box on the given home site and waits for its list.
std::unique_ptr<AboutWindow> loadedAboutBox(SideWindowFixture& side, const QUrl& home) {
    auto window = std::make_unique<AboutWindow>(side.texts, side.downloader,
                                                ProgramFolder(side.folder.root()), home, nullptr);
    window->show();
    window->load();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->toetajad->toPlainText().isEmpty(); }, PatienceMs));
    return window;
}

} // namespace

TEST(AboutBox, ShowsTheVersionAndTheFetchedSupporters) {
    const auto server = startServer();
    SideWindowFixture side(InterfaceTexts::English);
    const auto window = loadedAboutBox(side, server->baseUrl());
    EXPECT_EQ(window->lblVersion->text(), QStringLiteral("Version ") + runningVersionText());
    EXPECT_EQ(window->lblTitle->text(), QStringLiteral("Brisel"));
    EXPECT_EQ(window->Label1->text(), QStringLiteral("Supporters:"));
    EXPECT_EQ(window->windowTitle(), withoutMnemonic(side.texts.keeltekst(QStringLiteral("about"))));
    const QStringList lines = window->toetajad->toPlainText().split(QLatin1Char('\n'));
    EXPECT_EQ(lines.first(), QStringLiteral("Mari Maasikas"));
    EXPECT_TRUE(lines.contains(QStringLiteral("Purjeklubi Kalev")));
    EXPECT_TRUE(QFileInfo::exists(side.folder.file(QStringLiteral("toetajad.txt"))));
    EXPECT_TRUE(window->toetajad->isReadOnly());
}

TEST(AboutBox, OpensWithoutAServerAndSaysTheListFailed) {
    SideWindowFixture side(InterfaceTexts::English);
    const auto window = loadedAboutBox(side, deadAddress());
    EXPECT_EQ(window->toetajad->toPlainText(),
              QStringLiteral("Toetajate nimekirja laadimine Internetist ebaõnnestus"));
    EXPECT_TRUE(window->cmdOK->isEnabled());
}

TEST(AboutBox, OpensModalFromTheMenuAndClosesWithOk) {
    const auto server = startServer();
    Form1Fixture fixture;
    fixture.folder.write(QStringLiteral("brisel.ini"), testing_support::hostsAt(server->baseUrl()));
    Form1& form = fixture.start();
    ASSERT_TRUE(ui(form).about->isEnabled());
    ui(form).about->trigger();
    const QPointer<AboutWindow> window = form.findChild<AboutWindow*>(QStringLiteral("frmAbout"));
    ASSERT_FALSE(window.isNull());
    EXPECT_EQ(window->windowModality(), Qt::ApplicationModal);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return window->toetajad->toPlainText().contains(QStringLiteral("Jaan Tamm")); }, PatienceMs));
    window->cmdOK->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, PatienceMs));
}
