// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Fetches onto a file system that keeps no extended attributes (a memory stick's), made for this
// test by tests/support/with-own-disk.sh (a ramfs in a user namespace): nothing is kept fresh or
// asked for conditionally there, and every download is a whole one.
#include "gif_encoder.h"
#include "hostile_server.h"
#include "net/fetch.h"
#include "net/file_origin.h"
#include "test_support.h"

#include <QFile>
#include <QImage>
#include <cerrno>
#include <gtest/gtest.h>
#include <sys/xattr.h>

namespace {

// The disk the wrapper mounted, when it truly keeps no attributes; otherwise the test fails.
QString diskWithoutAttributes() {
    const QString disk = qEnvironmentVariable("BRISEL_OWN_DISK");
    const QByteArray probe = QFile::encodeName(disk + QStringLiteral("/probe"));
    QFile file(QString::fromLocal8Bit(probe));
    if (disk.isEmpty() || !file.open(QIODevice::WriteOnly) ||
        setxattr(probe.constData(), "user.probe", "x", 1, 0) == 0 || errno != ENOTSUP) {
        ADD_FAILURE() << "BRISEL_OWN_DISK keeps attributes: run this program through with-own-disk.sh ramfs";
        return {};
    }
    file.remove();
    return disk;
}

} // namespace

TEST(PlainDisk, EveryRunFetchesWholeAndStoresTheChart) {
    const QString disk = diskWithoutAttributes();
    ASSERT_FALSE(disk.isEmpty());
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    const QByteArray chart = demo::encodeGif(image);
    const testing_support::HostileServer server(
        {"HTTP/1.1 200 OK\r\nCache-Control: max-age=600\r\nETag: \"v1\"\r\nContent-Length: " +
             QByteArray::number(chart.size()),
         chart,
         0,
         {},
         testing_support::HostileReply::End::KeepAlive});
    const testing_support::TempProgramFolder program(disk);
    Downloader downloader;
    const QString target = program.chartFolder() + QStringLiteral("chart.gif");
    for (int run = 1; run <= 2; ++run) {
        const FetchResult result = QCoro::waitFor(
            downloader.fetch(server.url(QStringLiteral("/chart.gif")), target, Refresh::IfStale));
        EXPECT_TRUE(result.ok) << result.error.toStdString();
        EXPECT_EQ(result.httpStatus, 200) << "run " << run;
        EXPECT_FALSE(server.lastRequest().contains("If-None-Match")) << "run " << run;
        EXPECT_EQ(server.requestsAnswered(), run);
        QFile stored(target);
        ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
        EXPECT_EQ(stored.readAll(), chart);
    }
    EXPECT_FALSE(readFileOrigin(target).has_value());
}
