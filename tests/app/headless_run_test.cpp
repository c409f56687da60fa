// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// `brisel --download`, the real executable against the demo services: the same files as the
// window's run for the same clock and settings, its summary and its log, a refused login, a run in
// which nothing arrives, and a run that cannot start.
#include "demo_server.h"
#include "form1_fixture.h"
#include "net/chart_names.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

const QDateTime Now(QDate(2007, 4, 10), QTime(12, 0));
const QString NowOption = QStringLiteral("2007-04-10T12:00:00");
const QStringList Spots{QStringLiteral("Tartu"), QStringLiteral("Pärnu")};

struct Finished {
    int exitCode = -1;
    QString out;
    QString err;
};

class HeadlessRunTest : public ::testing::Test {
protected:
    HeadlessRunTest() {
        demo::ServerOptions options;
        options.now = Now;
        server = std::make_unique<demo::DemoServer>(options);
        EXPECT_TRUE(server->start(0));
        pointAtServer(headlessFolder);
    }

    void pointAtServer(const testing_support::TempProgramFolder& folder) const {
        folder.write(QStringLiteral("brisel.ini"), testing_support::hostsAt(server->baseUrl()));
        folder.write(QStringLiteral("spots.ini"),
                     "[Tartu]\nlon=26.729\nlat=58.378\nelev=57\n[Pärnu]\nlon=24.5\nlat=58.385\nelev=3\n");
    }

    // The settings both runs start from: the remembered account, no update check, nothing deleted.
    static void storeSettings(const QString& settingsFile, const QString& password) {
        reg::Store store(reg::makeFileBackend(settingsFile));
        const QString key = QString::fromLatin1(reg::BriselKeyPath);
        store.WriteRegValue(reg::HKEY_CURRENT_USER, key, settings_table::QuellanUser.name,
                            QStringLiteral("demo"));
        store.WriteRegValue(reg::HKEY_CURRENT_USER, key, settings_table::QuellanPassword.name, password);
        store.WriteRegValue(reg::HKEY_CURRENT_USER, key, settings_table::tsekiuuendusi.builtInCaption, 0);
        store.WriteRegValue(reg::HKEY_CURRENT_USER, key, settings_table::kustutavanad.builtInCaption, 0);
    }

    void storeHeadlessSettings(const QString& password) const {
        storeSettings(userDir.filePath(QStringLiteral(".config/Brisel/settings.reg")), password);
    }

    // The executable with its own user folder and no display at all.
    Finished runBrisel(const QStringList& arguments) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), userDir.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), userDir.filePath(QStringLiteral(".config")));
        env.insert(QStringLiteral("XDG_STATE_HOME"), userDir.filePath(QStringLiteral("state")));
        for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            env.remove(QString::fromLatin1(display));
        }
        QProcess brisel;
        brisel.setProcessEnvironment(env);
        brisel.start(QStringLiteral(BRISEL_EXECUTABLE), arguments);
        // The demo server answers on its own thread, so waiting here blocks nothing it needs.
        EXPECT_TRUE(brisel.waitForFinished(120000));
        return {brisel.exitStatus() == QProcess::NormalExit ? brisel.exitCode() : -1,
                QString::fromLocal8Bit(brisel.readAllStandardOutput()),
                QString::fromLocal8Bit(brisel.readAllStandardError())};
    }

    Finished downloadInto(const QString& home) const {
        return runBrisel({QStringLiteral("--download"), QStringLiteral("--home"), home,
                          QStringLiteral("--now"), NowOption});
    }

    static QStringList chartFiles(const QString& chartFolder) {
        QStringList files = QDir(chartFolder).entryList(QDir::Files);
        files.sort();
        return files;
    }

    // One name a line, so a failure shows which files differ.
    static std::string listing(const QStringList& files) {
        return files.join(QLatin1Char('\n')).toStdString();
    }

    QStringList providerRequests() const {
        return server->requestedPaths().filter(QRegularExpression(QStringLiteral("^(?!/daten/segel/)")));
    }

    std::unique_ptr<demo::DemoServer> server;
    testing_support::TempProgramFolder headlessFolder;
    QTemporaryDir userDir;
};

TEST_F(HeadlessRunTest, FetchesTheSameFilesAsTheWindowsRunAndTalliesThem) {
    Form1Fixture window(Now);
    pointAtServer(window.folder);
    storeSettings(window.settingsFile, QStringLiteral("demo"));
    window.start();
    QTest::mouseClick(ui(*window.form).Command2, Qt::LeftButton);
    ASSERT_EQ(ui(*window.form).Command2->text(), QStringLiteral("Stop"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&window] { return ui(*window.form).Command2->text() != QStringLiteral("Stop"); }, 120000));
    const QStringList windowFiles = chartFiles(window.folder.chartFolder());

    storeHeadlessSettings(QStringLiteral("demo"));
    const Finished run = downloadInto(headlessFolder.root());
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
    const QStringList headlessFiles = chartFiles(headlessFolder.chartFolder());
    EXPECT_EQ(listing(headlessFiles), listing(windowFiles));

    // Every family is there, so equal lists are not two empty folders.
    EXPECT_TRUE(headlessFiles.contains(loginAnswerFile()));
    for (const QString& spot : Spots) {
        EXPECT_TRUE(headlessFiles.contains(spotReplyFile(spot))) << qPrintable(spot);
    }
    EXPECT_GT(headlessFiles.filter(QStringLiteral(".gif")).size(), 100);

    // The login answer is the login's, not a fetched chart.
    qint64 chartBytes = 0;
    for (const QString& file : headlessFiles) {
        if (file != loginAnswerFile()) {
            chartBytes += QFileInfo(headlessFolder.chartFolder() + file).size();
        }
    }
    const QRegularExpression summary(
        QStringLiteral("^fetched=(\\d+) failed=0 unchanged=0 bytes=(\\d+) seconds=\\d+\\.\\d\\n$"));
    const QRegularExpressionMatch match = summary.match(run.out);
    ASSERT_TRUE(match.hasMatch()) << qPrintable(run.out);
    EXPECT_EQ(match.captured(1).toInt(), headlessFiles.size() - 1);
    EXPECT_EQ(match.captured(2).toLongLong(), chartBytes);
    // Not a terminal: no progress bar, only the summary.
    EXPECT_TRUE(
        QRegularExpression(
            QStringLiteral("^brisel: %1 fetched, 0 unchanged, 0 failed in \\d+ s\\n$").arg(match.captured(1)))
            .match(run.err)
            .hasMatch())
        << qPrintable(run.err);

    // The log: a line for each request, in the order they ended, none with its query, so the
    // login's password is not in it.
    QFile log(userDir.filePath(QStringLiteral("state/Brisel/last-run.log")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
    QStringList logged;
    const QRegularExpression line(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3} %1(/[^ ?]*) 200 \\d+ \\d+ ok$")
            .arg(QRegularExpression::escape(server->baseUrl().toString())));
    for (const QString& text : lines) {
        const QRegularExpressionMatch fields = line.match(text);
        EXPECT_TRUE(fields.hasMatch()) << qPrintable(text);
        logged << fields.captured(1);
    }
    QStringList requested;
    for (const QString& path : server->requestedPaths().mid(server->requestCount() - lines.size())) {
        requested << path.section(u'?', 0, 0);
    }
    logged.sort();
    requested.sort();
    EXPECT_EQ(listing(logged), listing(requested));
    EXPECT_EQ(lines.size(), headlessFiles.size()) << "a request for every file, the login's answer too";
}

TEST_F(HeadlessRunTest, ARefusedLoginSkipsTheProviderAndKeepsTheSailingMaps) {
    storeHeadlessSettings(QStringLiteral("wrong"));
    const Finished run = downloadInto(headlessFolder.root());
    EXPECT_EQ(run.exitCode, 0);
    ASSERT_EQ(providerRequests().size(), 1);
    EXPECT_TRUE(providerRequests().first().startsWith(QLatin1String("/cg/login/")));
    EXPECT_GT(server->requestCount(), 1);
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("brisel: Provider login refused: provider charts and spot "
                                                  "forecasts skipped · ")))
        << qPrintable(run.err);
    EXPECT_EQ(run.err.count(QLatin1Char('\n')), 1);
    const QStringList files = chartFiles(headlessFolder.chartFolder());
    EXPECT_EQ(files.filter(QStringLiteral(".gif")).size(), server->requestCount() - 1);
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("fetched=%1 failed=0 ").arg(server->requestCount() - 1)))
        << qPrintable(run.out);
}

// A FIFO at a data or settings file's name once held the start for good: nothing ever writes into
// it. Each is taken as a file that cannot be read, said on the error output, and the run goes on,
// without the remembered login the settings held. No log can be written where the state folder is
// a file: the run says so and does its work.
TEST_F(HeadlessRunTest, AFifoAtADataOrSettingsFileOrAStateFolderThatIsAFileStopsNoRun) {
    QFile notAFolder(userDir.filePath(QStringLiteral("state")));
    ASSERT_TRUE(notAFolder.open(QIODevice::WriteOnly));
    notAFolder.close();
    const QString settingsFile = userDir.filePath(QStringLiteral(".config/Brisel/settings.reg"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(settingsFile).absolutePath()));
    const QStringList fifos{headlessFolder.file(QStringLiteral("lang.ini")),
                            headlessFolder.file(QStringLiteral("spots.ini")), settingsFile};
    for (const QString& path : fifos) {
        ASSERT_TRUE(QFile::remove(path) || !QFileInfo::exists(path));
        ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    }
    const Finished run = downloadInto(headlessFolder.root());
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
    for (const QString& path : fifos) {
        EXPECT_TRUE(run.err.contains(path + QStringLiteral(" cannot be read (Not a regular file)")))
            << qPrintable(path) << "\n"
            << qPrintable(run.err);
        EXPECT_TRUE(QFileInfo(path).exists()) << "what is no file of ours stays";
    }
    EXPECT_TRUE(run.err.contains(QLatin1String("brisel: cannot write the run's log ")))
        << qPrintable(run.err);
    EXPECT_TRUE(run.err.contains(QLatin1String("\nbrisel: No provider login remembered: ")))
        << qPrintable(run.err);
    EXPECT_EQ(listing(providerRequests()), "") << "the remembered login is in the settings";
    EXPECT_GT(server->requestCount(), 0) << "the sailing maps are fetched all the same";
}

// The exit status a scheduler reads: 1 for a run that cannot start, which fetches nothing, and 2
// for one in which files were asked for and none arrived, every service gone.
TEST_F(HeadlessRunTest, ARunThatCannotStartExitsWithOneAndOneInWhichNoFileArrivesWithTwo) {
    storeHeadlessSettings(QStringLiteral("demo"));
    QFile plain(userDir.filePath(QStringLiteral("plain")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();

    const Finished insideAFile = downloadInto(plain.fileName() + QStringLiteral("/program"));
    EXPECT_EQ(insideAFile.exitCode, 1);
    EXPECT_TRUE(insideAFile.err.contains(QLatin1String("cannot make the chart folder")))
        << qPrintable(insideAFile.err);

    const QString home = headlessFolder.root();
    EXPECT_EQ(
        runBrisel({QStringLiteral("--download"), QStringLiteral("--home"), home, QStringLiteral("--bogus")})
            .exitCode,
        1);
    EXPECT_EQ(runBrisel({QStringLiteral("--download"), QStringLiteral("--home"), home,
                         QStringLiteral("--now"), QStringLiteral("tomorrow")})
                  .exitCode,
              1);
    EXPECT_EQ(server->requestCount(), 0);
    EXPECT_EQ(listing(chartFiles(headlessFolder.chartFolder())), "");

    server->stop();
    const Finished run = downloadInto(home);
    EXPECT_EQ(run.exitCode, 2) << qPrintable(run.out + run.err);
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("fetched=0 failed="))) << qPrintable(run.out);
    EXPECT_FALSE(run.out.startsWith(QStringLiteral("fetched=0 failed=0 "))) << qPrintable(run.out);
    const QString failed = run.out.section(u' ', 1, 1).section(u'=', 1);
    EXPECT_TRUE(run.err.contains(
        QStringLiteral(" fetched, 0 unchanged, %1 failed (sailing site %1) in ").arg(failed)))
        << qPrintable(run.err);
}

} // namespace
