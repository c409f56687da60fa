#include "app/clock.h"
#include "app/desktop_shell.h"
#include "app/form1.h"
#include "app/startup_probe.h"
#include "download/fetch.h"
#include "settings/interface_texts.h"
#include "settings/registry_store.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <cstdio>
#include <cstring>

namespace {

// --version answers without a display, before the GUI exists.
bool asksForVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            return true;
        }
    }
    return false;
}

void showSettingsError(const QString& message) {
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), message, QMessageBox::Ok);
    box.exec();
}

} // namespace

int main(int argc, char** argv) {
    if (asksForVersion(argc, argv)) {
        std::printf("%s\n", BRISEL_VERSION);
        return 0;
    }
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Brisel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BRISEL_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Weather charts for sailors, online and offline."));
    parser.addHelpOption();
    const QCommandLineOption home(QStringLiteral("home"), QStringLiteral("Use DIR as the program folder."),
                                  QStringLiteral("DIR"));
    const QCommandLineOption measure(
        QStringLiteral("measure-startup"),
        QStringLiteral("Print when the window was first painted and the memory it "
                       "took, then close."));
    parser.addOption(home);
    parser.addOption(measure);
    parser.process(app);

    const ProgramFolder folder =
        ProgramFolder::choose(parser.value(home), QCoreApplication::applicationDirPath());
    if (!folder.prepare()) {
        std::fprintf(stderr, "brisel: cannot make the chart folder in %s\n", qPrintable(folder.root()));
    }
    reg::Store store(reg::makeDefaultBackend());
    store.setErrorReporter(showSettingsError);
    InterfaceTexts texts(folder.langIni());
    SystemClock clock;
    DesktopShell shell;
    const HostConfig hosts = HostConfig::load(folder.briselIni());
    Downloader downloader;
    downloader.setTransferTimeout(hosts.transferTimeout);

    Form1 form({folder, store, texts, clock, hosts, shell, downloader});
    form.Form_Load();
    if (parser.isSet(measure)) {
        new StartupProbe(&form);
    }
    form.show();
    return QApplication::exec();
}
