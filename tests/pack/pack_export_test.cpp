// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The pack as a person meets it: opened from file:// in a real browser (headless Chromium), stepped
// with the arrow keys; and the same pack as one zip file, written by the real executable without a
// display, and never left half written. That the zip holds what the folder would the test of the
// charts taken sees.
#include "net/chart_names.h"
#include "pack/pack_export.h"
#include "pack/pack_zip.h"
#include "settings/interface_texts.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zip.h>

using namespace Qt::StringLiterals;

namespace {

const QDateTime Now(QDate(2007, 4, 10), QTime(6, 10));
const QDateTime Downloaded(QDate(2007, 4, 10), QTime(5, 7));
const QString Bay = u"Bay \"#1\" <!--<script> &'"_s;

// A 1x1 GIF: the browser shows it, and its name is what the test follows.
const QByteArray Gif = QByteArray::fromBase64("R0lGODlhAQABAIAAAAAAAP///yH5BAEAAAAALAAAAAABAAEAAAICRAEAOw==");

// A chart folder of real files, downloaded at 05:07: wind charts for 04:00 and 05:00 (shown at
// 06:00, and at 08:00 in place of the missing 06:00), the sailing map of 03:00 and two spots'
// meteograms of today.
void storeCharts(const testing_support::TempProgramFolder& folder) {
    for (const QString& name : {u"20070410HALO04.gif"_s, u"20070410HALO05.gif"_s, u"20070410000303.gif"_s,
                                u"20070410Pärnu.gif"_s, u"20070410"_s + Bay + u".gif"_s, u"wave03.gif"_s}) {
        QFile file(folder.chartFolder() + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Gif);
        file.flush(); // so that no later write moves the time again
        ASSERT_TRUE(file.setFileTime(Downloaded, QFileDevice::FileModificationTime));
    }
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString match(const QString& dom, const QString& pattern) {
    return QRegularExpression(pattern).match(dom).captured(1);
}

TEST(PackInBrowser, TheArrowKeysStepTheHoursAndTheCaptionsFollow) {
    const QString chromium = QStandardPaths::findExecutable(u"chromium"_s);
    if (chromium.isEmpty()) {
        GTEST_SKIP() << "chromium is not installed (apt-get install chromium)";
    }
    testing_support::TempProgramFolder folder;
    storeCharts(folder);
    InterfaceTexts texts(folder.file(u"lang.ini"_s));
    texts.setLanguage(InterfaceTexts::English);
    const QString packFolder = folder.file(u"pack"_s);
    const pack::PackResult result = pack::exportPack({folder.chartFolder(),
                                                      {u"Pärnu"_s, Bay},
                                                      Bay,
                                                      texts,
                                                      LocaleFormats(u"dd.MM.yyyy"_s, u"HH:mm"_s),
                                                      Now},
                                                     packFolder);
    ASSERT_TRUE(result.written) << qPrintable(result.failedPath + u": "_s + result.problem);
    EXPECT_EQ(result.files, 7);

    QTemporaryDir profile;
    QProcess browser;
    browser.start(chromium, {u"--headless"_s, u"--no-sandbox"_s, u"--disable-gpu"_s, u"--no-first-run"_s,
                             u"--disable-background-networking"_s, u"--disable-component-update"_s,
                             u"--user-data-dir="_s + profile.path(), u"--dump-dom"_s,
                             QUrl::fromLocalFile(packFolder + u"/index.html"_s).toString() +
                                 u"#keys=ArrowRight,ArrowRight,ArrowRight,ArrowLeft"_s});
    ASSERT_TRUE(browser.waitForFinished(60000));
    const QString dom = QString::fromUtf8(browser.readAllStandardOutput());
    ASSERT_FALSE(dom.isEmpty()) << browser.readAllStandardError().toStdString();

    // Started at 06:00, two hours on: the wind chart of 05:00 stands in for the missing 06:00.
    EXPECT_EQ(match(dom, uR"re(<div id="caption">([^<]*)<)re"_s), u"Brisel 10.04.2007  8:00"_s);
    EXPECT_EQ(match(dom, uR"re(<img id="halo"[^>]* src="([^"]*)")re"_s), u"20070410HALO05.gif"_s);
    EXPECT_EQ(match(dom, uR"re(<span id="halokp">([^<]*)<)re"_s), u"Downloaded: 10.04.2007 05:07"_s);
    EXPECT_EQ(match(dom, uR"re(<div id="wokell">([^<]*)<)re"_s), u"Marevo 10.04.2007  6:00"_s);
    EXPECT_EQ(match(dom, uR"re(<img id="Picture1"[^>]* src="([^"]*)")re"_s), u"20070410000303.gif"_s);
    EXPECT_TRUE(dom.contains(QRegularExpression(uR"re(<img id="Picture2"[^>]* hidden)re"_s)));
    // The chosen spot's meteogram of today, its name with every awkward character, under the
    // day's label in the language of the export.
    const QString meteogram =
        match(dom, uR"re(<figcaption>Tue 10\.04</figcaption><img[^>]* src="([^"]*)")re"_s);
    EXPECT_EQ(QUrl::fromPercentEncoding(meteogram.toUtf8()), u"20070410"_s + Bay + u".gif"_s);
    EXPECT_TRUE(QFile::exists(packFolder + u"/20070410"_s + Bay + u".gif"_s));
}

QStringList zipNames(const QString& path) {
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!archive) {
        ADD_FAILURE() << "cannot open " << path.toStdString();
        return {};
    }
    QStringList names;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        names.append(
            QString::fromUtf8(zip_get_name(archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS)));
    }
    zip_discard(archive);
    names.sort();
    return names;
}

int runBrisel(const QStringList& arguments, QString* err = nullptr) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        env.remove(QString::fromLatin1(display));
    }
    QProcess brisel;
    brisel.setProcessEnvironment(env);
    brisel.start(QStringLiteral(BRISEL_EXECUTABLE),
                 arguments + QStringList{u"--now"_s, Now.toString(Qt::ISODate)});
    EXPECT_TRUE(brisel.waitForFinished(60000));
    if (err) {
        *err = QString::fromLocal8Bit(brisel.readAllStandardError());
    }
    return brisel.exitStatus() == QProcess::NormalExit ? brisel.exitCode() : -1;
}

TEST(PackAsZip, HoldsTheFolderUnderItsOwnNameAndIsNeverLeftHalfWritten) {
    testing_support::TempProgramFolder folder;
    storeCharts(folder);
    const QString home = folder.root();
    ASSERT_EQ(runBrisel({u"--export-pack"_s, folder.file(u"week.zip"_s), u"--home"_s, home}), 0);
    const QStringList inZip = zipNames(folder.file(u"week.zip"_s));
    EXPECT_TRUE(inZip.contains(u"week/index.html"_s)) << qPrintable(inZip.join(u' '));
    EXPECT_TRUE(inZip.contains(u"week/20070410Pärnu.gif"_s)) << qPrintable(inZip.join(u' '));

    // A zip that cannot be made where a folder of that name lies: the run says so.
    QDir(home).mkdir(u"taken.zip"_s);
    QString err;
    EXPECT_EQ(runBrisel({u"--export-pack"_s, folder.file(u"taken.zip"_s), u"--home"_s, home}, &err), 1);
    EXPECT_TRUE(err.contains(u"taken.zip"_s)) << qPrintable(err);

    // A zip the disk cannot take whole: the zip of the last export stays as it was, and no piece
    // of the new one is left beside it.
    const QString zip = folder.file(u"week.zip"_s);
    const QByteArray lastExport = contents(zip);
    {
        const testing_support::FileSizeLimit full(lastExport.size());
        const Expected<void> zipped = pack::writeZip(
            zip, {{u"week/index.html"_s, "<html>", pack::ZipEntry::Compressed},
                  {u"week/a.gif"_s, QByteArray(2 * lastExport.size(), 'a'), pack::ZipEntry::AsItIs}});
        ASSERT_FALSE(zipped);
        EXPECT_FALSE(zipped.error().isEmpty());
    }
    EXPECT_EQ(contents(zip), lastExport);
    EXPECT_EQ(QDir(home).entryList({u"week.zip*"_s}, QDir::Files | QDir::Hidden), QStringList{u"week.zip"_s});
}

// What lies in the chart folder under a chart's name but is no whole chart of the program's stays
// out of the pack, folder and zip alike: a link to a file outside, a picture that claims a size no
// chart has, a FIFO. The hour of a chart left out shows its stand-in, as the window would.
TEST(PackExport, TakesOnlyWholeChartsOfTheFolderItself) {
    testing_support::TempProgramFolder folder;
    storeCharts(folder);
    QTemporaryDir outside;
    const QString secret = outside.filePath(u"20070410HALO06.gif"_s);
    QFile::copy(folder.chartFolder() + u"wave03.gif"_s, secret);
    ASSERT_TRUE(QFile::link(secret, folder.chartFolder() + u"20070410HALO06.gif"_s));
    // The 05:00 chart in the GIF's own header claims 5,700 pixels a side.
    QByteArray bomb = Gif;
    bomb[6] = bomb[8] = char(0x44);
    bomb[7] = bomb[9] = char(0x16);
    QFile::remove(folder.chartFolder() + u"20070410HALO05.gif"_s);
    folder.write(u"kaardid/20070410HALO05.gif"_s, bomb);
    QFile::remove(folder.chartFolder() + u"wave03.gif"_s);
    ASSERT_EQ(mkfifo(QFile::encodeName(folder.chartFolder() + u"wave03.gif"_s).constData(), 0644), 0);

    const QStringList expected{u"20070410000303.gif"_s, u"20070410HALO04.gif"_s, u"20070410Pärnu.gif"_s,
                               u"index.html"_s};
    InterfaceTexts texts(folder.file(u"lang.ini"_s));
    const pack::PackRequest request{folder.chartFolder(),
                                    {u"Pärnu"_s},
                                    u"Pärnu"_s,
                                    texts,
                                    LocaleFormats(u"dd.MM.yyyy"_s, u"HH:mm"_s),
                                    Now};
    const QString packFolder = folder.file(u"pack"_s);
    const pack::PackResult written = pack::exportPack(request, packFolder);
    ASSERT_TRUE(written.written) << qPrintable(written.failedPath + u": "_s + written.problem);
    QStringList inFolder =
        QDir(packFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    inFolder.sort();
    EXPECT_EQ(inFolder, expected);
    const QByteArray page = contents(packFolder + u"/index.html"_s);
    EXPECT_FALSE(page.contains("HALO05")) << "the hour of the bomb shows the chart of 04:00";
    EXPECT_FALSE(page.contains("HALO06"));
    EXPECT_EQ(contents(secret), Gif);

    ASSERT_TRUE(pack::exportPack(request, folder.file(u"pack.zip"_s)).written);
    QStringList inZip;
    for (const QString& name : expected) {
        inZip.append(u"pack/"_s + name);
    }
    EXPECT_EQ(zipNames(folder.file(u"pack.zip"_s)), inZip);
}

// On a disk that fills up midway the export fails, says why and where, and leaves no cut chart.
TEST(PackExport, AFullDiskFailsTheExportAndLeavesNoCutChart) {
    testing_support::TempProgramFolder folder;
    storeCharts(folder);
    InterfaceTexts texts(folder.file(u"lang.ini"_s));
    const QString packFolder = folder.file(u"pack"_s);
    pack::PackResult result;
    {
        const testing_support::FileSizeLimit full(Gif.size() / 2);
        result = pack::exportPack(
            {folder.chartFolder(), {}, {}, texts, LocaleFormats(u"dd.MM.yyyy"_s, u"HH:mm"_s), Now},
            packFolder);
    }
    EXPECT_FALSE(result.written);
    EXPECT_EQ(result.problem, QString::fromLocal8Bit(std::strerror(EFBIG)));
    EXPECT_TRUE(result.failedPath.startsWith(QDir::toNativeSeparators(packFolder)))
        << qPrintable(result.failedPath);
    EXPECT_EQ(
        QDir(packFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
        QStringList());
}

} // namespace
