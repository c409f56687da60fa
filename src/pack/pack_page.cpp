// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pack/pack_page.h"

#include "platform/locale_formats.h"
#include "settings/interface_texts.h"
#include "viewer/display_texts.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace pack {
namespace {

// Where the data goes in the page's template: the content of a script element of type
// application/json.
constexpr char DataMarker[] = "{{PACK_DATA}}";

// One of the program's pictures written into the page, so the page needs no file beside the charts.
QString pictureData(const char* fileName) {
    QFile picture(QStringLiteral(":/data/pictures/") + QString::fromLatin1(fileName));
    if (!picture.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QString type =
        picture.fileName().endsWith(QLatin1String(".gif")) ? QStringLiteral("gif") : QStringLiteral("png");
    return QStringLiteral("data:image/%1;base64,").arg(type) +
           QString::fromLatin1(picture.readAll().toBase64());
}

QJsonArray hoursData(const PackContents& contents, const PageContext& context) {
    const QDate today = context.now.date();
    QJsonArray hours;
    for (int p = 0; p < contents.hours.size(); ++p) {
        const PackHour& hour = contents.hours[p];
        QJsonArray charts;
        for (const QString& chart : hour.providerCharts) {
            charts.append(chart);
        }
        hours.append(QJsonObject{
            {QStringLiteral("caption"), viewer::windowCaption(context.formats, today, p)},
            {QStringLiteral("charts"), charts},
            {QStringLiteral("sailing"), QJsonArray{hour.mainlandMap, hour.islandsMap}},
            {QStringLiteral("sailingLabel"), viewer::sailingMapsAt(context.formats, today, p).label},
        });
    }
    return hours;
}

QJsonArray familiesData(const InterfaceTexts& texts) {
    QJsonArray families;
    for (const viewer::FamilyTab& tab : viewer::FamilyTabs) {
        families.append(QJsonObject{
            {QStringLiteral("caption"), QString::fromUtf8(tab.caption)},
            {QStringLiteral("tooltip"), texts.keeltekst(QString::fromLatin1(tab.tooltipKey))},
            {QStringLiteral("picture"), pictureData(tab.picture)},
        });
    }
    return families;
}

QJsonArray spotsData(const PackContents& contents) {
    QJsonArray spots;
    for (const PackSpot& spot : contents.spots) {
        spots.append(
            QJsonObject{{QStringLiteral("name"), spot.name},
                        {QStringLiteral("meteograms"), QJsonArray::fromStringList(spot.meteograms)}});
    }
    return spots;
}

QJsonObject downloadedData(const PageContext& context) {
    QJsonObject downloaded;
    for (auto file = context.modified.cbegin(); file != context.modified.cend(); ++file) {
        downloaded.insert(file.key(), viewer::downloadTimeText(context.texts, context.formats, file.value()));
    }
    return downloaded;
}

QJsonObject textsData(const InterfaceTexts& texts) {
    const auto text = [&texts](const char* key) {
        return texts.keeltekst(QString::fromLatin1(key));
    };
    return {{QStringLiteral("city"), text("city")},
            {QStringLiteral("waves"), text("waveinfo")},
            {QStringLiteral("slider"), text("tooltipslider")},
            {QStringLiteral("stored"), text("tooltipstored")}};
}

// JSON inside a script element: "</script" or "<!--" in a spot's name would end or bend the
// element, so every '<' is written as a JSON escape, which JSON.parse reads back as it was; '>'
// and '&' go the same way for good measure. Outside strings JSON has none of the three.
QByteArray scriptElementJson(const QJsonObject& data) {
    QByteArray json = QJsonDocument(data).toJson(QJsonDocument::Compact);
    return json.replace('<', "\\u003c").replace('>', "\\u003e").replace('&', "\\u0026");
}

} // namespace

QJsonObject pageData(const PackContents& contents, const PageContext& context) {
    const QDate today = context.now.date();
    QJsonArray dayLabels;
    for (int day = 0; day < MeteogramReach; ++day) {
        dayLabels.append(viewer::dayLabelText(context.texts, today.addDays(day)));
    }
    return {
        {QStringLiteral("lang"), InterfaceTexts::localeOf(context.texts.language()).bcp47Name()},
        {QStringLiteral("today"), today.toString(Qt::ISODate)},
        {QStringLiteral("startHour"), viewer::startSliderHour(context.now.time())},
        {QStringLiteral("hours"), hoursData(contents, context)},
        {QStringLiteral("families"), familiesData(context.texts)},
        {QStringLiteral("placeholder"), pictureData("placeholder.gif")},
        {QStringLiteral("dayLabels"), dayLabels},
        {QStringLiteral("meteogramDays"), viewer::MeteogramDays},
        {QStringLiteral("spots"), spotsData(contents)},
        {QStringLiteral("spot"), context.chosenSpot},
        {QStringLiteral("waveMaps"), QJsonArray::fromStringList(contents.waveMaps)},
        {QStringLiteral("downloaded"), downloadedData(context)},
        {QStringLiteral("texts"), textsData(context.texts)},
    };
}

QByteArray pageHtml(const QJsonObject& data) {
    QFile page(QStringLiteral(":/pack/pack_page.html"));
    if (!page.open(QIODevice::ReadOnly)) {
        qFatal("The pack's page is missing from the program's resources");
    }
    QByteArray html = page.readAll();
    Q_ASSERT(html.count(DataMarker) == 1);
    return html.replace(DataMarker, scriptElementJson(data));
}

} // namespace pack
