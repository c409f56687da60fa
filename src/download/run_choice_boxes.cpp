// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "download/run_choice_boxes.h"

#include "settings/interface_texts.h"
#include "settings/stored_settings.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>

namespace t = settings_table;

namespace {

// Each column of boxes has the room of its longest text in every language, so the window's
// minimum size is the same in each.
constexpr int BoxColumnWidth = 250;
constexpr int HintWidth = 165;

QGridLayout* boxGrid(QWidget* widget) {
    auto* grid = new QGridLayout(widget);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    return grid;
}

} // namespace

// What is fetched sits in one block of two lines; how a run goes (every third hour, only the
// marked period, the update check first) in a second block, beside the button that starts it.
RunChoiceBoxes::RunChoiceBoxes(QWidget* parent) : QWidget(parent), m_runOptions(new QWidget(parent)) {
    const t::Toggle* const fetched[2][3] = {{&t::quellan, &t::temp, &t::quellanyld},
                                            {&t::pilvisus, &t::sademed, &t::marevo}};
    QGridLayout* grid = boxGrid(this);
    for (int line = 0; line < 2; ++line) {
        for (int column = 0; column < 3; ++column) {
            grid->addWidget(makeBox(*fetched[line][column], this), line, column);
        }
    }
    const t::Toggle* const howToRun[2][2] = {{&t::quellan3h, &t::tsekiuuendusi}, {&t::aintmärgitud, nullptr}};
    QGridLayout* options = boxGrid(m_runOptions);
    for (int line = 0; line < 2; ++line) {
        for (int column = 0; column < 2 && howToRun[line][column]; ++column) {
            options->addWidget(makeBox(*howToRun[line][column], m_runOptions), line, column);
        }
    }
    m_hint =
        new QLabel(QStringLiteral("Väike vihje: Topeltklõps kaardil laeb ainult valitud kaardi"), parent);
    m_hint->setObjectName(QStringLiteral("Label4"));
    m_hint->setTextFormat(Qt::PlainText);
    m_hint->setWordWrap(true);
    m_hint->setFixedWidth(HintWidth);
    m_hint->setEnabled(false);
    // A hint about greyed-out functions that only the Estonian interface ever explained; nothing
    // in Brisel is greyed out for a reason the user can change, so it stays out of sight.
    auto* greyHint =
        new QLabel(QStringLiteral("Miks on osad funktsioonid hallid ja neid ei saa kasutada? (kliki)"), this);
    greyHint->setObjectName(QStringLiteral("Label1"));
    greyHint->hide();
}

QCheckBox* RunChoiceBoxes::makeBox(const t::Toggle& toggle, QWidget* parent) {
    auto* box = new QCheckBox(toggle.builtInCaption, parent);
    box->setObjectName(QString::fromUtf8(toggle.objectName));
    box->setMinimumWidth(BoxColumnWidth);
    m_boxes.append(box);
    box->setChecked(toggle.builtInChecked);
    // Grey comes only from the stored settings; a click leaves it for good.
    connect(box, &QCheckBox::stateChanged, box, [box](int state) {
        if (state != Qt::PartiallyChecked) {
            box->setTristate(false);
        }
    });
    return box;
}

QCheckBox* RunChoiceBoxes::box(const t::Toggle& toggle) const {
    const QString name = QString::fromUtf8(toggle.objectName);
    for (QCheckBox* box : m_boxes) {
        if (box->objectName() == name) {
            return box;
        }
    }
    Q_UNREACHABLE();
}

// A grey box is not ticked.
bool RunChoiceBoxes::ticked(const t::Toggle& toggle) const {
    return box(toggle)->checkState() == Qt::Checked;
}

DownloadRunHost::Choices RunChoiceBoxes::choices() const {
    return choicesOf([this](const t::Toggle& toggle) { return ticked(toggle); });
}

QWidget* RunChoiceBoxes::hint() const {
    return m_hint;
}

bool RunChoiceBoxes::checksForUpdates() const {
    return ticked(t::tsekiuuendusi);
}

void RunChoiceBoxes::restore(const StoredSettings& settings) {
    for (const t::Toggle* toggle : t::RestoreOrder) {
        if (const std::optional<Qt::CheckState> state = settings.boxState(*toggle)) {
            box(*toggle)->setCheckState(*state);
        }
    }
}

void RunChoiceBoxes::save(StoredSettings& settings) const {
    for (const t::Toggle* toggle : t::SaveOrder) {
        settings.writeBoxState(*toggle, box(*toggle)->checkState());
    }
}

void RunChoiceBoxes::retranslate(const InterfaceTexts& texts) {
    const std::pair<const t::Toggle*, const char*> captions[] = {
        {&t::marevo, "mrv"},          {&t::quellan, "quellanwind"},       {&t::pilvisus, "quellancc"},
        {&t::temp, "quellantemp"},    {&t::sademed, "quellanperc"},       {&t::quellanyld, "quellancharts"},
        {&t::quellan3h, "quellan3h"}, {&t::aintmärgitud, "onlyselected"}, {&t::tsekiuuendusi, "chupdates"}};
    for (const auto& [toggle, key] : captions) {
        box(*toggle)->setText(texts.keeltekst(QString::fromLatin1(key)));
    }
    m_hint->setText(texts.keeltekst(QStringLiteral("clicktip")));
}
