// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The main of every test program: the tests run offscreen, with HOME and the XDG folders in a
// temporary folder so that no test reads or writes the user's own settings, and any warning the
// program logs fails the test that did not expect it.
#include <QTemporaryDir>
#include <QtGlobal>
#include <gtest/gtest.h>

#ifdef BRISEL_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

namespace testing_support {
void reportWarning(const QString& message);
}

namespace {

// What the offscreen platform says of itself, not of the program.
bool isPlatformNoise(const QString& message) {
    return message.startsWith(QLatin1String("This plugin does not support"));
}

void messageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtDebugMsg || type == QtInfoMsg || isPlatformNoise(message)) {
        return;
    }
    const QString category = QString::fromLatin1(context.category ? context.category : "");
    testing_support::reportWarning(category.isEmpty() ? message : category + QStringLiteral(": ") + message);
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/.local/share")).toUtf8());
    qputenv("XDG_CACHE_HOME", (home.path() + QStringLiteral("/.cache")).toUtf8());
    qputenv("XDG_STATE_HOME", (home.path() + QStringLiteral("/.local/state")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    TestApplication app(argc, argv);
    qInstallMessageHandler(messageHandler);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
