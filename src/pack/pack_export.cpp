#include "pack/pack_export.h"

#include "net/chart_names.h"
#include "pack/pack_contents.h"
#include "pack/pack_page.h"
#include "pack/pack_zip.h"
#include "viewer/chart_folder_listing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <filesystem>

namespace pack {
namespace {

const QString PageName = QStringLiteral("index.html");

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

// A plain copy in place of what lay there. QFile::copy would make each copy safe on the disk
// before the next, one wait for the disk per chart, seconds for a week's; and a file cut back
// and written again makes some file systems (ext4) wait for the disk as well. A pack cut short
// is made again in a moment.
bool copyFile(const QString& from, const QString& to) {
    std::error_code error;
    const std::filesystem::path copy = QFileInfo(to).filesystemFilePath();
    std::filesystem::remove(copy, error);
    return std::filesystem::copy_file(QFileInfo(from).filesystemFilePath(), copy, error);
}

PackResult writeFolder(const QString& target, const QString& chartFolder, const QStringList& files,
                       const QByteArray& page) {
    if (isChartFolder(target, chartFolder)) {
        return failure(target, QStringLiteral("the chart folder itself cannot take the pack"));
    }
    if (!QDir().mkpath(target)) {
        return failure(target, QStringLiteral("cannot make the folder"));
    }
    const QDir folder(target);
    qint64 bytes = 0;
    for (const QString& name : files) {
        const QString copy = folder.filePath(name);
        if (!copyFile(chartPath(chartFolder, name), copy)) {
            return failure(copy, QStringLiteral("cannot copy the chart there"));
        }
        bytes += QFileInfo(copy).size();
    }
    // Written last: a page never names a chart that is not beside it yet.
    QSaveFile index(folder.filePath(PageName));
    if (!index.open(QIODevice::WriteOnly) || index.write(page) != page.size() || !index.commit()) {
        return failure(index.fileName(), index.errorString());
    }
    return {true, static_cast<int>(files.size()) + 1, bytes + page.size(), {}, {}};
}

PackResult writeZipFile(const QString& target, const QString& chartFolder, const QStringList& files,
                        const QByteArray& page) {
    const QFileInfo zip(target);
    if (!QDir().mkpath(zip.absolutePath())) {
        return failure(zip.absolutePath(), QStringLiteral("cannot make the folder"));
    }
    const QString root = zip.completeBaseName() + QLatin1Char('/');
    QVector<ZipEntry> entries;
    for (const QString& name : files) {
        entries.append({root + name, chartPath(chartFolder, name), {}});
    }
    entries.append({root + PageName, {}, page});
    QString problem;
    if (!writeZip(target, entries, &problem)) {
        return failure(target, problem);
    }
    return {true, static_cast<int>(entries.size()), QFileInfo(target).size(), {}, {}};
}

} // namespace

PackResult exportPack(const PackRequest& request, const QString& target) {
    const PackContents contents =
        packContents(chartFileNames(request.chartFolder), request.now.date(), request.spots);
    const QStringList files = contents.files();
    PageContext context{request.texts, request.formats, request.now, request.chosenSpot, {}};
    for (const QString& name : files) {
        context.modified.insert(name, QFileInfo(chartPath(request.chartFolder, name)).lastModified());
    }
    const QByteArray page = pageHtml(pageData(contents, context));
    return isZip(target) ? writeZipFile(target, request.chartFolder, files, page)
                         : writeFolder(target, request.chartFolder, files, page);
}

} // namespace pack
