// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The display routine with every picture present: a provider chart (468x510) and both sailing
// maps for every hour, in a chart folder of the demo service's own pictures. Prints, beside the
// reference of the same run (the three pictures of an hour read from disk by QImageReader, timed
// in turn with the routine at each hour), the median time of one call over the first pass through
// the week, when no picture has been decoded yet, and over the three passes after it, and the time
// of a drag over all 169 hours, each step a real Scroll and a paint of the window. The same calls
// followed by a paint of the whole window are timed apart, so that drawing the pictures at the
// window's size is timed too.
//
// display_bench [--size minimum|WIDTHxHEIGHT]: the window's size, its minimum size by default.
#include "app/form1.h"
#include "demo_server.h"
#include "gif_encoder.h"
#include "model_runs.h"
#include "net/chart_names.h"
#include "net/fetch.h"
#include "net/file_origin.h"
#include "pictures.h"
#include "platform/clock.h"
#include "platform/desktop_shell.h"
#include "platform/stored_files.h"
#include "settings/interface_texts.h"
#include "settings/registry_store.h"
#include "viewer/chart_display.h"
#include "viewer/chart_view.h"
#include "viewer/time_slider.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

namespace {

const QDate Today(2007, 4, 10);

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
    }
}

// One provider chart per hour value the slider can ask for, each recording the address of its
// run as a fetch does, so the display reads it back; and the two maps of every slot.
void fillChartFolder(const QString& folder) {
    const QByteArray chart = demo::encodeGif(demo::drawAreaChart({QStringLiteral("w"), Today, 0, 12}));
    const QUrl provider(QStringLiteral("http://127.0.0.1:1"));
    for (int hourValue = -2; hourValue <= 166; ++hourValue) {
        const SliderMoment moment = sliderMoment(Today, hourValue);
        const QString path = halofail(folder, moment.date, moment.hour, 0, QStringLiteral("w"));
        write(path, chart);
        const QUrl address = halourl(provider, Today, moment.date, moment.hour, 0, QStringLiteral("w"));
        if (!writeFileOrigin(path, FileOrigin{address.toEncoded(), {}, {}})) {
            std::fprintf(stderr, "cannot record the address of %s\n", qPrintable(path));
        }
    }
    for (const QString& code : {MainlandMapCode, IslandsMapCode}) {
        const QByteArray map = demo::encodeGif(demo::drawSailingMap(code, QDateTime(Today, QTime(12, 0))));
        for (int p = 0; p <= 168; p += 3) {
            write(chartPath(folder, sailingMap(QUrl(), Today, p, code).fileName), map);
        }
    }
}

// What the display routine is measured against: the chart shown at hour p and both sailing maps,
// read and decoded from disk as any Qt program would.
void readThreePictures(const QString& chartFolder, int p) {
    const QStringList candidates = viewer::providerCandidates(chartFolder, Today, p, QStringLiteral("w"));
    const QString chart = viewer::chooseCandidate(candidates, isRegularFile);
    for (const QString& path :
         {chart, chartPath(chartFolder, sailingMap(QUrl(), Today, p, MainlandMapCode).fileName),
          chartPath(chartFolder, sailingMap(QUrl(), Today, p, IslandsMapCode).fileName)}) {
        if (QImageReader(path).read().isNull()) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        }
    }
}

// The milliseconds of each call, sorted: the reference's and the routine's, taken in turn at each
// slider hour, so that both see the machine as it is at that moment.
struct Times {
    std::vector<double> reference;
    std::vector<double> routine;
};

double millisecondsOf(const std::function<void()>& call) {
    QElapsedTimer timer;
    timer.start();
    call();
    return timer.nsecsElapsed() / 1e6;
}

// Every slider hour `rounds` times over: the reference, the thumb moved untimed, the routine.
Times eachHour(int rounds, const std::function<void(int)>& reference,
               const std::function<void(int)>& moveThumb, const std::function<void()>& routine) {
    Times times;
    for (int round = 0; round < rounds; ++round) {
        for (int p = 0; p <= 168; ++p) {
            times.reference.push_back(millisecondsOf([&] { reference(p); }));
            moveThumb(p);
            times.routine.push_back(millisecondsOf(routine));
        }
    }
    std::sort(times.reference.begin(), times.reference.end());
    std::sort(times.routine.begin(), times.routine.end());
    return times;
}

double percentile(const std::vector<double>& sorted, int percent) {
    return sorted[sorted.size() * percent / 100];
}

double median(const std::vector<double>& sorted) {
    return percentile(sorted, 50);
}

// The size asked for on the command line; nothing for the window's minimum size.
std::optional<QSize> askedSize(const QApplication& app) {
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("size"), QStringLiteral("The window's size: minimum or WIDTHxHEIGHT."),
                      QStringLiteral("size"), QStringLiteral("minimum")});
    parser.process(app);
    const QStringList sides = parser.value(QStringLiteral("size")).split(u'x');
    if (sides.size() != 2) {
        return std::nullopt;
    }
    return QSize(sides[0].toInt(), sides[1].toInt());
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
    form.resize(askedSize(app).value_or(form.minimumSize()));
    QApplication::processEvents();
    auto* slider = form.findChild<TrackBar*>(QStringLiteral("Slider1"));

    const auto reference = [&folder](int p) {
        readThreePictures(folder.chartFolder(), p);
    };
    const auto moveThumb = [slider](int p) {
        slider->setValue(p);
    };
    const auto scroll = [&form] {
        form.chartView().Slider1_Scroll();
    };
    const auto scrollAndPaint = [&form] {
        form.chartView().Slider1_Scroll();
        form.repaint();
    };
    const Times firstPass = eachHour(1, reference, moveThumb, scroll);
    const Times later = eachHour(3, reference, moveThumb, scroll);
    const Times painted = eachHour(2, reference, moveThumb, scrollAndPaint);
    std::vector<double> references = firstPass.reference;
    references.insert(references.end(), later.reference.begin(), later.reference.end());
    std::sort(references.begin(), references.end());

    // A drag: the keyboard's steps are Scroll notifications like the thumb's, without a pointer.
    slider->setValue(0);
    slider->setFocus();
    QElapsedTimer drag;
    drag.start();
    for (int p = 0; p < 168; ++p) {
        QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QApplication::sendEvent(slider, &right);
        form.repaint();
    }
    const double dragMs = drag.nsecsElapsed() / 1e6;

    // Each ratio is taken against the reference timed beside the same calls.
    std::printf("window=%dx%d\n", form.width(), form.height());
    std::printf("chart=%dx%d\n", form.chartView().markerMap()->width(),
                form.chartView().markerMap()->height());
    std::printf("calls=%zu\n", later.routine.size());
    std::printf("pictures_kept_mb=%.1f\n", form.chartView().pictures().bytes() / 1e6);
    std::printf("load_three_pictures_ms_median=%.3f\n", median(references));
    std::printf("first_pass_ms_median=%.3f\n", median(firstPass.routine));
    std::printf("first_pass_vs_reference=%.2f\n", median(firstPass.routine) / median(firstPass.reference));
    std::printf("slider1_scroll_ms_median=%.3f\n", median(later.routine));
    std::printf("slider1_scroll_vs_reference=%.3f\n", median(later.routine) / median(later.reference));
    std::printf("slider1_scroll_ms_p95=%.3f\n", percentile(later.routine, 95));
    std::printf("scroll_and_paint_ms_median=%.3f\n", median(painted.routine));
    std::printf("scroll_and_paint_vs_reference=%.3f\n", median(painted.routine) / median(painted.reference));
    std::printf("drag_169_hours_ms=%.1f\n", dragMs);
    return slider->value() == 168 ? 0 : 1;
}
