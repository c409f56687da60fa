// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/wave_map_window.h"

#include "net/chart_names.h"
#include "net/fetch.h"
#include "net/fetch_reason.h"
#include "net/fetch_session.h"
#include "platform/control_names.h"
#include "platform/escape_closes.h"
#include "platform/stored_files.h"
#include "settings/interface_texts.h"
#include "viewer/picture_box.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QVBoxLayout>
#include <vector>

namespace {

// While a fetch runs the button stops it; its tag says whether the fetch should go on, and has
// none when no fetch runs.
const char* const Tag = "tag";
const QString GoOn = QStringLiteral("laadi");
const QString StopAsked = QStringLiteral("stop");

constexpr QSize MapSize(400, 400);

// Map k is of the lead time 3k hours.
int leadHours(int index) {
    return 3 * index;
}

// A map as the status bar names it: its file and its lead time, "wave27.gif (+27 h)"; the address
// would not fit.
QString mapName(int index) {
    return QStringLiteral("%1 (+%2 h)").arg(waveMapFile(index)).arg(leadHours(index));
}

QIcon picturesIn(const QIcon& pair, QIcon::Mode mode) {
    QIcon one;
    for (const QSize& size : pair.availableSizes(mode)) {
        one.addPixmap(pair.pixmap(size, mode), QIcon::Normal);
    }
    return one;
}

} // namespace

WaveMapWindow::WaveMapWindow(WaveMapServices services, QWidget* owner)
    : QWidget(owner, Qt::Window), Picture1(named(new QLabel(this), QStringLiteral("Picture1"))),
      Slider1(named(new QSlider(Qt::Vertical, this), QStringLiteral("Slider1"))),
      Command2(named(new QPushButton(QStringLiteral("Laadi kaardid"), this), QStringLiteral("Command2"))),
      StatusBar(named(new QStatusBar(this), QStringLiteral("StatusBar"))), m_services(std::move(services)),
      m_normalPicture(picturesIn(m_services.downloadPictures, QIcon::Normal)),
      m_stopPicture(picturesIn(m_services.downloadPictures, QIcon::Disabled)) {
    setObjectName(QStringLiteral("iltamerinyt"));
    setWindowTitle(QStringLiteral("Iltameri nyt"));
    setAttribute(Qt::WA_DeleteOnClose);
    Picture1->setFixedSize(MapSize);
    Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Position 1, the nearest lead time, at the top.
    Slider1->setRange(1, WaveMapCount);
    Slider1->setInvertedAppearance(true);
    // Inverted with the appearance, so that Up and Page Up move the thumb up as they point.
    Slider1->setInvertedControls(true);
    Slider1->setTickPosition(QSlider::TicksRight);
    Command2->setIconSize(QSize(24, 24));
    StatusBar->setSizeGripEnabled(false);
    closeOnEscape(this);

    auto* mapRow = new QHBoxLayout;
    mapRow->addWidget(Picture1);
    mapRow->addWidget(Slider1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(mapRow);
    layout->addWidget(Command2, 0, Qt::AlignLeft);
    layout->addWidget(StatusBar);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Command2, &QPushButton::clicked, this, &WaveMapWindow::Command2_Click);
    connect(Slider1, &QSlider::valueChanged, this, &WaveMapWindow::Slider1_Change);
    Slider1_Change();
    restoreButton();
}

void WaveMapWindow::Command2_Click() {
    if (Command2->property(Tag).toString() != GoOn) {
        laadikaardid();
        return;
    }
    Command2->setProperty(Tag, StopAsked);
    Command2->setEnabled(false);
}

// All eighteen are asked for at once and fetched side by side, as many at a time as the fetch
// limits allow; the window tells of them one by one in order. From a Stop on no map is asked for;
// those on their way are still stored, the map being told is shown, and the fetch ends.
QCoro::Task<> WaveMapWindow::laadikaardid() {
    const QPointer<WaveMapWindow> self(this);
    setCursor(Qt::BusyCursor);
    Command2->setIcon(m_stopPicture);
    Command2->setText(m_services.texts.keeltekst(QStringLiteral("wavestop")));
    Command2->setProperty(Tag, GoOn);
    // A run of its own: a map still fresh is not asked for.
    FetchSession session(m_services.downloader, Refresh::IfStale);
    const auto wanted = [self] {
        return self && !self->stopRequested();
    };
    std::vector<QCoro::Task<std::optional<FetchResult>>> maps;
    for (int k = 1; k <= WaveMapCount; ++k) {
        const FetchTurn turn{k, wanted};
        maps.push_back(session.fetch(waveMapUrl(m_services.waveBase, k),
                                     chartPath(m_services.chartFolder, waveMapFile(k)), turn));
    }
    // A closed window is not told; the maps on their way are still awaited, as they use the
    // session.
    bool telling = true;
    for (int k = 1; k <= WaveMapCount; ++k) {
        if (telling) {
            StatusBar->showMessage(
                m_services.texts.keeltekst(QStringLiteral("wavedownloading"), {mapName(k)}));
        }
        const std::optional<FetchResult> fetched = co_await maps[static_cast<size_t>(k - 1)];
        telling = telling && self && fetched;
        if (!telling) {
            continue;
        }
        if (fetched->ok) {
            m_failures.remove(k);
            StatusBar->showMessage(m_services.texts.keeltekst(QStringLiteral("waveok"), {mapName(k)}));
        } else {
            m_failures.insert(k, failureReason(m_services.texts, *fetched));
        }
        moveSliderTo(k);
        telling = !stopRequested();
    }
    if (!self) {
        co_return;
    }
    restoreButton();
    unsetCursor();
}

bool WaveMapWindow::stopRequested() const {
    return Command2->property(Tag).toString() == StopAsked;
}

// The map is shown even when the slider already stood there: the file may just have changed.
void WaveMapWindow::moveSliderTo(int position) {
    if (Slider1->value() == position) {
        Slider1_Change();
        return;
    }
    Slider1->setValue(position);
}

void WaveMapWindow::restoreButton() {
    Command2->setText(m_services.texts.keeltekst(QStringLiteral("startdl")));
    Command2->setIcon(m_normalPicture);
    Command2->setProperty(Tag, QVariant());
    Command2->setEnabled(true);
}

// A file that is there but no picture leaves the old map up; its time is still told, and so is a
// fetch of it that failed. Anything but a regular file (a link, a FIFO) is no map.
void WaveMapWindow::Slider1_Change() {
    const int index = Slider1->value();
    const QString leadTime =
        m_services.texts.keeltekst(QStringLiteral("accwavemap"), {QString::number(leadHours(index))});
    Picture1->setAccessibleName(leadTime);
    Slider1->setAccessibleName(leadTime);
    const QFileInfo map(chartPath(m_services.chartFolder, waveMapFile(index)));
    if (!isRegularFile(map.filePath())) {
        Picture1->clear();
        StatusBar->showMessage(absenceText(index));
        return;
    }
    if (const std::optional<QPixmap> picture = loadChartPicture(map.filePath())) {
        Picture1->setPixmap(*picture);
    }
    QString message = m_services.texts.keeltekst(QStringLiteral("DLtime")) + QLatin1Char(' ') +
                      m_services.formats.shortDateTime(map.lastModified());
    if (m_failures.contains(index)) {
        message += QStringLiteral(" · ") + failureText(index);
    }
    StatusBar->showMessage(message);
}

QString WaveMapWindow::absenceText(int index) const {
    if (m_failures.contains(index)) {
        return failureText(index);
    }
    if (anyMapStored()) {
        return m_services.texts.keeltekst(QStringLiteral("wavemissing"), {mapName(index)});
    }
    return m_services.texts.keeltekst(QStringLiteral("waveempty"),
                                      {m_services.texts.keeltekst(QStringLiteral("startdl")),
                                       QString::number(leadHours(1)),
                                       QString::number(leadHours(WaveMapCount))});
}

QString WaveMapWindow::failureText(int index) const {
    return mapName(index) + QStringLiteral(": ") + m_failures.value(index);
}

bool WaveMapWindow::anyMapStored() const {
    for (int k = 1; k <= WaveMapCount; ++k) {
        if (isRegularFile(chartPath(m_services.chartFolder, waveMapFile(k)))) {
            return true;
        }
    }
    return false;
}
