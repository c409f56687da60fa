#include "app/command_line.h"

#include "platform/clock.h"

#include <QCommandLineParser>

namespace command_line {

QCommandLineOption home() {
    return {QStringLiteral("home"), QStringLiteral("Use DIR as the program folder."), QStringLiteral("DIR")};
}

QCommandLineOption now() {
    return {QStringLiteral("now"),
            QStringLiteral("Take MOMENT (e.g. 2007-04-10T06:00:00, local time) as the current time, "
                           "for testing and scheduling."),
            QStringLiteral("MOMENT")};
}

QCommandLineOption download() {
    return {QStringLiteral("download"),
            QStringLiteral("Download the charts as the window's button would, without a window, "
                           "then exit.")};
}

std::unique_ptr<Clock> clock(const QCommandLineParser& parser, QString* error) {
    if (!parser.isSet(now())) {
        return std::make_unique<SystemClock>();
    }
    const QDateTime moment = QDateTime::fromString(parser.value(now()), Qt::ISODate);
    if (!moment.isValid()) {
        *error = QStringLiteral("--now takes a date and time such as 2007-04-10T06:00:00");
        return nullptr;
    }
    return std::make_unique<FixedClock>(moment);
}

} // namespace command_line
