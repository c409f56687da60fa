// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "demo_server.h"
#include "download/download_controller.h"
#include "download/run_status_line.h"
#include "form1_fixture.h"
#include "net/chart_names.h"
#include "provider/login_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <qcoro/qcorotask.h>

using namespace Qt::StringLiterals;

namespace {

const QDate Today(2007, 4, 10);

// The real main window against the demo provider, both on the same day.
class ProviderTest : public ::testing::Test {
protected:
    explicit ProviderTest(int latencyMs = 0) {
        demo::ServerOptions options;
        options.now = QDateTime(Today, QTime(12, 0));
        options.latencyMs = latencyMs;
        server = std::make_unique<demo::DemoServer>(options);
        EXPECT_TRUE(server->start(0));
        fixture.folder.write(QStringLiteral("brisel.ini"), testing_support::hostsAt(server->baseUrl()));
        fixture.storeSetting(settings_table::kustutavanad.builtInCaption, 0);
    }

    void remember(const QString& user, const QString& password) {
        fixture.storeSetting(settings_table::QuellanUser.name, user);
        fixture.storeSetting(settings_table::QuellanPassword.name, password);
    }

    int loginRequests() const {
        return static_cast<int>(server->requestedPaths().filter(QStringLiteral("/cg/login/")).size());
    }

    bool checkLogin() { return QCoro::waitFor(fixture.form->providerSession().CheckQuellanlogin()); }

    // The settings of a run of the wind charts alone, in English.
    void fetchOnlyWindCharts() {
        fixture.storeSetting(settings_table::Keel.name, InterfaceTexts::English);
        for (const settings_table::Toggle* toggle :
             {&settings_table::quellanyld, &settings_table::marevo, &settings_table::tsekiuuendusi}) {
            fixture.storeSetting(toggle->builtInCaption, 0);
        }
    }

    // A run over hours 6 to 9 of today, from the button to its end.
    void runToTheEnd() {
        Form1& form = *fixture.form;
        ui(form).Slider1->setSelStart(6);
        ui(form).Slider1->setSelLength(3);
        QSignalSpy finished(&form.downloads(), &DownloadController::runFinished);
        QTest::mouseClick(ui(form).Command2, Qt::LeftButton);
        ASSERT_TRUE(finished.wait(30000));
    }

    QStringList windChartRequests() const {
        return server->requestedPaths().filter(QStringLiteral("/m/EU0"));
    }

    // Acts on the login window once it is shown modally; records that it was.
    void whenLoginShows(std::function<void(LoginWindow*)> act) {
        whenModalShows<LoginWindow>(fixture.form.get(), [this, act](LoginWindow* login) {
            ++loginShown;
            act(login);
            return false;
        });
    }

    Form1Fixture fixture{QDateTime(Today, QTime(12, 0))};
    std::unique_ptr<demo::DemoServer> server;
    int loginShown = 0;
};

// The pair was remembered because the box was ticked: ticked still, the OK keeps the pair the
// provider accepts. A refused try in the window says so and selects the password for another.
TEST_F(ProviderTest, ARefusedRememberedAccountOpensTheWindowFilledInAndStillRemembered) {
    remember(QStringLiteral("demo"), QStringLiteral("wrong"));
    fixture.start();
    QString shownUser;
    QString shownPassword;
    bool shownTicked = false;
    int refusals = 0;
    whenLoginShows([&](LoginWindow* login) {
        shownUser = login->txtUserName->text();
        shownPassword = login->txtPassword->text();
        shownTicked = login->chkRememberPassword->isChecked();
        whenModalShows<QMessageBox>(login, [&refusals](QMessageBox* box) {
            if (box->text() != QStringLiteral("Invalid Password, try again!") ||
                box->windowTitle() != QStringLiteral("Login")) {
                return true;
            }
            ++refusals;
            box->accept();
            return false;
        });
        QTest::mouseClick(login->cmdOK, Qt::LeftButton);
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return refusals == 1 && login->txtPassword->hasSelectedText(); }, 5000));
        EXPECT_EQ(login->txtPassword->selectedText(), QStringLiteral("wrong"));
        QTest::keyClicks(login->txtPassword, QStringLiteral("demo"));
        QTest::mouseClick(login->cmdOK, Qt::LeftButton);
    });
    EXPECT_TRUE(checkLogin());
    EXPECT_EQ(loginShown, 1);
    EXPECT_EQ(refusals, 1);
    EXPECT_EQ(shownUser, QStringLiteral("demo"));
    EXPECT_EQ(shownPassword, QStringLiteral("wrong"));
    EXPECT_TRUE(shownTicked);
    EXPECT_EQ(fixture.stored(settings_table::QuellanUser.name), QVariant(QStringLiteral("demo")));
    EXPECT_EQ(fixture.stored(settings_table::QuellanPassword.name), QVariant(QStringLiteral("demo")));
}

// A server error says nothing of the account: the remembered pair stays, no login window asks for
// another, the run skips the provider's charts and says why, and so does a double-click's login.
TEST_F(ProviderTest, ALoginThatCannotBeFetchedAsksNobodyAndKeepsTheAccount) {
    remember(QStringLiteral("demo"), QStringLiteral("demo"));
    fetchOnlyWindCharts();
    server->setFault(demo::FaultKind::ServerError500, 100, QStringLiteral("/cg/login/"));
    Form1& form = fixture.start();
    whenLoginShows([](LoginWindow* login) { login->reject(); });
    runToTheEnd();
    EXPECT_TRUE(windChartRequests().isEmpty());
    EXPECT_TRUE(ui(form).runStatus->fullText().startsWith(
        u"Provider login failed: HTTP status 500; provider charts and spot forecasts skipped · 0 fetched"_s))
        << ui(form).runStatus->fullText().toStdString();
    EXPECT_FALSE(form.providerSession().refusedThisAction());

    QTest::mouseDClick(ui(form).halo, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return ui(form).runStatus->text() == u"Provider login failed: HTTP status 500"_s; }, 5000))
        << ui(form).runStatus->text().toStdString();
    EXPECT_EQ(loginRequests(), 2);
    EXPECT_TRUE(windChartRequests().isEmpty());
    EXPECT_EQ(loginShown, 0);
    EXPECT_EQ(fixture.stored(settings_table::QuellanUser.name), QVariant(QStringLiteral("demo")));
    EXPECT_EQ(fixture.stored(settings_table::QuellanPassword.name), QVariant(QStringLiteral("demo")));
}

// From the window's OK, in the interface language; the window stays for the next try.
TEST_F(ProviderTest, OKWithALoginThatCannotBeFetchedSaysWhyAndKeepsTheWindowOpen) {
    fixture.storeSetting(settings_table::Keel.name, InterfaceTexts::Latvian);
    server->setFault(demo::FaultKind::ServerError500, 100, QStringLiteral("/cg/login/"));
    Form1& form = fixture.start();
    QStringList boxesSaid;
    whenModalShows<QMessageBox>(&form, [&boxesSaid](QMessageBox* box) {
        boxesSaid << box->text();
        box->accept();
        return true;
    });
    bool openAfterwards = false;
    whenLoginShows([&](LoginWindow* login) {
        login->txtUserName->setText(QStringLiteral("demo"));
        login->txtPassword->setText(QStringLiteral("demo"));
        QTest::mouseClick(login->cmdOK, Qt::LeftButton);
        openAfterwards = QTest::qWaitFor(
            [&] { return !boxesSaid.isEmpty() && QApplication::activeModalWidget() == login; }, 5000);
        server->setFault(demo::FaultKind::None, 0);
        QTest::mouseClick(login->cmdOK, Qt::LeftButton);
    });
    EXPECT_TRUE(checkLogin());
    EXPECT_EQ(boxesSaid, QStringList{u"Pieteikšanās nodrošinātājam neizdevās: HTTP statuss 500"_s});
    EXPECT_TRUE(openAfterwards);
    EXPECT_EQ(loginRequests(), 2);
}

TEST_F(ProviderTest, ACancelHoldsForTheActionAndTheNextActionAsksAgain) {
    fixture.start();
    whenLoginShows([](LoginWindow* login) { QTest::keyClick(login, Qt::Key_Escape); });
    EXPECT_FALSE(checkLogin());
    EXPECT_FALSE(checkLogin());
    EXPECT_EQ(loginShown, 1);
    EXPECT_EQ(loginRequests(), 0);
    // The next action: the account is typed, "Remember password" left unticked.
    fixture.form->providerSession().actionEnded();
    whenLoginShows([](LoginWindow* login) {
        login->txtUserName->clear();
        QTest::keyClicks(login->txtUserName, QStringLiteral("demo"));
        QTest::keyClicks(login->txtPassword, QStringLiteral("demo"));
        QTest::keyClick(login->txtPassword, Qt::Key_Return);
    });
    EXPECT_TRUE(checkLogin());
    EXPECT_EQ(loginShown, 2);
    EXPECT_EQ(fixture.stored(settings_table::QuellanUser.name), QVariant(QString()));
    EXPECT_EQ(fixture.stored(settings_table::QuellanPassword.name), QVariant(QString()));
}

TEST_F(ProviderTest, ADoubleClickedMarkerFetchesItsSpotsMeteograms) {
    remember(QStringLiteral("demo"), QStringLiteral("demo"));
    fixture.folder.write(QStringLiteral("spots.ini"),
                         "[Tartu]\nlon=26.729\nlat=58.378\nelev=57\n[Pärnu]\nlon=24.5\nlat=58.38\nelev=3\n");
    Form1& form = fixture.start();
    QSignalSpy chart(ui(form).halo, &PictureBox::doubleClicked);
    QTest::mouseDClick(ui(form).Spot[1], Qt::LeftButton);
    EXPECT_EQ(chart.count(), 0);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return ui(form).linn->currentText() == QStringLiteral("Pärnu"); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !ui(form).halograaf3->pixmap().isNull(); }, 5000));
    QStringList pictures = QDir(fixture.folder.chartFolder()).entryList({QStringLiteral("*Pärnu.gif")});
    EXPECT_EQ(pictures.size(), 7);
    EXPECT_TRUE(pictures.contains(spotPictureFile(Today, QStringLiteral("Pärnu"))));
    EXPECT_TRUE(server->requestedPaths().filter(QStringLiteral("lon=24.5&lat=58.38&elev=3&")).size() == 1);
    EXPECT_FALSE(form.providerSession().refusedThisAction());
    // The marker took the double-click: the chart under it fetched nothing and logged in no more.
    QTest::qWait(200);
    EXPECT_TRUE(server->requestedPaths().filter(QStringLiteral("/m/EU0")).isEmpty());
    EXPECT_EQ(loginRequests(), 1);
    // Pointing at the other marker shows its stored pictures, none: the panel empties.
    QTest::mouseMove(ui(form).Spot[0]);
    EXPECT_EQ(ui(form).linn->currentText(), QStringLiteral("Tartu"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return ui(form).halograaf1->pixmap().isNull(); }, 5000));
}

// The answer to an OK that comes after Esc changes nothing: the action was cancelled, and the
// pair the user did not get to confirm is not remembered.
class SlowProviderTest : public ProviderTest {
protected:
    SlowProviderTest() : ProviderTest(300) {}
};

TEST_F(SlowProviderTest, AnAnswerAfterCancelIsDropped) {
    fixture.start();
    whenLoginShows([](LoginWindow* login) {
        login->txtUserName->setText(QStringLiteral("demo"));
        login->txtPassword->setText(QStringLiteral("demo"));
        login->chkRememberPassword->setChecked(true);
        QTest::keyClick(login->txtPassword, Qt::Key_Return);
        QTimer::singleShot(50, login, [login] { QTest::keyClick(login, Qt::Key_Escape); });
    });
    EXPECT_FALSE(checkLogin());
    ASSERT_TRUE(QTest::qWaitFor([&] { return loginRequests() == 1; }, 5000));
    QTest::qWait(600);
    EXPECT_FALSE(fixture.stored(settings_table::QuellanUser.name).isValid());
    EXPECT_FALSE(fixture.form->providerSession().loggedIn());
    auto* login = fixture.form->findChild<LoginWindow*>();
    ASSERT_NE(login, nullptr);
    EXPECT_FALSE(login->LoginSucceeded);
    EXPECT_TRUE(login->cmdOK->isEnabled());
}

// On a slow link Enter pressed again while the login is checked does nothing more: the account
// the provider accepts goes on into the run, which fetches the provider's charts. Until then the
// status line says that the run waits for the login.
TEST_F(SlowProviderTest, EnterTwiceLogsInAndTheRunFetchesTheProviderCharts) {
    fetchOnlyWindCharts();
    Form1& form = fixture.start();
    QString waiting;
    whenLoginShows([&](LoginWindow* login) {
        waiting = ui(form).runStatus->fullText();
        login->txtUserName->setText(QStringLiteral("demo"));
        login->txtPassword->setText(QStringLiteral("demo"));
        login->cmdOK->setFocus();
        QTest::keyClick(login->focusWidget(), Qt::Key_Return);
        QTest::keyClick(login->focusWidget(), Qt::Key_Return);
    });
    runToTheEnd();
    EXPECT_EQ(loginShown, 1);
    EXPECT_TRUE(waiting.startsWith(u"Waiting for the provider login · 0 fetched"_s)) << waiting.toStdString();
    EXPECT_TRUE(form.providerSession().loggedIn());
    EXPECT_EQ(windChartRequests().size(), 2);
    EXPECT_EQ(loginRequests(), 1);
}

// The meteogram pictures' double-click fetches every spot once, as one action: a second
// double-click while it runs starts nothing, and a window closed mid-way takes the rest with it.
TEST_F(SlowProviderTest, AMeteogramDoubleClickFetchesEverySpotOnce) {
    remember(QStringLiteral("demo"), QStringLiteral("demo"));
    fixture.folder.write(QStringLiteral("spots.ini"),
                         "[Tartu]\nlon=26.729\nlat=58.378\nelev=57\n[Pärnu]\nlon=24.5\nlat=58.38\nelev=3\n");
    Form1& form = fixture.start();
    const auto spotRequests = [this](const QString& place) {
        return server->requestedPaths().filter(place).size();
    };
    QTest::mouseDClick(ui(form).halograaf1, Qt::LeftButton);
    QTest::mouseDClick(ui(form).halograaf2, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !ui(form).halograaf1->pixmap().isNull(); }, 10000));
    QTest::qWait(400);
    EXPECT_EQ(spotRequests(u"lat=58.378&"_s), 1);
    EXPECT_EQ(spotRequests(u"lat=58.38&"_s), 1);
    EXPECT_EQ(loginRequests(), 1);

    QTest::mouseDClick(ui(form).halograaf1, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return spotRequests(u"lat=58.378&"_s) == 2; }, 5000));
    fixture.close();
    QTest::qWait(1000);
    EXPECT_LE(spotRequests(u"lat=58.38&"_s), 2);
}

// A captive portal answers every address with its own page, 200 OK.
TEST_F(ProviderTest, APortalPageNeverReplacesAStoredReplyNorItsPictures) {
    remember(QStringLiteral("demo"), QStringLiteral("demo"));
    fixture.folder.write(QStringLiteral("spots.ini"), "[Tartu]\nlon=26.729\nlat=58.378\nelev=57\n");
    Form1& form = fixture.start();
    const auto storedFiles = [this] {
        QHash<QString, QByteArray> files;
        const QDir folder(fixture.folder.chartFolder());
        for (const QString& name : folder.entryList(QDir::Files)) {
            QFile file(folder.filePath(name));
            EXPECT_TRUE(file.open(QIODevice::ReadOnly));
            files.insert(name, file.readAll());
        }
        return files;
    };
    QCoro::waitFor(form.downloads().LoeQuellanSpot(QStringLiteral("Tartu")));
    const QHash<QString, QByteArray> before = storedFiles();
    ASSERT_TRUE(before.value(spotReplyFile(QStringLiteral("Tartu"))).contains("<date>"));
    server->setFault(demo::FaultKind::Portal, 100);
    const int requestsBefore = server->requestCount();
    QCoro::waitFor(form.downloads().LoeQuellanSpot(QStringLiteral("Tartu")));
    EXPECT_GT(server->requestCount(), requestsBefore);
    EXPECT_EQ(storedFiles(), before);
}

TEST_F(ProviderTest, ThePanelShowsTodayAndTheTwoDaysAfterAndMovesOnAtMidnight) {
    fixture.folder.write(QStringLiteral("spots.ini"), "[Tartu]\nlon=26.729\nlat=58.378\nelev=57\n");
    const QPixmap picture(QStringLiteral(":/data/pictures/meteogram_strip.png"));
    for (const int day : {1, 3}) {
        picture.save(chartPath(fixture.folder.chartFolder(), spotPictureFile(Today.addDays(day), u"Tartu"_s)),
                     "PNG");
    }
    Form1& form = fixture.start();
    QCoro::waitFor(form.meteograms().halograafikud());
    EXPECT_TRUE(ui(form).halograaf1->pixmap().isNull());
    EXPECT_FALSE(ui(form).halograaf2->pixmap().isNull());
    EXPECT_TRUE(ui(form).halograaf3->pixmap().isNull());
    fixture.clock.set(QDateTime(Today.addDays(1), QTime(0, 1)));
    QCoro::waitFor(form.meteograms().halograafikud());
    EXPECT_FALSE(ui(form).halograaf1->pixmap().isNull());
    EXPECT_TRUE(ui(form).halograaf2->pixmap().isNull());
    EXPECT_FALSE(ui(form).halograaf3->pixmap().isNull());
}

} // namespace
