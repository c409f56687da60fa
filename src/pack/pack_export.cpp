// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pack/pack_export.h"

#include "net/chart_names.h"
#include "pack/pack_contents.h"
#include "pack/pack_page.h"
#include "pack/pack_zip.h"
#include "platform/picture_check.h"
#include "platform/stored_files.h"
#include "viewer/chart_folder_listing.h"

#include <QDir>
#include <QFileInfo>
#include <functional>

namespace pack {
namespace {

const QString PageName = QStringLiteral("index.html");

// Takes a chart that goes into the pack, its bytes as they were judged; the reason when it cannot.
using TakeChart = std::function<Expected<void>(const QString& name, const QByteArray& bytes)>;

PackResult failure(const QString& path, const QString& problem) {
    PackResult result;
    result.failedPath = QDir::toNativeSeparators(path);
    result.problem = problem;
    return result;
}

bool isZip(const QString& target) {
    return target.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive);
}

// Copying a chart over itself would first remove it.
bool isChartFolder(const QString& target, const QString& chartFolder) {
    const QFileInfo folder(target);
    return folder.exists() && folder.canonicalFilePath() == QFileInfo(chartFolder).canonicalFilePath();
}

// What the pack carries of the stored charts that are whole pictures: one cut short, a bomb or a
// file that cannot be read counts as not stored, so its hour shows a stand-in, as in the window.
// Each chart is read once and handed to `take` as judged. Leaving a chart out changes only the
// hours that showed it, so a chart taken once stays in the pack.
Expected<PackContents> wholeContents(const PackRequest& request, const TakeChart& take) {
    QSet<QString> usable = chartFileNames(request.chartFolder);
    QSet<QString> taken;
    for (;;) {
        const PackContents contents = packContents(usable, request.now.date(), request.spots);
        bool allWhole = true;
        for (const QString& name : contents.files()) {
            if (taken.contains(name)) {
                continue;
            }
            const Expected<QByteArray> bytes =
                readRegularFile(chartPath(request.chartFolder, name), LargestPictureFile);
            if (!bytes || judgePicture(*bytes) != PictureVerdict::Whole) {
                usable.remove(name);
                allWhole = false;
                continue;
            }
            if (const Expected<void> took = take(name, *bytes); !took) {
                return failed(took.error());
            }
            taken.insert(name);
        }
        if (allWhole) {
            return contents;
        }
    }
}

QByteArray page(const PackRequest& request, const PackContents& contents) {
    PageContext context{request.texts, request.formats, request.now, request.chosenSpot, {}};
    for (const QString& name : contents.files()) {
        context.modified.insert(name, QFileInfo(chartPath(request.chartFolder, name)).lastModified());
    }
    return pageHtml(pageData(contents, context));
}

PackResult writeFolder(const PackRequest& request, const QString& target) {
    if (isChartFolder(target, request.chartFolder)) {
        return failure(target, QStringLiteral("the chart folder itself cannot take the pack"));
    }
    if (!QDir().mkpath(target)) {
        return failure(target, QStringLiteral("cannot make the folder"));
    }
    const QDir folder(target);
    qint64 bytes = 0;
    QString lastCopy;
    const Expected<PackContents> contents =
        wholeContents(request, [&](const QString& name, const QByteArray& chart) {
            lastCopy = folder.filePath(name);
            bytes += chart.size();
            return saveFile(lastCopy, chart);
        });
    if (!contents) {
        return failure(lastCopy, contents.error());
    }
    // Written last: a page never names a chart that is not beside it yet.
    const QByteArray index = page(request, *contents);
    if (const Expected<void> saved = saveFile(folder.filePath(PageName), index); !saved) {
        return failure(folder.filePath(PageName), saved.error());
    }
    return {.written = true,
            .files = static_cast<int>(contents->files().size()) + 1,
            .bytes = bytes + index.size()};
}

PackResult writeZipFile(const PackRequest& request, const QString& target) {
    const QFileInfo zip(target);
    if (!QDir().mkpath(zip.absolutePath())) {
        return failure(zip.absolutePath(), QStringLiteral("cannot make the folder"));
    }
    const QString root = zip.completeBaseName() + QLatin1Char('/');
    QVector<ZipEntry> entries;
    const Expected<PackContents> contents =
        wholeContents(request, [&](const QString& name, const QByteArray& chart) -> Expected<void> {
            entries.append({root + name, chart, ZipEntry::AsItIs});
            return {};
        });
    if (!contents) {
        return failure(target, contents.error());
    }
    entries.append({root + PageName, page(request, *contents), ZipEntry::Compressed});
    if (const Expected<void> zipped = writeZip(target, entries); !zipped) {
        return failure(target, zipped.error());
    }
    return {.written = true, .files = static_cast<int>(entries.size()), .bytes = QFileInfo(target).size()};
}

} // namespace

PackResult exportPack(const PackRequest& request, const QString& target) {
    return isZip(target) ? writeZipFile(request, target) : writeFolder(request, target);
}

} // namespace pack
