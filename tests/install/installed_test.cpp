// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The installed program as a user meets it: `cmake --install` into a staging prefix, started with
// a fresh HOME and without --home, against the demo services on loopback.
#include "demo_server.h"
#include "settings/registry_store.h"
#include "test_support.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QDateTime Now(QDate(2007, 4, 10), QTime(23, 0));
constexpr int PatienceMs = 120000;

struct Finished {
    int exitCode = -1;
    QString out;
    QString err;
};

void write(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(content);
}

// Every file and folder below root with its size and time: what a run must leave as it was.
QStringList treeOf(const QString& root) {
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        entries << QStringLiteral("%1 %2 %3")
                       .arg(entry.filePath())
                       .arg(entry.size())
                       .arg(entry.lastModified().toMSecsSinceEpoch());
    }
    entries.sort();
    return entries;
}

// Takes away every write permission below root, or gives the owner's back.
void setWritable(const QString& root, bool writable) {
    QStringList paths{root};
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        paths << it.next();
    }
    constexpr auto AnyWrite =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther | QFileDevice::WriteUser;
    for (const QString& path : paths) {
        const QFileDevice::Permissions now = QFile::permissions(path);
        QFile::setPermissions(path, writable ? now | QFileDevice::WriteOwner | QFileDevice::WriteUser
                                             : now & ~AnyWrite);
    }
}

QString settingsValue(const QString& settingsFile, const QString& name) {
    const reg::Store store(reg::makeFileBackend(settingsFile));
    return store.ReadRegValue(reg::HKEY_CURRENT_USER, QString::fromLatin1(reg::BriselKeyPath), name)
        .toString();
}

class InstalledBrisel : public ::testing::Test {
protected:
    void SetUp() override {
        QProcess install;
        install.start(QStringLiteral(BRISEL_CMAKE),
                      {QStringLiteral("--install"), QStringLiteral(BRISEL_BUILD_DIR),
                       QStringLiteral("--prefix"), prefix.path()});
        ASSERT_TRUE(install.waitForFinished(PatienceMs));
        ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();
    }

    // Gives write permission back, so that the temporary folders can go.
    void TearDown() override {
        setWritable(prefix.path(), true);
        setWritable(stick.path(), true);
    }

    QString installed(const QString& relative) const { return QDir(prefix.path()).filePath(relative); }

    static std::unique_ptr<demo::DemoServer> startServer() {
        demo::ServerOptions options;
        options.now = Now;
        auto server = std::make_unique<demo::DemoServer>(options);
        EXPECT_TRUE(server->start(0));
        return server;
    }

    // The program as a user of that home starts it: no --home, no display unless the window is
    // wanted, and nothing of the test's own folders in its environment.
    static Finished run(const QString& program, const QString& home, const QStringList& arguments) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR",
                                 "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            env.remove(QString::fromLatin1(name));
        }
        env.insert(QStringLiteral("HOME"), home);
        if (arguments.contains(QStringLiteral("--measure-startup"))) {
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        }
        QProcess brisel;
        brisel.setProcessEnvironment(env);
        brisel.start(program, arguments);
        // The demo server answers on its own thread, so waiting here blocks nothing it needs.
        EXPECT_TRUE(brisel.waitForFinished(PatienceMs));
        return {brisel.exitStatus() == QProcess::NormalExit ? brisel.exitCode() : -1,
                QString::fromLocal8Bit(brisel.readAllStandardOutput()),
                QString::fromLocal8Bit(brisel.readAllStandardError())};
    }

    Finished download(const QString& home) const {
        return run(installed(QStringLiteral("bin/brisel")), home,
                   {QStringLiteral("--download"), QStringLiteral("--now"), Now.toString(Qt::ISODate)});
    }

    QTemporaryDir prefix;
    QTemporaryDir stick;
};

TEST_F(InstalledBrisel, AFreshUserFetchesFromTheInstalledHostsAndFollowsThemAtTheNextStart) {
    const auto first = startServer();
    const QString shippedHosts = installed(QStringLiteral("share/brisel/brisel.ini"));
    write(shippedHosts, testing_support::hostsAt(first->baseUrl()));
    setWritable(prefix.path(), false);
    const QStringList installedTree = treeOf(prefix.path());
    QTemporaryDir home;

    const Finished fetched = download(home.path());
    EXPECT_EQ(fetched.exitCode, 0) << qPrintable(fetched.err);
    EXPECT_GT(first->requestCount(), 0);
    const QDir userFolder(home.filePath(QStringLiteral(".local/share/Brisel")));
    EXPECT_FALSE(QDir(userFolder.filePath(QStringLiteral("kaardid"))).isEmpty());
    EXPECT_EQ(userFolder.entryList(QDir::Files), QStringList()) << "nothing of the shipped data is copied";
    EXPECT_EQ(treeOf(prefix.path()), installedTree) << "the installation is only read";

    // A later version moves a service; the same user reaches it at the next start.
    const auto moved = startServer();
    setWritable(shippedHosts, true);
    write(shippedHosts, testing_support::hostsAt(moved->baseUrl()));
    setWritable(shippedHosts, false);
    const int firstRequests = first->requestCount();
    EXPECT_EQ(download(home.path()).exitCode, 0);
    EXPECT_GT(moved->requestCount(), 0);
    EXPECT_EQ(first->requestCount(), firstRequests);
}

TEST_F(InstalledBrisel, APortableFolderKeepsItsSettingsInsideUnlessItCannotBeWritten) {
    const QDir portable(stick.path());
    ASSERT_TRUE(
        QFile::copy(installed(QStringLiteral("bin/brisel")), portable.filePath(QStringLiteral("brisel"))));
    for (const char* name : {"lang.ini", "spots.ini", "brisel.ini"}) {
        ASSERT_TRUE(QFile::copy(installed(QStringLiteral("share/brisel/") + QLatin1String(name)),
                                portable.filePath(QString::fromLatin1(name))));
    }
    write(portable.filePath(QStringLiteral("portable")), "");
    const QString carried = portable.filePath(QStringLiteral("settings.reg"));
    {
        reg::Store store(reg::makeFileBackend(carried));
        store.WriteRegValue(reg::HKEY_CURRENT_USER, QString::fromLatin1(reg::BriselKeyPath),
                            QStringLiteral("Keel"), QStringLiteral("english"));
    }
    const QString program = portable.filePath(QStringLiteral("brisel"));
    QTemporaryDir firstMachine;
    EXPECT_EQ(run(program, firstMachine.path(), {QStringLiteral("--measure-startup")}).exitCode, 0);
    EXPECT_EQ(settingsValue(carried, QStringLiteral("Keel")), QStringLiteral("english"))
        << "read, and saved back";
    EXPECT_EQ(settingsValue(carried, QStringLiteral("Linn")), QStringLiteral("Tartu")) << "saved at exit";
    EXPECT_TRUE(QFileInfo(portable.filePath(QStringLiteral("kaardid"))).isDir());
    EXPECT_FALSE(QFileInfo::exists(firstMachine.filePath(QStringLiteral(".config/Brisel"))));
    EXPECT_FALSE(QFileInfo::exists(firstMachine.filePath(QStringLiteral(".local/share/Brisel"))));

    // Locked against writing, the folder still runs, with the machine's own folders.
    setWritable(stick.path(), false);
    const QStringList lockedTree = treeOf(stick.path());
    QTemporaryDir secondMachine;
    EXPECT_EQ(run(program, secondMachine.path(), {QStringLiteral("--measure-startup")}).exitCode, 0);
    EXPECT_EQ(treeOf(stick.path()), lockedTree);
    EXPECT_TRUE(QFileInfo(secondMachine.filePath(QStringLiteral(".local/share/Brisel/kaardid"))).isDir());
    EXPECT_EQ(settingsValue(secondMachine.filePath(QStringLiteral(".config/Brisel/settings.reg")),
                            QStringLiteral("Keel")),
              QStringLiteral("estonian"));
}

} // namespace
