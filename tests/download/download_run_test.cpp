// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The download run end to end: the real main window against the demo services, for a clock that
// stands still, checking the files in the chart folder and the requests the services received.
#include "demo_server.h"
#include "download/connect_download.h"
#include "form1_fixture.h"
#include "net/chart_names.h"
#include "platform/program_folder.h"
#include "provider/login_window.h"
#include "viewer/time_slider.h"
#include "windows/program_version.h"
#include "windows/update_window.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolTip>
#include <functional>
#include <gtest/gtest.h>
#include <qcoro/qcorosignal.h>
#include <qcoro/qcorotask.h>
#include <qcoro/qcorotimer.h>

namespace {

const QDate Today(2007, 4, 10);

struct LoggedRequest {
    QString path;
    int status = 0;
};

class RunTest : public ::testing::Test {
protected:
    explicit RunTest(QTime now = QTime(12, 0), std::function<void(demo::ServerOptions&)> tune = {})
        : fixture(QDateTime(Today, now)) {
        demo::ServerOptions options;
        options.now = QDateTime(Today, now);
        options.latestVersion = 1000000;
        options.logFile = logDir.filePath(QStringLiteral("requests.log"));
        if (tune) {
            tune(options);
        }
        server = std::make_unique<demo::DemoServer>(options);
        EXPECT_TRUE(server->start(0));
        base = server->baseUrl();
        // One connection: the requests reach the services one by one, in the run's own order,
        // which these tests read from the services' log.
        fixture.folder.write(QStringLiteral("brisel.ini"),
                             testing_support::hostsAt(base) + "[download]\nconnections=1\n");
        fixture.folder.write(
            QStringLiteral("spots.ini"),
            "[Tartu]\nlon=26.729\nlat=58.378\nelev=57\n[Pärnu]\nlon=24.5\nlat=58.385\nelev=3\n");
        fixture.storeSetting(settings_table::kustutavanad.builtInCaption, 0);
        fixture.storeSetting(settings_table::QuellanUser.name, QStringLiteral("demo"));
        fixture.storeSetting(settings_table::QuellanPassword.name, QStringLiteral("demo"));
    }

    void tick(const settings_table::Toggle& toggle, bool on) {
        fixture.storeSetting(toggle.builtInCaption, on ? 1 : 0);
    }

    // Closes every dialog the window raises modally, as a user pressing Esc would, and counts them.
    void rejectEveryDialog() {
        whenModalShows<QDialog>(fixture.form.get(), [this](QDialog* dialog) {
            ++dialogsRejected;
            dialog->reject();
            return true;
        });
    }
    int dialogsRejected = 0;

    // Presses the download button and waits for the window to be idle again.
    void runToTheEnd() {
        QSignalSpy finished(&fixture.form->downloads(), &DownloadController::runFinished);
        QTest::mouseClick(ui(*fixture.form).Command2, Qt::LeftButton);
        ASSERT_TRUE(finished.wait(60000));
    }

    QStringList storedFiles() const {
        QStringList files = QDir(fixture.folder.chartFolder()).entryList(QDir::Files);
        files.sort();
        return files;
    }

    QList<LoggedRequest> requests() const {
        QList<LoggedRequest> logged;
        QFile log(logDir.filePath(QStringLiteral("requests.log")));
        if (log.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : log.readAll().split('\n')) {
                const QList<QByteArray> fields = line.split(' ');
                if (fields.size() == 4) {
                    logged.append({QString::fromUtf8(fields[1]), fields[2].toInt()});
                }
            }
        }
        return logged;
    }

    // What the status line shows, as it stands, and what it would show were it wide enough.
    static bool showsWhole(const RunStatusLine* line) { return line->text() == line->fullText(); }

    QStringList requestedPaths(const QString& containing) const {
        return server->requestedPaths().filter(containing);
    }

    static QString pathOf(const QUrl& url) {
        return QString::fromUtf8(url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority));
    }

    QString windChartPath(int hour, int choice = 0) const {
        const SliderMoment moment = sliderMoment(Today, hour - 2);
        return pathOf(halourl(base, Today, moment.date, moment.hour, choice, QStringLiteral("w")));
    }
    static QString windChartFile(int hour) {
        const SliderMoment moment = sliderMoment(Today, hour - 2);
        return halofail(QString(), moment.date, moment.hour, 0, QStringLiteral("w")).section(u'/', -1);
    }
    QString mapPath(int hour, const QString& code) const {
        return pathOf(sailingMap(base, Today, hour, code).url);
    }
    static QString mapFile(int hour, const QString& code) {
        return sailingMap(QUrl(), Today, hour, code).fileName;
    }

    // The chart requests of a run, in the order they were made.
    QStringList chartRequests() const {
        return server->requestedPaths().filter(QRegularExpression(QStringLiteral("^/(m|daten)/")));
    }

    QTemporaryDir logDir;
    Form1Fixture fixture;
    std::unique_ptr<demo::DemoServer> server;
    QUrl base;
};

TEST_F(RunTest, TheDefaultsFetchTheWholeSliderByThreeHours) {
    tick(settings_table::aintmärgitud, false);
    fixture.start();
    runToTheEnd();

    QStringList expectedFiles{QStringLiteral("quellan.txt"), QStringLiteral("Tartu.xml"),
                              QStringLiteral("Pärnu.xml")};
    QStringList expectedCharts;
    for (int day = 0; day < 7; ++day) {
        expectedFiles << spotPictureFile(Today.addDays(day), QStringLiteral("Tartu"))
                      << spotPictureFile(Today.addDays(day), QStringLiteral("Pärnu"));
    }
    for (int hour = 0; hour <= 168; hour += 3) {
        expectedFiles << mapFile(hour, MainlandMapCode) << mapFile(hour, IslandsMapCode);
        expectedCharts << mapPath(hour, MainlandMapCode) << mapPath(hour, IslandsMapCode);
        if (hour <= 74) {
            expectedFiles << windChartFile(hour);
            expectedCharts << windChartPath(hour);
        }
    }
    expectedFiles.sort();
    EXPECT_EQ(storedFiles(), expectedFiles);
    EXPECT_EQ(chartRequests(), expectedCharts);
    EXPECT_EQ(requestedPaths(QStringLiteral("/brl/uuendused.php3?ver=1000000")).size(), 1);
    EXPECT_EQ(requestedPaths(QStringLiteral("/cg/login/")).size(), 1);
    EXPECT_EQ(requestedPaths(QStringLiteral("/cg/mgx?")).size(), 2);
    EXPECT_EQ(requests().size(), 1 + 1 + 2 + 14 + expectedCharts.size());
    for (const LoggedRequest& request : requests()) {
        EXPECT_EQ(request.status, 200) << request.path.toStdString();
    }
    // Idle again, on the last hour fetched.
    const Form1& form = *fixture.form;
    EXPECT_EQ(ui(form).Command2->text(), fixture.texts->keeltekst(QStringLiteral("startdl")));
    EXPECT_TRUE(ui(form).Command2->isEnabled());
    EXPECT_TRUE(ui(form).ProgressBar1->isHidden());
    EXPECT_EQ(ui(form).Slider1->value(), 168);

    // The status line says what the run did, in the language of the moment; the log has a line
    // for every request the services received, the update check's and the login's among them (the
    // headless run reads what each line says).
    ui(form).english->trigger();
    const QString said = ui(form).runStatus->text();
    EXPECT_TRUE(
        QRegularExpression(
            QStringLiteral("^%1 fetched, 0 unchanged, 0 failed in \\d+ s$").arg(expectedFiles.size() - 1))
            .match(said)
            .hasMatch())
        << said.toStdString();
    QFile log(lastRunLogFile());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readAll().count('\n'), requests().size());
}

// Each request takes a while, so the test can press Stop while one is on its way.
class SlowServiceTest : public RunTest {
protected:
    SlowServiceTest() : RunTest(QTime(12, 0), [](demo::ServerOptions& o) { o.latencyMs = 150; }) {}

    void pressStopWhen(std::function<bool()> condition) {
        ASSERT_TRUE(QTest::qWaitFor(condition, 30000));
        requestsAtStop = server->requestCount();
        QTest::mouseClick(ui(*fixture.form).Command2, Qt::LeftButton);
        EXPECT_FALSE(ui(*fixture.form).Command2->isEnabled());
    }
    int requestsAtStop = 0;
};

// A Stop in the spot stage skips the charts; in a second run, without the spots, a Stop pressed
// while the second family of an hour is on its way lets nothing after it be asked for.
TEST_F(SlowServiceTest, AStopEndsTheRunAfterTheFilesOnTheirWay) {
    tick(settings_table::tsekiuuendusi, false);
    tick(settings_table::pilvisus, true);
    tick(settings_table::sademed, true);
    Form1& form = fixture.start();
    ui(form).english->trigger();
    QSignalSpy finished(&form.downloads(), &DownloadController::runFinished);
    QTest::mouseClick(ui(form).Command2, Qt::LeftButton);
    pressStopWhen([&] { return server->requestedPaths().filter(QStringLiteral("/cg/mgx?")).size() == 1; });
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_TRUE(chartRequests().isEmpty());
    // The reply on its way was finished and kept; its days would be new requests, and none starts
    // after the Stop.
    EXPECT_TRUE(QFile::exists(fixture.folder.chartFolder() + spotReplyFile(QStringLiteral("Tartu"))));
    EXPECT_TRUE(requestedPaths(QStringLiteral("/cg/pics/")).isEmpty());
    EXPECT_TRUE(requestedPaths(QStringLiteral("lon=24.5")).isEmpty());
    EXPECT_TRUE(ui(form).Command2->isEnabled());
    QString said = ui(form).runStatus->fullText();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Stopped after [01] of 2 spots: 1 fetched, 0 unchanged, "
                                                  "0 failed in \\d+ s$"))
                    .match(said)
                    .hasMatch())
        << said.toStdString();

    ui(form).quellanyld->setChecked(false);
    ui(form).marevo->setChecked(false);
    QSignalSpy hours(&form.downloads(), &DownloadController::hourFetched);
    QTest::mouseClick(ui(form).Command2, Qt::LeftButton);
    pressStopWhen([&] { return server->requestedPaths().filter(QStringLiteral("/m/EU0")).size() >= 2; });
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_EQ(server->requestCount(), requestsAtStop);
    EXPECT_EQ(storedFiles().filter(QStringLiteral("HALO")).size(), 2);
    EXPECT_EQ(storedFiles().filter(QStringLiteral("HALOpilv")).size(), 1);
    // The summary says how far the run got: the hours told before the Stop, of the marked
    // period's hours by three.
    said = ui(form).runStatus->fullText();
    EXPECT_TRUE(
        said.startsWith(QStringLiteral("Stopped after %1 of %2 hours: 2 fetched, 0 unchanged, 0 failed in ")
                            .arg(hours.count())
                            .arg(ui(form).Slider1->selLength() / 3 + 1)))
        << said.toStdString();
}

// The second click of a double-click comes while the update answer is awaited: one run, and it
// runs to its end with the button idle only then. The marked period is moved to start on a
// three-hour slot, and without three-hour steps every hour of it is visited.
TEST_F(SlowServiceTest, ADoubleClickOnTheButtonStartsOneRunFromAThreeHourSlot) {
    tick(settings_table::quellan3h, false);
    tick(settings_table::quellanyld, false);
    Form1& form = fixture.start();
    ui(form).Slider1->setSelStart(7);
    ui(form).Slider1->setSelLength(10);
    QSignalSpy finished(&form.downloads(), &DownloadController::runFinished);
    doubleClickAsAUserDoes(ui(form).Command2);
    ASSERT_TRUE(finished.wait(30000));
    QTest::qWait(400);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(requestedPaths(QStringLiteral("/brl/")).size(), 1);
    EXPECT_EQ(ui(form).Command2->text(), fixture.texts->keeltekst(QStringLiteral("startdl")));
    EXPECT_EQ(ui(form).Slider1->selStart(), 6);
    EXPECT_EQ(ui(form).Slider1->selLength(), 11);
    const QString tuesday = fixture.texts->npaev(Today);
    EXPECT_EQ(ui(form).periood->text(),
              tuesday + QStringLiteral(" 10.04 06:00 - ") + tuesday + QStringLiteral(" 10.04 17:00"));
    QStringList expected;
    for (int hour = 6; hour <= 17; ++hour) {
        if (hour % 3 == 0) {
            expected << mapPath(hour, MainlandMapCode) << mapPath(hour, IslandsMapCode);
        }
        expected << windChartPath(hour);
    }
    EXPECT_EQ(chartRequests(), expected);
    EXPECT_TRUE(requestedPaths(QStringLiteral("/cg/mgx")).isEmpty());
}

// One action at a time: deleting every chart is not offered while a run fetches, and while its
// question, asked in the interface language, is open no run starts. No deletes nothing; Yes spares
// the spots' replies and the login's answer.
TEST_F(SlowServiceTest, DeletingAllChartsAsksFirstWaitsForNoRunAndLetsNoneStart) {
    tick(settings_table::tsekiuuendusi, false);
    tick(settings_table::quellanyld, false);
    fixture.folder.write(QStringLiteral("kaardid/Tartu.xml"), "x");
    Form1& form = fixture.start();
    fixture.find<QAction>(QStringLiteral("läti"))->trigger();
    ui(form).Slider1->setSelStart(6);
    ui(form).Slider1->setSelLength(3);
    QStringList questions;
    QTimer answer;
    const auto answerWith = [&](QMessageBox::StandardButton button, std::function<void()> first) {
        QObject::disconnect(&answer, nullptr, nullptr, nullptr);
        QObject::connect(&answer, &QTimer::timeout, [&questions, button, first] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                questions << box->windowTitle() + u'|' + box->text() + u'|' +
                                 box->button(QMessageBox::Yes)->text() + u'|' +
                                 box->button(QMessageBox::No)->text();
                first();
                box->button(button)->click();
            }
        });
        answer.start(10);
    };
    answerWith(QMessageBox::No, [] {});
    QSignalSpy finished(&form.downloads(), &DownloadController::runFinished);
    QTest::mouseClick(ui(form).Command2, Qt::LeftButton);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !storedFiles().filter(QStringLiteral(".gif")).isEmpty(); }, 10000));
    EXPECT_FALSE(ui(form).kustuta->isEnabled());
    ui(form).kustuta->trigger();
    form.downloads().kustuta_Click();
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_EQ(storedFiles().filter(QStringLiteral(".gif")).size(), 6);
    EXPECT_TRUE(ui(form).kustuta->isEnabled());

    const QStringList afterTheRun = storedFiles();
    const int requestsBefore = server->requestCount();
    ui(form).kustuta->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return questions.size() == 1 && form.downloads().idle(); }, 10000));
    EXPECT_EQ(storedFiles(), afterTheRun);
    std::optional<DownloadController::RunState> whileAsked;
    answerWith(QMessageBox::Yes, [&] {
        form.downloads().startUnattended();
        whileAsked = form.downloads().state();
    });
    ui(form).kustuta->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return questions.size() == 2 && form.downloads().idle(); }, 10000));
    EXPECT_EQ(whileAsked, DownloadController::RunState::Idle);
    EXPECT_EQ(storedFiles(), QStringList({QStringLiteral("Tartu.xml"), QStringLiteral("quellan.txt")}));
    const auto text = [this](const char* key) {
        return fixture.texts->keeltekst(QString::fromLatin1(key));
    };
    EXPECT_EQ(questions, QStringList(2, QStringLiteral("Brisel|") + text("deleteconf") + u'|' + text("yes") +
                                            u'|' + text("no")));
    QTest::qWait(200);
    EXPECT_EQ(server->requestCount(), requestsBefore);
}

// Closed while the update answer is on its way, the answer, when it comes, starts nothing; closed
// while a file is, nothing more is asked for and no partial file is left. Either way the settings
// are saved.
TEST_F(SlowServiceTest, ClosingDuringARunStartsNothingMoreAndLeavesNoPartialFile) {
    for (const bool updateCheck : {true, false}) {
        SCOPED_TRACE(updateCheck ? "during the update check" : "during the run's first file");
        tick(settings_table::tsekiuuendusi, updateCheck);
        tick(settings_table::quellanyld, false);
        Form1& form = fixture.start();
        ui(form).temp->setChecked(updateCheck);
        const int before = server->requestCount();
        QTest::mouseClick(ui(form).Command2, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return server->requestCount() > before; }, 10000));
        fixture.close();
        EXPECT_EQ(fixture.stored(settings_table::temp.builtInCaption), QVariant(updateCheck ? 1 : 0));
        QTest::qWait(500);
        EXPECT_EQ(server->requestCount(), before + 1);
        EXPECT_TRUE(QDir(fixture.folder.chartFolder()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }
}

// Taking the update from the run's update window ends the program for the updater: nothing of
// the run follows, neither the login nor a chart.
class UpdateOfferedTest : public RunTest {
protected:
    UpdateOfferedTest()
        : RunTest(QTime(12, 0),
                  [](demo::ServerOptions& o) { o.latestVersion = runningVersionNumber() + 1; }) {
        fixture.folder.write(QStringLiteral("brisel.ini"),
                             testing_support::hostsAt(base) +
                                 "[update]\npubkey=" + demo::demoUpdaterPublicKey().toLatin1() + "\n");
    }
};

TEST_F(UpdateOfferedTest, TakingTheUpdateEndsTheProgramBeforeTheRun) {
    Form1& form = fixture.start();
    QSignalSpy finished(&form.downloads(), &DownloadController::runFinished);
    whenModalShows<UpdateWindow>(&form, [](UpdateWindow* offer) {
        offer->Command1->click();
        return false;
    });
    QTest::mouseClick(ui(form).Command2, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !fixture.shell.started.isEmpty(); }, 20000));
    QTest::qWait(300);
    EXPECT_EQ(fixture.shell.started.size(), 1);
    EXPECT_EQ(fixture.endedForUpdater, 1);
    EXPECT_TRUE(requestedPaths(QStringLiteral("/cg/")).isEmpty());
    EXPECT_TRUE(chartRequests().isEmpty());
    EXPECT_EQ(finished.count(), 0);
    EXPECT_NE(ui(form).Command2->text(), QStringLiteral("Stop"));
}

// Waits, resuming from the event loop every 10 ms, for a modal dialog of that type to show.
template<typename Dialog> QCoro::Task<Dialog*> shownDialog() {
    for (int tries = 0; tries < 1000; ++tries) {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible()) {
            co_return dialog;
        }
        co_await QCoro::sleepFor(std::chrono::milliseconds(10));
    }
    ADD_FAILURE() << "no " << Dialog::staticMetaObject.className() << " showed";
    co_return nullptr;
}

// Meets every dialog a user's action opens after start-up, each as a coroutine that resumes while
// the dialog is open; gives how deep in event loops each found itself. Every dialog is closed,
// whatever the depth, so that no loop is left waiting.
QCoro::Task<QList<int>> meetEveryDialog(Form1& form) {
    QList<int> depths;
    const auto depth = [] {
        return QThread::currentThread()->loopLevel();
    };
    QTimer::singleShot(0, ui(form).Command2, &QPushButton::click);
    UpdateWindow* offer = co_await shownDialog<UpdateWindow>();
    depths << depth();
    offer->Command2->click();
    LoginWindow* login = co_await shownDialog<LoginWindow>();
    depths << depth();
    login->cmdOK->click();
    QMessageBox* refused = co_await shownDialog<QMessageBox>();
    depths << depth();
    refused->accept();
    co_await shownDialog<LoginWindow>();
    login->reject();
    co_await qCoro(&form.downloads(), &DownloadController::runFinished);
    QTimer::singleShot(0, ui(form).kustuta, &QAction::trigger);
    QMessageBox* question = co_await shownDialog<QMessageBox>();
    depths << depth();
    question->button(QMessageBox::No)->click();
    QTimer::singleShot(0, ui(form).pakk, &QAction::trigger);
    QFileDialog* folder = co_await shownDialog<QFileDialog>();
    depths << depth();
    folder->reject();
    co_return depths;
}

// The update offer, the login window, its refusal, the question before deleting and the pack's
// folder: none runs an event loop of its own, so nothing that resumes meanwhile runs inside one.
TEST_F(UpdateOfferedTest, NoDialogRunsAnEventLoopOfItsOwn) {
    fixture.storeSetting(settings_table::QuellanPassword.name, QStringLiteral("wrong"));
    tick(settings_table::quellanyld, false);
    tick(settings_table::marevo, false);
    Form1& form = fixture.start();
    ui(form).Slider1->setSelStart(6);
    ui(form).Slider1->setSelLength(3);
    EXPECT_EQ(QCoro::waitFor(meetEveryDialog(form)), QList<int>(5, 1));
    EXPECT_TRUE(requestedPaths(QStringLiteral("/m/EU0")).isEmpty());
    // The window said why the provider's charts are missing, and says it whole.
    ui(form).english->trigger();
    EXPECT_TRUE(ui(form).runStatus->text().startsWith(
        QStringLiteral("Provider login cancelled: provider charts and spot forecasts skipped · 0 fetched, ")))
        << ui(form).runStatus->text().toStdString();
    EXPECT_TRUE(showsWhole(ui(form).runStatus));
}

// The link coming up starts the run the button starts, once, for nobody watching: no update
// offer, no login window (the refused remembered account skips the provider), and the link
// coming up again within the hour, during the run or after it, starts nothing more.
TEST_F(RunTest, TheLinkComingUpDownloadsOnceWithoutAskingAnyoneAndARefusalEndsWithItsAction) {
    fixture.storeSetting(settings_table::QuellanPassword.name, QStringLiteral("wrong"));
    tick(settings_table::laadiühendusel, true);
    tick(settings_table::quellanyld, false);
    Form1& form = fixture.start();
    rejectEveryDialog();
    ConnectDownload& link = form.connectDownload();
    const LinkState down{true, false, false};
    const LinkState up{true, true, false};
    QSignalSpy finished(&form.downloads(), &DownloadController::runFinished);
    link.linkChanged(down);
    link.linkChanged(up);
    EXPECT_EQ(form.downloads().state(), DownloadController::RunState::Running);
    link.linkChanged(down);
    link.linkChanged(up);
    ASSERT_TRUE(finished.wait(60000));
    link.linkChanged(down);
    link.linkChanged(up);
    QTest::qWait(100);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(dialogsRejected, 0);
    EXPECT_TRUE(requestedPaths(QStringLiteral("/brl/")).isEmpty());
    EXPECT_EQ(requestedPaths(QStringLiteral("/cg/")).size(), 1);
    EXPECT_TRUE(requestedPaths(QStringLiteral("/m/EU0")).isEmpty());
    EXPECT_FALSE(requestedPaths(QStringLiteral("/daten/segel/")).isEmpty());
    // The next action the user starts may ask again.
    EXPECT_FALSE(form.providerSession().refusedThisAction());
    ui(form).english->trigger();
    EXPECT_TRUE(ui(form).runStatus->fullText().startsWith(u"Provider login refused"))
        << ui(form).runStatus->fullText().toStdString();

    // A refused login holds for the action it was refused in, however that action went: fetching
    // the sailing maps asks for no login, yet it ends the refusal that stood when it started, and
    // the provider chart's double-click after it asks again.
    ASSERT_FALSE(QCoro::waitFor(form.providerSession().CheckQuellanlogin()));
    ASSERT_TRUE(form.providerSession().refusedThisAction());
    ui(form).Slider1->setValue(17);
    const qsizetype mapsBefore = chartRequests().size();
    QSignalSpy maps(&form.downloads(), &DownloadController::chartsChanged);
    QTest::mouseDClick(ui(form).Picture4, Qt::LeftButton);
    ASSERT_TRUE(maps.wait(10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.downloads().idle(); }, 5000));
    EXPECT_EQ(chartRequests().size(), mapsBefore + 2);
    EXPECT_FALSE(form.providerSession().refusedThisAction());

    QSignalSpy chart(&form.downloads(), &DownloadController::chartsChanged);
    QTest::mouseDClick(ui(form).halo, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return chart.count() == 1 && form.downloads().idle(); }, 10000));
    EXPECT_EQ(requestedPaths(QStringLiteral("/cg/login/")).size(), 3);
    EXPECT_EQ(dialogsRejected, 2);
}

// One request in five fails.
class FaultyServiceTest : public RunTest {
protected:
    FaultyServiceTest() : RunTest(QTime(12, 0), [](demo::ServerOptions& o) { o.seed = 7; }) {
        tick(settings_table::tsekiuuendusi, false);
        tick(settings_table::quellanyld, false);
        fixture.storeSetting(settings_table::Keel.name, InterfaceTexts::English);
    }
};

TEST_F(FaultyServiceTest, TheFilesStoredAreExactlyThoseThatArrived) {
    // Logged in before the faults begin: a login that held is not asked again in the run.
    Form1& form = fixture.start();
    ASSERT_TRUE(QCoro::waitFor(form.providerSession().CheckQuellanlogin()));
    server->setFault(demo::FaultKind::ServerError500, 20);
    runToTheEnd();
    QSet<QString> arrived;
    QSet<QString> failed;
    for (const LoggedRequest& request : requests()) {
        for (int hour = 0; hour <= 168; ++hour) {
            for (const QString& code : {MainlandMapCode, IslandsMapCode}) {
                if (request.path == mapPath(hour, code)) {
                    (request.status == 200 ? arrived : failed).insert(mapFile(hour, code));
                }
            }
            for (int choice = 0; choice <= 2 && hour <= 74; ++choice) {
                if (request.path == windChartPath(hour, choice)) {
                    (request.status == 200 ? arrived : failed).insert(windChartFile(hour));
                }
            }
        }
    }
    EXPECT_FALSE(failed.isEmpty());
    const QStringList stored = storedFiles();
    EXPECT_EQ(QSet<QString>(stored.begin(), stored.end()) - QSet<QString>{QStringLiteral("quellan.txt")},
              arrived);

    // A chart that an older run gave has not failed. The status line counts the others by
    // service, and its tooltip, shown by a click too, names each with its reason, twenty at most.
    failed -= arrived;
    const auto isProviderChart = [](const QString& name) {
        return name.contains(QStringLiteral("HALO"));
    };
    const qsizetype provider = std::count_if(failed.begin(), failed.end(), isProviderChart);
    QStringList byService;
    if (provider > 0) {
        byService << QStringLiteral("provider %1").arg(provider);
    }
    byService << QStringLiteral("sailing site %1").arg(failed.size() - provider);
    const RunStatusLine* line = ui(form).runStatus;
    EXPECT_TRUE(line->text().startsWith(QStringLiteral("%1 fetched, 0 unchanged, %2 failed (%3) in ")
                                            .arg(arrived.size())
                                            .arg(failed.size())
                                            .arg(byService.join(QStringLiteral(", ")))))
        << line->text().toStdString();
    EXPECT_TRUE(showsWhole(line));
    constexpr qsizetype MostListed = 20;
    const QStringList listed = line->toolTip().split(u'\n').filter(
        QRegularExpression(QStringLiteral("^    \\S+: HTTP status \\d+$")));
    EXPECT_EQ(listed.size(), std::min(failed.size(), MostListed));
    for (const QString& entry : listed) {
        EXPECT_TRUE(failed.contains(entry.trimmed().section(u':', 0, 0))) << entry.toStdString();
    }
    ASSERT_GT(failed.size(), MostListed);
    EXPECT_TRUE(line->toolTip().contains(QStringLiteral("… and %1 more").arg(failed.size() - MostListed)));
    QTest::mouseClick(ui(form).runStatus, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 1000));
    EXPECT_EQ(QToolTip::text(), line->toolTip());
}

// A click, the wheel, the zoom, its keys and a drag on the chart and on the sailing maps' panel ask
// the services for nothing; a double-click fetches just the chart shown, zoomed or not, again though
// it is still fresh, and on the panel the maps of its hour.
TEST_F(RunTest, OnlyADoubleClickFetchesAndJustTheChartShown) {
    tick(settings_table::tsekiuuendusi, false);
    Form1& form = fixture.start();
    ui(form).Slider1->setValue(0);
    PictureBox* chart = ui(form).halo;
    const QPoint middle = chart->rect().center();
    QTest::mouseClick(chart, Qt::LeftButton, {}, middle);
    wheelOver(chart, middle, Qt::NoModifier);
    wheelOver(chart, middle, Qt::ControlModifier);
    QTest::keyClick(chart, Qt::Key_Plus);
    ASSERT_FALSE(chart->zoom().isFitted());
    QTest::mousePress(chart, Qt::LeftButton, {}, middle);
    QTest::mouseMove(chart, middle + QPoint(40, 30));
    QTest::mouseRelease(chart, Qt::LeftButton, {}, middle + QPoint(40, 30));
    QTest::mouseClick(ui(form).Picture4, Qt::LeftButton);
    wheelOver(ui(form).Picture4, QPointF(20, 20), Qt::ControlModifier);
    QTest::qWait(300);
    EXPECT_TRUE(chartRequests().isEmpty()) << chartRequests().join(u' ').toStdString();

    QTest::mouseDClick(chart, Qt::LeftButton, {}, middle);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.chartView().pildilipp(); }, 10000));
    // Slider hour 0 is yesterday's 22:00 on the provider's clock, the first name shown there.
    EXPECT_EQ(requestedPaths(QStringLiteral("/m/EU0")), QStringList{windChartPath(0, 2)});
    EXPECT_TRUE(QFile::exists(fixture.folder.chartFolder() + windChartFile(0)));
    EXPECT_FALSE(chart->zoom().isFitted()) << "the fetched chart is shown as zoomed";
    EXPECT_FALSE(form.providerSession().refusedThisAction());
    QSignalSpy changed(&form.downloads(), &DownloadController::chartsChanged);
    QTest::mouseDClick(chart, Qt::LeftButton, {}, middle);
    ASSERT_TRUE(changed.wait(10000));
    EXPECT_EQ(requestedPaths(QStringLiteral("/m/EU0")).size(), 2);

    ui(form).Slider1->setValue(17);
    QTest::mouseDClick(ui(form).Picture4, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return ui(form).Picture1->isVisible() && ui(form).Picture2->isVisible(); }, 10000));
    EXPECT_EQ(chartRequests().mid(2),
              QStringList({mapPath(15, MainlandMapCode), mapPath(15, IslandsMapCode)}));
    EXPECT_EQ(ui(form).wokell->text().right(6), QStringLiteral(" 15:00"));

    // A map inside the panel takes the double-click itself: the panel does not fetch as well.
    QSignalSpy panel(ui(form).Picture4, &PictureBox::doubleClicked);
    QTest::mouseDClick(ui(form).Picture2, Qt::LeftButton);
    EXPECT_EQ(panel.count(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return chartRequests().size() >= 6; }, 10000));
    QTest::qWait(300);
    EXPECT_EQ(chartRequests().size(), 6);
}

} // namespace
