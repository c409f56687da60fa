// The controls and menus of the main window and where they sit. Sizes the charts are drawn for
// are fixed; the rest is laid out so the window reads well at its first size and grows cleanly.
#include "app/form1.h"
#include "platform/control_names.h"
#include "platform/shell.h"
#include "settings/interface_texts.h"
#include "viewer/chart_display.h"
#include "viewer/picture_box.h"
#include "viewer/time_slider.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr QSize ChartSize(468, 510);
constexpr int MeteogramPanelWidth = 578;
constexpr int MeteogramPanelHeight = 24 + 97;
constexpr int SailingPanelMinHeight = 356;
constexpr int ProgressBarHeight = 13;
constexpr int AnimationStepMs = 200;

template<typename T> T* named(T* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

PictureBox* pictureBox(const QString& name, QWidget* parent) {
    auto* label = named(new PictureBox(parent), name);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLabel* fixedPicture(const QString& name, const QString& resource, QWidget* parent) {
    QLabel* label = pictureBox(name, parent);
    label->setPixmap(QPixmap(resource));
    return label;
}

// Buttons whose only role is to hold a pair of pictures: the normal one and the disabled one.
QPushButton* pictureStore(const QString& name, const QIcon& normal, const QIcon& disabled, QWidget* parent) {
    auto* button = named(new QPushButton(parent), name);
    QIcon pair;
    for (const QSize& size : normal.availableSizes()) {
        pair.addPixmap(normal.pixmap(size), QIcon::Normal);
    }
    for (const QSize& size : disabled.availableSizes()) {
        pair.addPixmap(disabled.pixmap(size), QIcon::Disabled);
    }
    button->setIcon(pair);
    button->hide();
    return button;
}

QIcon resourceIcon(const QString& name) {
    return QIcon(QStringLiteral(":/data/pictures/") + name);
}

} // namespace

void Form1::buildControls() {
    setWindowTitle(QStringLiteral("www.quellan.example"));
    ImageList1 = named(new QObject(this), QStringLiteral("ImageList1"));
    Timer1 = named(new QTimer(this), QStringLiteral("Timer1"));
    Timer1->setInterval(AnimationStepMs);

    auto* central = new QWidget(this);
    auto* grid = new QGridLayout(central);
    grid->setContentsMargins(8, 6, 8, 4);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(4);
    grid->addWidget(buildChartColumn(), 0, 0, Qt::AlignTop);
    grid->addWidget(buildSideColumn(), 0, 1);
    timeSlider = new TimeSlider(central);
    Slider1 = timeSlider->track();
    timeSlider->setMinimumHeight(timeSlider->sizeHint().height());
    grid->addWidget(timeSlider, 1, 0, 1, 2);
    grid->addWidget(buildControlRow(), 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(0, 1);
    setCentralWidget(central);

    StatusBar1 = named(new QStatusBar(this), QStringLiteral("StatusBar1"));
    StatusBar1->setFixedHeight(17);
    StatusBar1->setSizeGripEnabled(false);
    setStatusBar(StatusBar1);
    ProgressBar1 = named(new QProgressBar(this), QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(0, 0, 200, ProgressBarHeight);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();
    // What the labels say comes from lang.ini, the clock and the chart folder, never markup: a
    // text that happens to begin with a tag is shown as it stands.
    for (QLabel* label : findChildren<QLabel*>()) {
        label->setTextFormat(Qt::PlainText);
    }
}

QWidget* Form1::buildChartColumn() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    auto* tabRow = new QHBoxLayout;
    miskaart = named(new QTabBar(column), QStringLiteral("miskaart"));
    miskaart->setDrawBase(false);
    miskaart->setExpanding(false);
    const std::pair<const char*, const char*> tabs[] = {{"Tuul", "wind.png"},
                                                        {"Pilvisus", "cloud.png"},
                                                        {"Temperatuur", "temperature.png"},
                                                        {"Sademed", "rain.png"}};
    for (const auto& [caption, icon] : tabs) {
        miskaart->addTab(resourceIcon(QString::fromLatin1(icon)), QString::fromUtf8(caption));
    }
    tabRow->addWidget(miskaart);
    tabRow->addStretch(1);
    halokp = named(new QLabel(column), QStringLiteral("halokp"));
    tabRow->addWidget(halokp);
    layout->addLayout(tabRow);

    halo = pictureBox(QStringLiteral("halo"), column);
    halo->setFixedSize(ChartSize);
    halo->setFrameShape(QFrame::Box);
    halo->setStyleSheet(QStringLiteral("#halo { background: #dfe6ec; border: 1px solid #9aa7b2; }"));
    layout->addWidget(halo);
    quellanbk =
        fixedPicture(QStringLiteral("quellanbk"), QStringLiteral(":/data/pictures/placeholder.gif"), column);
    quellanbk->hide();
    halomillal = named(new QLabel(column), QStringLiteral("halomillal"));
    halomillal->hide();
    return column;
}

QWidget* Form1::buildSideColumn() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    auto* cityRow = new QHBoxLayout;
    lblLinn = named(new QLabel(QStringLiteral("Linn:"), column), QStringLiteral("lblLinn"));
    linn = named(new QComboBox(column), QStringLiteral("linn"));
    linn->addItems({QStringLiteral("Tallinn"), QStringLiteral("Tartu"), QStringLiteral("Riga"),
                    QStringLiteral("Daugavpils"), QStringLiteral("Liepaja")});
    linn->setMinimumContentsLength(14);
    prgQuellan = named(new QProgressBar(column), QStringLiteral("prgQuellan"));
    prgQuellan->setFixedSize(120, 12);
    prgQuellan->setTextVisible(false);
    prgQuellan->hide();
    cityRow->addWidget(lblLinn);
    cityRow->addWidget(linn);
    cityRow->addWidget(prgQuellan);
    cityRow->addStretch(1);
    layout->addLayout(cityRow);

    layout->addWidget(buildMeteogramPanel());
    auto* sailingLabels = new QHBoxLayout;
    wokell = named(new QLabel(column), QStringLiteral("wokell"));
    millal = named(new QLabel(QStringLiteral("Kaart laetud"), column), QStringLiteral("millal"));
    sailingLabels->addWidget(wokell);
    sailingLabels->addStretch(1);
    sailingLabels->addWidget(millal);
    layout->addLayout(sailingLabels);
    layout->addWidget(buildSailingPanel(), 1);
    return column;
}

QWidget* Form1::buildMeteogramPanel() {
    Picture10 = named(new QWidget(this), QStringLiteral("Picture10"));
    Picture10->setFixedSize(MeteogramPanelWidth, MeteogramPanelHeight);
    halograaf1 = pictureBox(QStringLiteral("halograaf1"), Picture10);
    halograaf2 = pictureBox(QStringLiteral("halograaf2"), Picture10);
    halograaf3 = pictureBox(QStringLiteral("halograaf3"), Picture10);
    const QString strip = QStringLiteral(":/data/pictures/meteogram_strip.png");
    halokell1 = fixedPicture(QStringLiteral("halokell1"), strip, Picture10);
    halokell2 = fixedPicture(QStringLiteral("halokell2"), strip, Picture10);
    halokell3 = fixedPicture(QStringLiteral("halokell3"), strip, Picture10);
    haloskaala = fixedPicture(QStringLiteral("haloskaala"),
                              QStringLiteral(":/data/pictures/meteogram_scale.png"), Picture10);
    for (int day = 0; day < 3; ++day) {
        QLabel* label = named(new QLabel(Picture10), arrayName("hlabel", day));
        label->setGeometry(day * 100, 4, 100, 18);
        hlabel.append(label);
    }
    return Picture10;
}

QWidget* Form1::buildSailingPanel() {
    Picture4 = named(new PictureBox(this), QStringLiteral("Picture4"));
    Picture4->setMinimumSize(MeteogramPanelWidth, SailingPanelMinHeight);
    Picture4->setAutoFillBackground(true);
    // The island map sits lower than the mainland map: the pair is drawn to overlap so.
    Picture2 = pictureBox(QStringLiteral("Picture2"), Picture4);
    Picture2->move(0, viewer::SailingMapRise);
    Picture1 = pictureBox(QStringLiteral("Picture1"), Picture4);
    HScroll1 = named(new QScrollBar(Qt::Horizontal, Picture4), QStringLiteral("HScroll1"));
    HScroll1->resize(MeteogramPanelWidth, HScroll1->sizeHint().height());
    Picture4->installEventFilter(this);
    return Picture4;
}

QCheckBox* Form1::makeToggleBox(const settings_table::Toggle& toggle) {
    auto* box = named(new QCheckBox(toggle.builtInCaption, this), QString::fromUtf8(toggle.objectName));
    box->setChecked(toggle.builtInChecked);
    // Grey comes only from the stored settings; a click leaves it for good.
    connect(box, &QCheckBox::stateChanged, box, [box](int state) {
        if (state != Qt::PartiallyChecked) {
            box->setTristate(false);
        }
    });
    return box;
}

QWidget* Form1::buildControlRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);

    const QIcon download = resourceIcon(QStringLiteral("download.png"));
    const QIcon stopDownload = resourceIcon(QStringLiteral("download_disabled.png"));
    nupud = pictureStore(QStringLiteral("nupud"), download, stopDownload, row);
    nupsid = pictureStore(QStringLiteral("nupsid"), resourceIcon(QStringLiteral("play.png")),
                          resourceIcon(QStringLiteral("stop.png")), row);

    auto* buttons = new QGridLayout;
    Command2 = named(new QPushButton(QStringLiteral("Laadi kaardid"), row), QStringLiteral("Command2"));
    Command2->setIcon(download);
    Command2->setIconSize(QSize(24, 24));
    Command2->setMinimumHeight(36);
    Play = named(new QPushButton(row), QStringLiteral("Play"));
    Play->setIcon(resourceIcon(QStringLiteral("play.png")));
    Play->setIconSize(QSize(24, 24));
    Play->setFixedSize(44, 36);
    Command1 = named(new QPushButton(QStringLiteral("Laineinfo"), row), QStringLiteral("Command1"));
    naitalegend = named(new QPushButton(QStringLiteral("Näita legendi"), row), QStringLiteral("naitalegend"));
    connect(naitalegend, &QPushButton::clicked, this, &Form1::showLegend);
    buttons->addWidget(Command2, 0, 0);
    buttons->addWidget(Play, 0, 1);
    buttons->addWidget(Command1, 1, 0);
    buttons->addWidget(naitalegend, 1, 1);
    layout->addLayout(buttons);

    auto* toggles = new QGridLayout;
    toggles->setVerticalSpacing(2);
    quellan = makeToggleBox(settings_table::quellan);
    pilvisus = makeToggleBox(settings_table::pilvisus);
    temp = makeToggleBox(settings_table::temp);
    sademed = makeToggleBox(settings_table::sademed);
    marevo = makeToggleBox(settings_table::marevo);
    quellanyld = makeToggleBox(settings_table::quellanyld);
    quellan3h = makeToggleBox(settings_table::quellan3h);
    aintmärgitud = makeToggleBox(settings_table::aintmärgitud);
    tsekiuuendusi = makeToggleBox(settings_table::tsekiuuendusi);
    const QCheckBox* const columns[3][4] = {{quellan, pilvisus, temp, sademed},
                                            {marevo, quellanyld, quellan3h, nullptr},
                                            {aintmärgitud, tsekiuuendusi, nullptr, nullptr}};
    for (int column = 0; column < 3; ++column) {
        for (int line = 0; line < 4 && columns[column][line]; ++line) {
            toggles->addWidget(const_cast<QCheckBox*>(columns[column][line]), line, column);
        }
    }
    layout->addLayout(toggles, 1);
    layout->addWidget(buildPeriodGroup());

    Label4 =
        named(new QLabel(QStringLiteral("Väike vihje: Topeltklõps kaardil laeb ainult valitud kaardi"), row),
              QStringLiteral("Label4"));
    Label4->setWordWrap(true);
    Label4->setEnabled(false);
    toggles->addWidget(Label4, 3, 1, 1, 2, Qt::AlignBottom);
    // A hint about greyed-out functions that only the Estonian interface ever explained; nothing
    // in Brisel is greyed out for a reason the user can change, so it stays out of sight.
    Label1 = named(
        new QLabel(QStringLiteral("Miks on osad funktsioonid hallid ja neid ei saa kasutada? (kliki)"), row),
        QStringLiteral("Label1"));
    Label1->hide();
    return row;
}

QWidget* Form1::buildPeriodGroup() {
    auto* group = new QWidget(this);
    auto* layout = new QGridLayout(group);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setVerticalSpacing(2);
    Label3 = named(new QLabel(QStringLiteral("Märgi perioodi:"), group), QStringLiteral("Label3"));
    märgiperiood =
        named(new QRadioButton(QStringLiteral("Märgi periood"), group), QStringLiteral("märgiperiood"));
    // The only option of its kind: the end of a slider movement switches it off again.
    märgiperiood->setAutoExclusive(false);
    märgialgus = named(new QPushButton(QStringLiteral("algus"), group), QStringLiteral("märgialgus"));
    märgilõpp = named(new QPushButton(QStringLiteral("lõpp"), group), QStringLiteral("märgilõpp"));
    periood = named(new QLabel(group), QStringLiteral("periood"));
    periood->setMinimumWidth(
        fontMetrics().horizontalAdvance(QStringLiteral("Tue 10.04 14:00 - Thu 12.04 00:00")));
    layout->addWidget(Label3, 0, 0, 1, 3);
    layout->addWidget(märgiperiood, 1, 0);
    layout->addWidget(märgialgus, 1, 1);
    layout->addWidget(märgilõpp, 1, 2);
    layout->addWidget(periood, 2, 0, 1, 3);
    return group;
}

void Form1::buildMenus() {
    programMenu = menuBar()->addMenu(QStringLiteral("Brisel"));
    const auto item = [this](QMenu* menu, const char* name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromUtf8(name));
        return action;
    };
    const auto separator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QString::fromLatin1(name));
    };
    kustutavanad = item(programMenu, "kustutavanad", settings_table::kustutavanad.builtInCaption);
    kustutavanad->setCheckable(true);
    kustutavanad->setChecked(settings_table::kustutavanad.builtInChecked);
    kustuta = item(programMenu, "kustuta", QStringLiteral("Kustuta kõik allalaetud kaardid.."));
    separator(programMenu, "sepa2");
    about = item(programMenu, "about", QStringLiteral("Teave programmi kohta.."));
    netilehele = item(programMenu, "netilehele", QStringLiteral("Brisel kodulehekülg..."));
    connect(netilehele, &QAction::triggered, this,
            [this] { m_services.shell.openUrl(m_services.hosts.home); });
    separator(programMenu, "sepa");
    updeidid = item(programMenu, "updeidid", QStringLiteral("Kontrolli programmiuuendusi.."));
    separator(programMenu, "sepa1");
    valju = item(programMenu, "valju", QStringLiteral("Välju"));
    connect(valju, &QAction::triggered, this, &QWidget::close);

    mnukeel = menuBar()->addMenu(QStringLiteral("Language"));
    mnukeel->setObjectName(QStringLiteral("mnukeel"));
    eesti = item(mnukeel, "eesti", QStringLiteral("Estonian"));
    läti = item(mnukeel, "läti", QStringLiteral("Latvian"));
    english = item(mnukeel, "english", QStringLiteral("English"));
    for (const auto& [action, keel] :
         {std::pair{eesti, InterfaceTexts::Estonian}, std::pair{läti, InterfaceTexts::Latvian},
          std::pair{english, InterfaceTexts::English}}) {
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, keel = keel] { switchLanguage(keel); });
    }
}
