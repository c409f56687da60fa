// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The update window against the demo home site: the check, its translations, the updater started
// only when its signature holds, and the home page in its place for a packaged program.
#include "side_window_fixture.h"
#include "windows/program_version.h"
#include "windows/update_window.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace side_windows_test;

namespace {

const QString EstonianHeading = QStringLiteral("UUENDUSED peale teie programmi versiooni");
const QString EstonianLatest = QStringLiteral("Kasutuses on uusim versioon");

class UpdateWindowTest : public ::testing::Test {
protected:
    void openWindow(const demo::ServerOptions& options, const QString& keel = InterfaceTexts::Estonian,
                    const QString& publicKey = demo::demoUpdaterPublicKey()) {
        server = startServer(options);
        openWindowAt(server->baseUrl(), keel, publicKey);
    }

    void openWindowAt(const QUrl& home, const QString& keel, const QString& publicKey = {}) {
        side.texts.setLanguage(keel);
        window = new UpdateWindow({ProgramFolder(side.folder.root()), side.texts, side.downloader, side.shell,
                                   home, publicKey, [this] { ++programEnds; }, fetchesUpdater},
                                  nullptr);
        window->show();
        const QString designText = window->Text1->toPlainText();
        window->load();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->Text1->toPlainText() != designText; }, PatienceMs));
    }

    static demo::ServerOptions offering() {
        demo::ServerOptions options;
        options.latestVersion = runningVersionNumber() + 1;
        return options;
    }

    QMessageBox* waitForMessage() const {
        QMessageBox* box = nullptr;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                box = window->findChild<QMessageBox*>();
                return box && box->isVisible();
            },
            PatienceMs));
        return box;
    }

    QString updater() const { return side.folder.file(QStringLiteral("uuendus.exe")); }

    void TearDown() override { delete window.data(); }

    SideWindowFixture side;
    std::unique_ptr<demo::DemoServer> server;
    QPointer<UpdateWindow> window;
    int programEnds = 0;
    bool fetchesUpdater = true;
};

} // namespace

// An offer in Estonian is shown by lines as the home site wrote it; taking it fetches the updater,
// which starts when its signature holds, and the program ends.
TEST_F(UpdateWindowTest, AnOfferIsShownAndItsAuthenticUpdaterStarted) {
    openWindow(offering());
    EXPECT_EQ(server->requestedPaths(),
              QStringList{QStringLiteral("/brl/uuendused.php3?ver=%1").arg(runningVersionNumber())});
    const QString shown = window->Text1->toPlainText();
    EXPECT_TRUE(shown.startsWith(EstonianHeading)) << qPrintable(shown);
    EXPECT_TRUE(shown.contains(QStringLiteral("- Spotide prognoosid ka Liepaja kohta")));
    EXPECT_TRUE(window->Command1->isEnabled());
    EXPECT_TRUE(window->offersUpdate());
    EXPECT_TRUE(QFileInfo::exists(side.folder.file(QStringLiteral("verinfo.txt"))));
    EXPECT_EQ(window->Label1->text(), side.texts.keeltekst(QStringLiteral("currentversion")) +
                                          QLatin1Char(' ') + runningVersionText());
    EXPECT_EQ(window->windowTitle(), withoutMnemonic(side.texts.keeltekst(QStringLiteral("updates"))));
    EXPECT_TRUE(window->Text1->isReadOnly());
    window->Command1->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !side.shell.started.isEmpty(); }, PatienceMs));
    EXPECT_EQ(side.shell.started, QList<QStringList>{QStringList{updater()}});
    EXPECT_EQ(programEnds, 1);
    const QFileInfo started(updater());
    EXPECT_TRUE(started.isExecutable());
    EXPECT_TRUE(started.isAbsolute());
    EXPECT_FALSE(QFileInfo::exists(updater() + QStringLiteral(".sig")));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the hourglass is gone";
}

TEST_F(UpdateWindowTest, TheLatestVersionOrAFailedCheckOffersNothing) {
    demo::ServerOptions latest;
    latest.latestVersion = runningVersionNumber();
    openWindow(latest);
    EXPECT_EQ(window->Text1->toPlainText().trimmed(), EstonianLatest);
    EXPECT_FALSE(window->offersUpdate());
    delete window.data();

    openWindowAt(server->baseUrl(), InterfaceTexts::English);
    EXPECT_EQ(window->Text1->toPlainText().trimmed(), side.texts.keeltekst(QStringLiteral("runninglatest")));
    EXPECT_FALSE(window->offersUpdate());
    EXPECT_FALSE(window->Command1->isEnabled());
    EXPECT_EQ(window->Command1->text(), QStringLiteral("Download update"));
    delete window.data();

    openWindowAt(deadAddress(), InterfaceTexts::Latvian);
    EXPECT_EQ(window->Text1->toPlainText(), QStringLiteral("Failed to download update info"))
        << "a failed check says so in English whatever the language";
    EXPECT_FALSE(window->offersUpdate());
}

// A tampered updater, and one signed by the demo's key where no key is configured so that only
// the release key counts, are deleted with their signature, over an older updater, and never
// started; the window says so and can be used again.
TEST_F(UpdateWindowTest, AnUpdaterWithoutAValidSignatureIsDeletedAndNeverStarted) {
    const struct {
        const char* what;
        bool tampered;
        QString publicKey;
    } cases[] = {{"tampered", true, demo::demoUpdaterPublicKey()}, {"no configured key", false, QString()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        side.folder.write(QStringLiteral("uuendus.exe"), QByteArrayLiteral("an old updater"));
        demo::ServerOptions options = offering();
        options.tamperUpdater = c.tampered;
        openWindow(options, InterfaceTexts::Estonian, c.publicKey);
        window->Command1->click();
        EXPECT_FALSE(window->Command1->isEnabled()) << "disabled while the updater is on its way";
        QMessageBox* box = waitForMessage();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), QStringLiteral("Ei õnnestunud uuendust laadida"));
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Brisel"));
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        EXPECT_EQ(requestsStartingWith(*server, QStringLiteral("/brl/uuendus.exe")).size(), 2);
        EXPECT_FALSE(QFileInfo::exists(updater()));
        EXPECT_FALSE(QFileInfo::exists(updater() + QStringLiteral(".sig")));
        EXPECT_TRUE(side.shell.started.isEmpty());
        EXPECT_EQ(programEnds, 0);

        box->button(QMessageBox::Ok)->click();
        EXPECT_TRUE(window->Command1->isEnabled());
        EXPECT_TRUE(window->Command2->isEnabled());
        delete window.data();
    }
}

TEST_F(UpdateWindowTest, PackagedProgramOpensTheHomePageInsteadOfFetchingAnUpdater) {
    fetchesUpdater = false;
    openWindow(offering());
    EXPECT_TRUE(window->Command1->isEnabled()) << "it still says that a newer version exists";
    window->Command1->click();
    EXPECT_EQ(side.shell.openedUrls, QList<QUrl>{server->baseUrl()});
    EXPECT_TRUE(requestsStartingWith(*server, QStringLiteral("/brl/uuendus.exe")).isEmpty());
    EXPECT_TRUE(side.shell.started.isEmpty());
    EXPECT_EQ(programEnds, 0);
}
