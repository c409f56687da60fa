#include "download/run_choice_boxes.h"

#include "settings/interface_texts.h"
#include "settings/stored_settings.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>

namespace t = settings_table;

RunChoiceBoxes::RunChoiceBoxes(QWidget* parent) : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    const t::Toggle* const columns[3][4] = {{&t::quellan, &t::pilvisus, &t::temp, &t::sademed},
                                            {&t::marevo, &t::quellanyld, &t::quellan3h, nullptr},
                                            {&t::aintmärgitud, &t::tsekiuuendusi, nullptr, nullptr}};
    for (int column = 0; column < 3; ++column) {
        for (int line = 0; line < 4 && columns[column][line]; ++line) {
            grid->addWidget(makeBox(*columns[column][line]), line, column);
        }
    }
    m_hint = new QLabel(QStringLiteral("Väike vihje: Topeltklõps kaardil laeb ainult valitud kaardi"), this);
    m_hint->setObjectName(QStringLiteral("Label4"));
    m_hint->setTextFormat(Qt::PlainText);
    m_hint->setWordWrap(true);
    m_hint->setEnabled(false);
    grid->addWidget(m_hint, 3, 1, 1, 2, Qt::AlignBottom);
    // A hint about greyed-out functions that only the Estonian interface ever explained; nothing
    // in Brisel is greyed out for a reason the user can change, so it stays out of sight.
    auto* greyHint =
        new QLabel(QStringLiteral("Miks on osad funktsioonid hallid ja neid ei saa kasutada? (kliki)"), this);
    greyHint->setObjectName(QStringLiteral("Label1"));
    greyHint->hide();
}

QCheckBox* RunChoiceBoxes::makeBox(const t::Toggle& toggle) {
    auto* box = new QCheckBox(toggle.builtInCaption, this);
    box->setObjectName(QString::fromUtf8(toggle.objectName));
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
    return findChild<QCheckBox*>(QString::fromUtf8(toggle.objectName));
}

// A grey box is not ticked.
bool RunChoiceBoxes::ticked(const t::Toggle& toggle) const {
    return box(toggle)->checkState() == Qt::Checked;
}

DownloadRunHost::Choices RunChoiceBoxes::choices() const {
    return {ticked(t::marevo),  ticked(t::quellan),    ticked(t::pilvisus),  ticked(t::temp),
            ticked(t::sademed), ticked(t::quellanyld), ticked(t::quellan3h), ticked(t::aintmärgitud)};
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
