// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "viewer/meteogram_panel.h"

#include "net/chart_names.h"
#include "platform/clock.h"
#include "platform/control_names.h"
#include "platform/slider_hours.h"
#include "settings/interface_texts.h"
#include "viewer/display_texts.h"
#include "viewer/meteogram_window.h"
#include "viewer/picture_box.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>
#include <chrono>
#include <qcoro/qcorotimer.h>

namespace {

// The meteograms, their hour strips and the scale are drawn to fit these places.
constexpr int Top = 24;
constexpr QSize PanelSize(578, Top + 97);
constexpr QRect MeteogramPlaces[MeteogramPanel::Days] = {
    {0, Top, 117, 88}, {100, Top, 117, 88}, {200, Top, 378, 88}};
constexpr QRect StripPlaces[MeteogramPanel::Days] = {
    {0, Top + 80, 117, 9}, {100, Top + 80, 117, 9}, {200, Top + 80, 145, 9}};
constexpr QRect ScalePlace(317, Top, 17, 97);
constexpr int DayLabelWidth = 100;
// The city column beside the meteograms, as wide in every language.
constexpr int CityColumnWidth = 165;

QLabel* fixedPicture(const QString& name, const QString& resource, const QRect& place, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setPixmap(QPixmap(resource));
    label->setGeometry(place);
    return label;
}

} // namespace

MeteogramPanel::MeteogramPanel(QString chartFolder, const InterfaceTexts& texts, const Clock& clock,
                               QWidget* parent)
    : QWidget(parent), m_chartFolder(std::move(chartFolder)), m_texts(texts), m_clock(clock),
      m_singleClick(new QTimer(this)) {
    m_singleClick->setSingleShot(true);
    connect(m_singleClick, &QTimer::timeout, this, [this] { openMeteogramWindow(m_clickedDay); });
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(buildMeteograms());
    layout->addWidget(buildCityColumn());
    layout->addStretch(1);
    connect(m_city, &QComboBox::currentIndexChanged, this, [this] { halograafikud(); });
}

// The bar keeps its room while hidden, so what lies under it stays where it is.
QWidget* MeteogramPanel::buildCityColumn() {
    auto* column = new QWidget(this);
    column->setFixedWidth(CityColumnWidth);
    m_cityColumn = new QVBoxLayout(column);
    m_cityColumn->setContentsMargins(0, 0, 0, 0);
    m_cityColumn->setSpacing(4);
    m_cityLabel = new QLabel(QStringLiteral("Linn:"), column);
    m_cityLabel->setObjectName(QStringLiteral("lblLinn"));
    m_cityLabel->setTextFormat(Qt::PlainText);
    m_city = new QComboBox(column);
    m_city->setObjectName(QStringLiteral("linn"));
    m_city->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_city->setMinimumContentsLength(12);
    m_progress = new QProgressBar(column);
    m_progress->setObjectName(QStringLiteral("prgQuellan"));
    m_progress->setFixedHeight(12);
    m_progress->setTextVisible(false);
    QSizePolicy keepsRoom = m_progress->sizePolicy();
    keepsRoom.setRetainSizeWhenHidden(true);
    m_progress->setSizePolicy(keepsRoom);
    m_progress->hide();
    m_cityColumn->addWidget(m_cityLabel);
    m_cityColumn->addWidget(m_city);
    m_cityColumn->addWidget(m_progress);
    m_cityColumn->addStretch(1);
    return column;
}

void MeteogramPanel::addBelowCity(QWidget* widget) {
    m_cityColumn->insertWidget(m_cityColumn->count() - 1, widget);
}

QWidget* MeteogramPanel::buildMeteograms() {
    auto* picture10 = new QWidget(this);
    picture10->setObjectName(QStringLiteral("Picture10"));
    picture10->setFixedSize(PanelSize);
    const QString strip = QStringLiteral(":/data/pictures/meteogram_strip.png");
    for (int day = 0; day < Days; ++day) {
        auto* meteogram = new PictureBox(picture10);
        meteogram->setObjectName(QStringLiteral("halograaf%1").arg(day + 1));
        meteogram->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        meteogram->setGeometry(MeteogramPlaces[day]);
        connect(meteogram, &PictureBox::doubleClicked, this, &MeteogramPanel::doubleClicked);
        // Reached by Tab too: Enter or Space opens the window a click opens.
        meteogram->setFocusPolicy(Qt::StrongFocus);
        meteogram->installEventFilter(this);
        m_meteograms.append(meteogram);
    }
    // Later siblings lie on top: the strips over the meteograms, the scale over the strips.
    for (int day = 0; day < Days; ++day) {
        m_hourStrips.append(
            fixedPicture(QStringLiteral("halokell%1").arg(day + 1), strip, StripPlaces[day], picture10));
    }
    m_scale = fixedPicture(QStringLiteral("haloskaala"),
                           QStringLiteral(":/data/pictures/meteogram_scale.png"), ScalePlace, picture10);
    for (int day = 0; day < Days; ++day) {
        auto* label = new QLabel(picture10);
        label->setObjectName(arrayName("hlabel", day));
        label->setTextFormat(Qt::PlainText);
        label->setGeometry(day * DayLabelWidth, 4, DayLabelWidth, 18);
        m_dayLabels.append(label);
    }
    return picture10;
}

void MeteogramPanel::setSpots(const QStringList& names) {
    m_city->clear();
    m_city->addItems(names);
    m_city->setCurrentIndex(-1);
}

QStringList MeteogramPanel::spots() const {
    QStringList names;
    for (int index = 0; index < m_city->count(); ++index) {
        names.append(m_city->itemText(index));
    }
    return names;
}

void MeteogramPanel::restoreCity(const std::optional<QString>& kept, const QString& fallback) {
    const int index = m_city->findText(kept.value_or(fallback), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0) {
        m_city->setCurrentIndex(index);
    } else if (!kept) {
        m_city->setCurrentIndex(-1);
    }
}

QString MeteogramPanel::city() const {
    return m_city->currentText();
}

bool MeteogramPanel::selectCity(const QString& name) {
    const int index = m_city->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0 || index == m_city->currentIndex()) {
        return false;
    }
    m_city->setCurrentIndex(index);
    return true;
}

void MeteogramPanel::pointAt(const QString& spotName) {
    if (city() != spotName) {
        selectCity(spotName);
    }
}

// A newly chosen entry redraws the panel itself; the one already chosen does not.
void MeteogramPanel::showFetchedSpot(const QString& spotName) {
    if (!selectCity(spotName)) {
        halograafikud();
    }
}

void MeteogramPanel::setDayLabels(const QStringList& texts) {
    for (int day = 0; day < Days && day < texts.size(); ++day) {
        m_dayLabels[day]->setText(texts[day]);
    }
}

void MeteogramPanel::retranslate(const InterfaceTexts& texts) {
    m_cityLabel->setText(texts.keeltekst(QStringLiteral("city")));
    for (PictureBox* meteogram : m_meteograms) {
        meteogram->setToolTip(texts.keeltekst(QStringLiteral("tooltipmeteogram")));
    }
    for (QLabel* strip : m_hourStrips) {
        strip->setAccessibleName(texts.keeltekst(QStringLiteral("acchourstrip")));
    }
    m_scale->setAccessibleName(texts.keeltekst(QStringLiteral("accscale")));
    nameMeteograms();
    showWindowDay();
}

void MeteogramPanel::nameMeteograms() {
    const QDate today = m_clock.today();
    for (int k = 0; k < Days; ++k) {
        m_meteograms[k]->setAccessibleName(viewer::meteogramName(m_texts, city(), today.addDays(k)));
    }
}

void MeteogramPanel::spotsStarted(int count) {
    m_progress->setMaximum(std::max(0, count - 1));
    m_progress->setVisible(true);
}

void MeteogramPanel::spotFetched(int index) {
    m_progress->setValue(index);
    halograafikud();
}

void MeteogramPanel::spotsEnded() {
    m_progress->setVisible(false);
}

QString MeteogramPanel::meteogramFile(const QDate& date) const {
    return chartPath(m_chartFolder, spotPictureFile(date, city()));
}

QCoro::Task<> MeteogramPanel::halograafikud() {
    QPointer<MeteogramPanel> self(this);
    co_await QCoro::sleepFor(std::chrono::milliseconds(0));
    if (!self) {
        co_return;
    }
    const QDate today = m_clock.today();
    for (int k = 0; k < Days; ++k) {
        const QString file = meteogramFile(today.addDays(k));
        // A missing or unreadable picture, a partial download among them, leaves the day empty.
        if (const std::optional<QPixmap> picture = loadChartPicture(file)) {
            m_meteograms[k]->setPixmap(*picture);
        } else {
            m_meteograms[k]->clear();
        }
    }
    nameMeteograms();
    showWindowDay();
}

namespace {

bool opensWindow(const QKeyEvent& key) {
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter || key.key() == Qt::Key_Space;
}

} // namespace

// A press starts the wait and the double-click that may follow ends it, so a double-click, which
// fetches every spot's meteograms, opens no window.
bool MeteogramPanel::eventFilter(QObject* watched, QEvent* event) {
    const auto day = m_meteograms.indexOf(static_cast<PictureBox*>(watched));
    if (day >= 0 && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        m_clickedDay = static_cast<int>(day);
        m_singleClick->start(QApplication::doubleClickInterval());
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        m_singleClick->stop();
    } else if (day >= 0 && event->type() == QEvent::KeyPress &&
               opensWindow(*static_cast<QKeyEvent*>(event))) {
        openMeteogramWindow(static_cast<int>(day));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// One window at a time: a click on another day moves the open one there. It opens under the
// meteograms, beside the picture it enlarges.
void MeteogramPanel::openMeteogramWindow(int day) {
    if (!m_window) {
        m_window = new MeteogramWindow(this);
        m_window->move(mapToGlobal(rect().bottomLeft()));
    }
    m_windowOffset = day - m_sliderDay;
    showWindowDay();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void MeteogramPanel::showWindowDay() {
    if (!m_window) {
        return;
    }
    const QDate date = m_clock.today().addDays(m_sliderDay + m_windowOffset);
    m_window->showMeteogram(viewer::meteogramName(m_texts, city(), date),
                            loadChartPicture(meteogramFile(date)),
                            m_texts.keeltekst(QStringLiteral("meteogrammissing")));
}

void MeteogramPanel::followSliderHour(int p) {
    const int day = p / SliderHoursPerDay;
    if (day != m_sliderDay) {
        m_sliderDay = day;
        showWindowDay();
    }
}

void MeteogramPanel::closeMeteogramWindow() {
    if (m_window) {
        m_window->close();
    }
}
