#pragma once

#include <QCommandLineOption>
#include <QString>
#include <memory>

class Clock;
class QCommandLineParser;

// The options the window and the run without it read alike.
namespace command_line {

QCommandLineOption home();
QCommandLineOption now();
QCommandLineOption download();

// The clock the program runs on: the system clock, or with --now a clock that stands at that
// moment (ISO 8601, local time), so a test or a scheduled run can fetch as of a given hour.
// nullptr, and what to tell the user in *error, when --now holds no date and time.
std::unique_ptr<Clock> clock(const QCommandLineParser& parser, QString* error);

} // namespace command_line
