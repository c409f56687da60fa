// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model_runs.h"

#include <QRegularExpression>

namespace demo {

namespace {

constexpr int runLifetimeHours = 48;

// Steps are written with two digits, three from 100 on; any other spelling names no chart.
bool isCanonicalStep(const QString& text, int step) {
    return text == QStringLiteral("%1").arg(step, 2, 10, QLatin1Char('0'));
}

} // namespace

QDateTime ChartRequest::runStart() const {
    return QDateTime(runDate, QTime(runHour, 0));
}

QDateTime ChartRequest::validTime() const {
    return runStart().addSecs(qint64(step) * 3600);
}

std::optional<ChartRequest> parseChartPath(const QString& path) {
    static thread_local const QRegularExpression pattern(
        QStringLiteral(R"(^/m/EU0/maps/BA/BA\.(w|cc|t10|pc)\.(\d\d)(\d\d)(\d\d)(00|12)\.(\d{2,3})\.gif$)"));
    const QRegularExpressionMatch match = pattern.match(path);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    ChartRequest chart;
    chart.code = match.captured(1);
    chart.runDate =
        QDate(2000 + match.captured(2).toInt(), match.captured(3).toInt(), match.captured(4).toInt());
    chart.runHour = match.captured(5).toInt();
    chart.step = match.captured(6).toInt();
    if (!chart.runDate.isValid() || !isCanonicalStep(match.captured(6), chart.step)) {
        return std::nullopt;
    }
    return chart;
}

bool isRunAvailable(const QDateTime& runStart, const QDateTime& now, int publishAfterHours) {
    const bool published = now >= runStart.addSecs(qint64(publishAfterHours) * 3600);
    const bool expired = runStart < now.addSecs(-qint64(runLifetimeHours) * 3600);
    return published && !expired;
}

} // namespace demo
