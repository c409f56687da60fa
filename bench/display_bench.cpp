// The display routine with every picture present: a provider chart (468x510) and both sailing
// maps for every hour, in a chart folder of the demo service's own pictures. Prints the median
// time of one call and the time of a drag over all 169 hours, each step a real Scroll.
#include "app/form1.h"
#include "demo_server.h"
#include "gif_encoder.h"
#include "model_runs.h"
#include "net/chart_names.h"
#include "net/fetch.h"
#include "pictures.h"
#include "platform/clock.h"
#include "platform/desktop_shell.h"
#include "settings/interface_texts.h"
#include "settings/registry_store.h"
#include "viewer/chart_view.h"
#include "viewer/time_slider.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const QDate Today(2007, 4, 10);

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
    }
}

// One provider chart per hour value the slider can ask for, and the two maps of every slot.
void fillChartFolder(const QString& folder) {
    const QByteArray chart = demo::encodeGif(demo::drawAreaChart({QStringLiteral("w"), Today, 0, 12}));
    for (int hourValue = -2; hourValue <= 166; ++hourValue) {
        const SliderMoment moment = sliderMoment(Today, hourValue);
        write(halofail(folder, moment.date, moment.hour, 0, QStringLiteral("w")), chart);
    }
    for (const QString& code : {MainlandMapCode, IslandsMapCode}) {
        const QByteArray map = demo::encodeGif(demo::drawSailingMap(code, QDateTime(Today, QTime(12, 0))));
        for (int p = 0; p <= 168; p += 3) {
            write(chartPath(folder, sailingMap(QUrl(), Today, p, code).fileName), map);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QTemporaryDir home;
    for (const char* name : {"lang.ini", "spots.ini", "brisel.ini"}) {
        QFile::copy(QStringLiteral(BRISEL_DATA_DIR "/") + QLatin1String(name),
                    home.filePath(QLatin1String(name)));
    }
    QDir(home.path()).mkpath(QStringLiteral("kaardid"));
    const ProgramFolder folder(home.path());
    fillChartFolder(folder.chartFolder());

    reg::Store store(reg::makeFileBackend(home.filePath(QStringLiteral("settings.reg"))));
    store.WriteRegValue(reg::HKEY_CURRENT_USER, QString::fromLatin1(reg::BriselKeyPath),
                        QStringLiteral("Kustuta vanad allalaetud kaardid"), 0);
    InterfaceTexts texts(folder.langIniLayers());
    FixedClock clock(QDateTime(Today, QTime(12, 0)));
    DesktopShell shell;
    Downloader downloader;
    Form1 form({folder, store, texts, clock, HostConfig::load(folder.briselIni()), shell, downloader,
                LocaleFormats::system()});
    form.Form_Load();
    form.show();
    QApplication::processEvents();
    auto* slider = form.findChild<TrackBar*>(QStringLiteral("Slider1"));

    std::vector<double> calls;
    for (int round = 0; round < 3; ++round) {
        for (int p = 0; p <= 168; ++p) {
            slider->setValue(p);
            QElapsedTimer timer;
            timer.start();
            form.chartView().Slider1_Scroll();
            calls.push_back(timer.nsecsElapsed() / 1e6);
        }
    }
    std::sort(calls.begin(), calls.end());

    // A drag: the keyboard's steps are Scroll notifications like the thumb's, without a pointer.
    slider->setValue(0);
    slider->setFocus();
    QElapsedTimer drag;
    drag.start();
    for (int p = 0; p < 168; ++p) {
        QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QApplication::sendEvent(slider, &right);
    }
    const double dragMs = drag.nsecsElapsed() / 1e6;

    std::printf("calls=%zu\n", calls.size());
    std::printf("slider1_scroll_ms_median=%.3f\n", calls[calls.size() / 2]);
    std::printf("slider1_scroll_ms_p95=%.3f\n", calls[calls.size() * 95 / 100]);
    std::printf("drag_169_hours_ms=%.1f\n", dragMs);
    return slider->value() == 168 ? 0 : 1;
}
