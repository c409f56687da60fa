// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Brisel on a disk that fills up, made for this test by tests/support/with-own-disk.sh (a tmpfs
// in a user namespace): a file that cannot be written is told with the system's reason, by the
// window, by `brisel --download` and in the run's log; it is never taken for a refused login, and
// nothing is left cut.
#include "demo_server.h"
#include "download/download_controller.h"
#include "download/run_status_line.h"
#include "form1_fixture.h"
#include "pack/pack_export.h"
#include "provider/login_window.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <linux/magic.h>
#include <sys/vfs.h>

using namespace Qt::StringLiterals;

namespace {

const QDateTime Now(QDate(2007, 4, 10), QTime(12, 0));
const QString NoSpace = u"No space left on device"_s;

// The disk the wrapper mounted. Without one the test fails rather than fill a real disk.
QString smallDisk() {
    const QString disk = qEnvironmentVariable("BRISEL_OWN_DISK");
    struct statfs about {};
    if (disk.isEmpty() || statfs(QFile::encodeName(disk).constData(), &about) != 0 ||
        about.f_type != TMPFS_MAGIC) {
        ADD_FAILURE() << "BRISEL_OWN_DISK is no tmpfs: run this program through with-own-disk.sh";
        return {};
    }
    return disk;
}

// A whole GIF of about 100 KiB: one pixel, and a long comment before its trailer.
QByteArray largePicture() {
    QByteArray gif = QByteArray::fromBase64("R0lGODlhAQABAIAAAAAAAP///yH5BAEAAAAALAAAAAABAAEAAAICRAEAOw==");
    gif.chop(1);
    gif += "\x21\xFE";
    for (int block = 0; block < 400; ++block) {
        gif += char(255) + QByteArray(255, 'c');
    }
    return gif + '\0' + ';';
}

class FullDiskTest : public ::testing::Test {
protected:
    FullDiskTest() {
        demo::ServerOptions options;
        options.now = Now;
        server = std::make_unique<demo::DemoServer>(options);
        EXPECT_TRUE(server->start(0));
    }
    ~FullDiskTest() override { QFile::remove(fillerFile()); }

    QString fillerFile() const { return QDir(disk).filePath(u"filler"_s); }

    // Takes what is left of the disk but `room` bytes.
    void fillDisk(qint64 room = 0) const {
        QFile filler(fillerFile());
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) {
        }
        ASSERT_TRUE(filler.resize(std::max<qint64>(0, filler.pos() - room)));
    }

    // Frees that much of what the filler took.
    void makeRoom(qint64 bytes) const {
        QFile filler(fillerFile());
        ASSERT_TRUE(filler.resize(std::max<qint64>(0, filler.size() - bytes)));
    }

    void pointAtServer(const testing_support::TempProgramFolder& folder) const {
        folder.write(u"brisel.ini"_s, testing_support::hostsAt(server->baseUrl()));
        folder.write(u"spots.ini"_s, "[Tartu]\nlon=26.729\nlat=58.378\nelev=57\n");
    }

    // The settings of a run of the charts alone, with the remembered account.
    static void storeSettings(const QString& settingsFile) {
        reg::Store store(reg::makeFileBackend(settingsFile));
        const auto write = [&store](const QString& name, const QVariant& value) {
            store.WriteRegValue(reg::HKEY_CURRENT_USER, QString::fromLatin1(reg::BriselKeyPath), name, value);
        };
        write(settings_table::QuellanUser.name, u"demo"_s);
        write(settings_table::QuellanPassword.name, u"demo"_s);
        write(settings_table::Keel.name, InterfaceTexts::English);
        for (const settings_table::Toggle* toggle :
             {&settings_table::tsekiuuendusi, &settings_table::kustutavanad, &settings_table::quellanyld}) {
            write(toggle->builtInCaption, 0);
        }
    }

    const QString disk = smallDisk();
    std::unique_ptr<demo::DemoServer> server;
};

TEST_F(FullDiskTest, TheWindowSaysTheSystemsReasonAndOpensNoLoginWindow) {
    ASSERT_FALSE(disk.isEmpty());
    Form1Fixture fixture(Now, disk);
    pointAtServer(fixture.folder);
    storeSettings(fixture.settingsFile);
    Form1& form = fixture.start();
    ui(form).Slider1->setSelStart(6);
    ui(form).Slider1->setSelLength(3);
    int loginWindows = 0;
    whenModalShows<LoginWindow>(&form, [&loginWindows](LoginWindow* login) {
        ++loginWindows;
        login->reject();
        return true;
    });
    fillDisk();
    QSignalSpy finished(&form.downloads(), &DownloadController::runFinished);
    QTest::mouseClick(ui(form).Command2, Qt::LeftButton);
    ASSERT_TRUE(finished.wait(30000));

    EXPECT_EQ(loginWindows, 0);
    const RunStatusLine* line = ui(form).runStatus;
    EXPECT_TRUE(line->fullText().startsWith(u"Provider login failed: "_s + NoSpace +
                                            u"; provider charts and spot forecasts skipped · 0 fetched, "
                                            u"0 unchanged, 4 failed (sailing site 4) in "_s))
        << line->fullText().toStdString();
    EXPECT_EQ(line->toolTip().count(u".gif: "_s + NoSpace + u'\n'), 4) << line->toolTip().toStdString();
    EXPECT_EQ(fixture.stored(settings_table::QuellanPassword.name), QVariant(u"demo"_s));
    EXPECT_EQ(QDir(fixture.folder.chartFolder()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

// First on a full disk, where not even the login's reply fits; then with room for the login's
// reply and a few charts, so that the disk fills up during the run.
TEST_F(FullDiskTest, DownloadSaysTheSystemsReasonAndSoDoesItsLog) {
    ASSERT_FALSE(disk.isEmpty());
    testing_support::TempProgramFolder home(disk);
    pointAtServer(home);
    // An untouched copy of the shipped file is removed at start-up: it would make room.
    QFile::remove(home.file(u"lang.ini"_s));
    QTemporaryDir user;
    storeSettings(user.filePath(u".config/Brisel/settings.reg"_s));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"HOME"_s, user.path());
    env.insert(u"XDG_CONFIG_HOME"_s, user.filePath(u".config"_s));
    env.insert(u"XDG_STATE_HOME"_s, user.filePath(u"state"_s));
    env.remove(u"QT_QPA_PLATFORM"_s);
    QProcess brisel;
    brisel.setProcessEnvironment(env);
    const auto download = [&] {
        brisel.start(QStringLiteral(BRISEL_EXECUTABLE),
                     {u"--download"_s, u"--home"_s, home.root(), u"--now"_s, Now.toString(Qt::ISODate)});
        EXPECT_TRUE(brisel.waitForFinished(60000));
        return QString::fromLocal8Bit(brisel.readAllStandardError());
    };
    // Every body the server sent whole and the log does not call "ok" says the system's reason.
    const auto logSaysWhy = [&user] {
        QFile log(user.filePath(u"state/Brisel/last-run.log"_s));
        EXPECT_TRUE(log.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
        const QStringList failed = lines.filter(QRegularExpression(u" 200 \\d+ \\d+ (?!ok$)"_s));
        EXPECT_FALSE(failed.isEmpty());
        QStringList withoutReason;
        for (const QString& line : failed) {
            if (!line.endsWith(NoSpace)) {
                withoutReason << line;
            }
        }
        EXPECT_EQ(withoutReason, QStringList());
    };

    fillDisk();
    const QString full = download();
    EXPECT_EQ(brisel.exitCode(), 2) << qPrintable(full);
    EXPECT_TRUE(full.startsWith(u"brisel: Provider login failed: "_s + NoSpace + u"; provider charts"_s))
        << qPrintable(full);
    EXPECT_FALSE(full.contains(u"refused"_s)) << qPrintable(full);
    logSaysWhy();

    makeRoom(64 * 1024);
    const QString filled = download();
    EXPECT_EQ(brisel.exitCode(), 0) << qPrintable(filled);
    EXPECT_FALSE(filled.contains(u"Provider login"_s)) << qPrintable(filled);
    const QStringList failures = filled.split(u'\n').filter(u".gif: "_s);
    EXPECT_FALSE(failures.isEmpty()) << qPrintable(filled);
    EXPECT_EQ(failures.filter(NoSpace).size(), failures.size()) << qPrintable(filled);
    logSaysWhy();
    for (const QString& name : QDir(home.chartFolder()).entryList(QDir::Files | QDir::Hidden)) {
        EXPECT_TRUE(QImageReader(home.chartFolder() + name).canRead() || name == u"quellan.txt"_s)
            << "cut or stray: " << name.toStdString();
    }
}

// Room for one chart and a part of the next: the pack fails with the reason, and what lies in its
// folder is whole.
TEST_F(FullDiskTest, AFolderPackThatDoesNotFitSaysWhyAndLeavesNoCutChart) {
    ASSERT_FALSE(disk.isEmpty());
    testing_support::TempProgramFolder source;
    const QByteArray chart = largePicture();
    const QStringList charts{u"20070410HALO04.gif"_s, u"20070410HALO05.gif"_s, u"20070410000303.gif"_s,
                             u"20070410Pärnu.gif"_s};
    for (const QString& name : charts) {
        source.write(u"kaardid/"_s + name, chart);
    }
    fillDisk(160 * 1024);
    InterfaceTexts texts(source.file(u"lang.ini"_s));
    const QString target = QDir(disk).filePath(u"pack"_s);
    const pack::PackResult result = pack::exportPack({source.chartFolder(),
                                                      {u"Pärnu"_s},
                                                      u"Pärnu"_s,
                                                      texts,
                                                      LocaleFormats(u"dd.MM.yyyy"_s, u"HH:mm"_s),
                                                      QDateTime(QDate(2007, 4, 10), QTime(6, 10))},
                                                     target);

    EXPECT_FALSE(result.written);
    EXPECT_TRUE(result.problem.contains(NoSpace)) << qPrintable(result.failedPath + u": "_s + result.problem);
    const QStringList left = QDir(target).entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : left) {
        QFile copy(QDir(target).filePath(name));
        EXPECT_TRUE(charts.contains(name) && copy.open(QIODevice::ReadOnly) && copy.readAll() == chart)
            << "cut or stray: " << name.toStdString();
    }
    QDir(target).removeRecursively();
}

} // namespace
