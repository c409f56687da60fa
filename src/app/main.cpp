#include "app/command_line.h"
#include "app/form1.h"
#include "app/headless_run.h"
#include "app/startup_probe.h"
#include "net/fetch.h"
#include "platform/clock.h"
#include "platform/desktop_shell.h"
#include "settings/interface_texts.h"
#include "settings/registry_store.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <cstdio>
#include <cstring>

namespace {

// --version and --download are served without a display, so they are looked for before the GUI
// exists.
bool asksFor(int argc, char** argv, const char* option) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], option) == 0) {
            return true;
        }
    }
    return false;
}

void nameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("Brisel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BRISEL_VERSION));
}

void showSettingsError(const QString& message) {
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), message, QMessageBox::Ok);
    box.exec();
}

} // namespace

int main(int argc, char** argv) {
    if (asksFor(argc, argv, "--version")) {
        std::printf("%s\n", BRISEL_VERSION);
        return 0;
    }
    if (asksFor(argc, argv, "--download")) {
        QCoreApplication app(argc, argv);
        nameApplication();
        return runDownloadWithoutWindow(QCoreApplication::arguments());
    }
    QApplication app(argc, argv);
    nameApplication();

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Weather charts for sailors, online and offline."));
    parser.addHelpOption();
    const QCommandLineOption home = command_line::home();
    const QCommandLineOption measure(
        QStringLiteral("measure-startup"),
        QStringLiteral("Print when the window was first painted and the memory it "
                       "took, then close."));
    parser.addOptions({home, command_line::now(), command_line::download(), measure});
    parser.process(app);
    QString clockError;
    const std::unique_ptr<Clock> clock = command_line::clock(parser, &clockError);
    if (!clock) {
        std::fprintf(stderr, "brisel: %s\n", qPrintable(clockError));
        return 1;
    }

    const ProgramFolder folder =
        ProgramFolder::choose(parser.value(home), QCoreApplication::applicationDirPath());
    if (!folder.prepare()) {
        std::fprintf(stderr, "brisel: cannot make the chart folder in %s\n", qPrintable(folder.root()));
    }
    reg::Store store(reg::makeDefaultBackend());
    store.setErrorReporter(showSettingsError);
    InterfaceTexts texts(folder.langIni());
    DesktopShell shell;
    const HostConfig hosts = HostConfig::load(folder.briselIni());
    Downloader downloader;
    downloader.setLimits(hosts.fetchLimits);

    Form1 form({folder, store, texts, *clock, hosts, shell, downloader, LocaleFormats::system()});
    form.Form_Load();
    if (parser.isSet(measure)) {
        new StartupProbe(&form);
    }
    form.show();
    return QApplication::exec();
}
