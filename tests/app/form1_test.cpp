// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "download/download_run.h"
#include "download/run_status_line.h"
#include "form1_fixture.h"
#include "net/chart_names.h"
#include "platform/profile_file.h"
#include "settings/stored_settings.h"
#include "viewer/chart_display.h"
#include "viewer/time_slider.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QStringList checkedLanguages(const Form1& form) {
    QStringList checked;
    for (const char* name : {"eesti", "läti", "english"}) {
        if (form.findChild<QAction*>(QString::fromUtf8(name))->isChecked()) {
            checked << QString::fromUtf8(name);
        }
    }
    return checked;
}

// A chart and both sailing maps of the hours the window shows at start-up, at 10:30 of today.
void storeTheStartsPictures(Form1Fixture& fixture) {
    const QDate today = fixture.clock.today();
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QStringList paths{halofail(fixture.folder.chartFolder(), today, 8, 0, viewer::chartCodeForTab(0))};
    for (const QString& map : {MainlandMapCode, IslandsMapCode}) {
        paths << chartPath(fixture.folder.chartFolder(), sailingMap(QUrl(), today, 10, map).fileName);
    }
    for (const QString& path : paths) {
        ASSERT_TRUE(picture.save(path, "PNG")) << path.toStdString();
    }
}

TEST(Form1Startup, FirstStartTakesTheDefaults) {
    Form1Fixture fixture(QDateTime(QDate(2007, 4, 10), QTime(10, 30)));
    Form1& form = fixture.start();
    EXPECT_EQ(fixture.texts->language(), QStringLiteral("estonian"));
    EXPECT_EQ(checkedLanguages(form), QStringList{QStringLiteral("eesti")});
    EXPECT_EQ(ui(form).linn->currentText(), QStringLiteral("Tartu"));
    EXPECT_TRUE(ui(form).marevo->isChecked());
    EXPECT_TRUE(ui(form).quellan->isChecked());
    EXPECT_FALSE(ui(form).pilvisus->isChecked());
    EXPECT_FALSE(ui(form).temp->isChecked());
    EXPECT_FALSE(ui(form).sademed->isChecked());
    EXPECT_TRUE(ui(form).quellanyld->isChecked());
    EXPECT_TRUE(ui(form).quellan3h->isChecked());
    EXPECT_TRUE(ui(form).aintmärgitud->isChecked());
    EXPECT_TRUE(ui(form).tsekiuuendusi->isChecked());
    EXPECT_TRUE(ui(form).kustutavanad->isChecked());
    // The Estonian texts of the check boxes are the names their states are kept under, so that
    // what a user reads is what the settings file says.
    for (const settings_table::Toggle* toggle : settings_table::RestoreOrder) {
        EXPECT_EQ(fixture.find<QCheckBox>(QString::fromUtf8(toggle->objectName))->text(),
                  toggle->builtInCaption)
            << toggle->objectName;
    }
    EXPECT_EQ(ui(form).Command2->text(), fixture.texts->keeltekst(QStringLiteral("startdl")));
    EXPECT_FALSE(ui(form).Command2->text().isEmpty());

    // 10:30 rounds to 10 (half to even); the marked period runs from there to the end.
    EXPECT_EQ(ui(form).Slider1->value(), 10);
    EXPECT_EQ(ui(form).Slider1->selStart(), 10);
    EXPECT_EQ(ui(form).Slider1->selLength(), 158);
    EXPECT_EQ(ui(form).ProgressBar1->maximum(), 168);
    const QString tuesday = fixture.texts->npaev(QDate(2007, 4, 10));
    const QString tuesdayNextWeek = fixture.texts->npaev(QDate(2007, 4, 17));
    EXPECT_EQ(ui(form).periood->text(),
              tuesday + QStringLiteral(" 10.04 10:00 - ") + tuesdayNextWeek + QStringLiteral(" 17.04 00:00"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Brisel 10.04.2007  10:00"));
    EXPECT_EQ(fixture.find<QLabel>(QStringLiteral("plabel(0)"))->text(), tuesday + QStringLiteral(" 10.04"));
    EXPECT_EQ(fixture.find<QLabel>(QStringLiteral("hlabel(2)"))->text(),
              fixture.texts->npaev(QDate(2007, 4, 12)) + QStringLiteral(" 12.04"));
}

// With no language stored, the system's own language is taken when lang.ini has it; a stored one
// always wins.
TEST(Form1Startup, AFirstStartSpeaksTheSystemsLanguage) {
    const std::tuple<QLocale::Language, const char*, const char*> cases[] = {
        {QLocale::Latvian, nullptr, "läti"},
        {QLocale::English, nullptr, "english"},
        {QLocale::Estonian, nullptr, "eesti"},
        {QLocale::German, nullptr, "eesti"},
        {QLocale::Latvian, "english", "english"}};
    for (const auto& [language, stored, menu] : cases) {
        Form1Fixture fixture;
        fixture.systemLocale = QLocale(language);
        if (stored) {
            fixture.storeSetting(settings_table::Keel.name, QString::fromLatin1(stored));
        }
        const Form1& form = fixture.start();
        EXPECT_EQ(checkedLanguages(form), QStringList{QString::fromUtf8(menu)})
            << QLocale::languageToString(language).toStdString();
    }
}

TEST(Form1Settings, StatesSurviveARestartInEveryLanguage) {
    Form1Fixture fixture;
    const std::pair<const char*, const char*> languages[] = {
        {"english", "english"}, {"latvian", "läti"}, {"estonian", "eesti"}};
    for (const auto& [language, menuItem] : languages) {
        Form1& form = fixture.start();
        fixture.find<QAction>(QString::fromUtf8(menuItem))->trigger();
        ui(form).marevo->setChecked(false);
        ui(form).temp->setChecked(true);
        ui(form).kustutavanad->setChecked(false);
        fixture.find<QAction>(u"laadiühendusel"_s)->setChecked(true);
        fixture.find<QAction>(u"mõõdetudühendus"_s)->setChecked(true);
        ui(form).linn->setCurrentText(u"Pärnu"_s);
        fixture.close();

        const Form1& again = fixture.start();
        EXPECT_EQ(fixture.texts->language(), QString::fromLatin1(language));
        EXPECT_FALSE(ui(again).marevo->isChecked()) << language;
        EXPECT_TRUE(ui(again).temp->isChecked()) << language;
        EXPECT_FALSE(ui(again).kustutavanad->isChecked()) << language;
        EXPECT_TRUE(fixture.find<QAction>(u"laadiühendusel"_s)->isChecked()) << language;
        EXPECT_TRUE(fixture.find<QAction>(u"mõõdetudühendus"_s)->isChecked()) << language;
        EXPECT_EQ(ui(again).linn->currentText(), u"Pärnu"_s) << language;
        EXPECT_EQ(ui(again).Command2->text(), fixture.texts->keeltekst(u"startdl"_s)) << language;
        fixture.close();
        fixture.storeSetting(settings_table::marevo.builtInCaption, 1);
        fixture.storeSetting(settings_table::laadiühendusel.builtInCaption, 0);
        fixture.storeSetting(settings_table::mõõdetudühendus.builtInCaption, 0);
        fixture.storeSetting(settings_table::Linn.name, u"Tartu"_s);
    }
    // Written under the built-in captions, whatever the language was.
    EXPECT_EQ(fixture.stored(settings_table::temp.builtInCaption), QVariant(1));
    EXPECT_EQ(fixture.stored(settings_table::kustutavanad.builtInCaption), QVariant(0));
    EXPECT_EQ(fixture.stored(QStringLiteral("Keel")), QVariant(QStringLiteral("estonian")));
}

// A stored city that the list lacks is left unchosen; a stored language that lang.ini lacks checks
// no menu item and empties the texts.
TEST(Form1Settings, AnUnknownStoredCityOrLanguageIsLeftUnchosen) {
    Form1Fixture fixture;
    fixture.folder.write(QStringLiteral("spots.ini"),
                         "[Tartu]\nlon=26.7\nlat=58.4\n[Riga]\nlon=24.1\nlat=56.9\n");
    fixture.storeSetting(QStringLiteral("Keel"), QStringLiteral("klingon"));
    fixture.storeSetting(QStringLiteral("Linn"), QStringLiteral("Atlantis"));
    const Form1& form = fixture.start();
    EXPECT_EQ(ui(form).linn->count(), 2);
    EXPECT_EQ(ui(form).linn->currentIndex(), -1);
    EXPECT_EQ(ui(form).linn->currentText(), QString());
    EXPECT_TRUE(checkedLanguages(form).isEmpty());
    EXPECT_TRUE(ui(form).Command2->text().isEmpty());
}

// What the shipped lang.ini says in earlier languages and no longer in the current one. A text the
// window still shows that reads so was left behind by the language switch.
class LeftBehindTexts {
public:
    LeftBehindTexts(const QStringList& earlier, const QString& current) {
        const QString langIni = testing_support::shippedDataFile(u"lang.ini"_s);
        const QStringList keys = ProfileFile::load(langIni).keyNames(current);
        InterfaceTexts texts(langIni);
        QSet<QString> said;
        for (const QString& language : earlier) {
            texts.setLanguage(language);
            for (const QString& key : keys) {
                said << texts.keeltekst(key) << withoutMnemonic(texts.keeltekst(key));
            }
        }
        texts.setLanguage(current);
        for (const QString& key : keys) {
            said.remove(texts.keeltekst(key));
            said.remove(withoutMnemonic(texts.keeltekst(key)));
        }
        // The family tabs keep their captions in every language.
        for (const viewer::FamilyTab& tab : viewer::FamilyTabs) {
            said.remove(QString::fromUtf8(tab.caption));
        }
        said.remove(QString());
        for (const QString& text : std::as_const(said)) {
            add(text);
        }
    }

    bool foundIn(const QString& shown) const {
        const QStringList words = shown.split(QRegularExpression(u"\\s+"_s), Qt::SkipEmptyParts);
        return std::any_of(
                   m_patterns.cbegin(), m_patterns.cend(),
                   [&](const QRegularExpression& pattern) { return pattern.match(shown).hasMatch(); }) ||
               std::any_of(words.cbegin(), words.cend(),
                           [&](const QString& word) { return m_words.contains(word); });
    }

private:
    // A text with places matches whatever fills them; a word on its own is found within a text too,
    // as a weekday before its date or "Downloaded:" before its time.
    void add(const QString& text) {
        static const QRegularExpression place(u"%[1-9]"_s);
        const QStringList fixedParts = text.split(place);
        if (fixedParts.size() == 1 && !text.contains(u' ')) {
            m_words << text;
        }
        if (fixedParts.join(QString()).contains(QRegularExpression(u"\\p{L}"_s))) {
            QStringList escaped;
            for (const QString& part : fixedParts) {
                escaped << QRegularExpression::escape(part);
            }
            m_patterns << QRegularExpression(QRegularExpression::anchoredPattern(escaped.join(u".*"_s)));
        }
    }

    QList<QRegularExpression> m_patterns;
    QSet<QString> m_words;
};

// Every text the main window and its menus show or tell a screen reader, with where it stands.
// The side windows take the language when they open (the legend keeps its own until reopened).
QList<std::pair<QString, QString>> shownTexts(QMainWindow& form) {
    QList<std::pair<QString, QString>> shown;
    const auto add = [&](const QObject* object, const char* what, const QString& text) {
        if (!text.isEmpty()) {
            shown.append({object->objectName() + u'.' + QString::fromLatin1(what), text});
        }
    };
    QList<QWidget*> widgets = form.findChildren<QWidget*>();
    widgets.prepend(&form);
    for (QWidget* widget : std::as_const(widgets)) {
        if (widget->window() != &form && !qobject_cast<QMenu*>(widget)) {
            continue;
        }
        add(widget, "windowTitle", widget->windowTitle());
        add(widget, "toolTip", widget->toolTip());
        add(widget, "statusTip", widget->statusTip());
        add(widget, "whatsThis", widget->whatsThis());
        if (QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget)) {
            add(widget, "accessibleName", accessible->text(QAccessible::Name));
            add(widget, "accessibleDescription", accessible->text(QAccessible::Description));
        }
        if (const auto* label = qobject_cast<QLabel*>(widget)) {
            add(widget, "text", label->text());
        }
        if (const auto* button = qobject_cast<QAbstractButton*>(widget)) {
            add(widget, "text", button->text());
        }
        if (const auto* tabs = qobject_cast<QTabBar*>(widget)) {
            for (int tab = 0; tab < tabs->count(); ++tab) {
                add(widget, "tabText", tabs->tabText(tab));
                add(widget, "tabToolTip", tabs->tabToolTip(tab));
            }
        }
    }
    for (const QAction* action : form.findChildren<QAction*>()) {
        add(action, "text", action->text());
        add(action, "toolTip", action->toolTip());
        add(action, "statusTip", action->statusTip());
        add(action, "whatsThis", action->whatsThis());
    }
    return shown;
}

// Picks a language from the menu bar's Language menu with the mouse.
void chooseLanguage(QMainWindow& form, const QString& item) {
    QMenuBar* bar = form.menuBar();
    auto* menu = form.findChild<QMenu*>(u"mnukeel"_s);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 1000));
    QAction* action = menu->findChild<QAction*>(item);
    ASSERT_NE(action, nullptr) << item.toStdString();
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    EXPECT_TRUE(QTest::qWaitFor([menu] { return !menu->isVisible(); }, 1000));
}

// Each menu and each of its items opens by a letter of its own.
void expectALetterForEveryMenuItem(const QMainWindow& form) {
    const auto mnemonics = [](const QList<QAction*>& actions) {
        QStringList letters;
        for (const QAction* action : actions) {
            if (!action->isSeparator()) {
                letters << QKeySequence::mnemonic(action->text()).toString();
                EXPECT_FALSE(letters.last().isEmpty()) << action->text().toStdString();
            }
        }
        EXPECT_EQ(letters.removeDuplicates(), 0) << letters.join(u' ').toStdString();
    };
    mnemonics(form.menuBar()->actions());
    for (const QAction* menu : form.menuBar()->actions()) {
        mnemonics(menu->menu()->actions());
    }
}

// After each switch, nothing the window shows is a text of a language shown before that reads
// otherwise in the new one (a download time and a day's name are among them), and the menus open
// by letters of their own.
TEST(Form1Language, ASwitchLeavesNoTextOfAnEarlierLanguage) {
    Form1Fixture fixture;
    storeTheStartsPictures(fixture);
    Form1& form = fixture.start();
    ASSERT_FALSE(ui(form).halokp->text().isEmpty()) << "the chart's download time is shown";
    ASSERT_FALSE(ui(form).millal->text().isEmpty()) << "the sailing maps' download time is shown";
    const std::pair<const char*, QString> switches[] = {{"english", InterfaceTexts::English},
                                                        {"läti", InterfaceTexts::Latvian},
                                                        {"eesti", InterfaceTexts::Estonian}};
    QStringList earlier{fixture.texts->language()};
    for (const auto& [item, language] : switches) {
        SCOPED_TRACE(item);
        chooseLanguage(form, QString::fromUtf8(item));
        ASSERT_EQ(fixture.texts->language(), language);
        EXPECT_EQ(checkedLanguages(form), QStringList{QString::fromUtf8(item)});
        const LeftBehindTexts leftBehind(earlier, language);
        for (const auto& [where, text] : shownTexts(form)) {
            EXPECT_FALSE(leftBehind.foundIn(text)) << where.toStdString() << ": " << text.toStdString();
        }
        expectALetterForEveryMenuItem(form);
        earlier << language;
    }
    EXPECT_FALSE(fixture.stored(settings_table::Keel.name).isValid()) << "nothing is stored before the end";
}

// The option is ticked exactly when its stored value is 1, as a number or as a text; yesterday's
// last provider charts and sailing maps are kept, as the first hours of today show them.
TEST(Form1Startup, ChartsOfPastDaysAreDeletedOnlyWhenTheStoredOptionIsOne) {
    const std::pair<QVariant, bool> cases[] = {{1, true},
                                               {0, false},
                                               {2, false},
                                               {QStringLiteral("0"), false},
                                               {QStringLiteral("1"), true},
                                               {QStringLiteral("ei"), false}};
    for (const auto& [stored, deleted] : cases) {
        SCOPED_TRACE(stored.toString().toStdString());
        Form1Fixture fixture(QDateTime(QDate(2007, 4, 10), QTime(0, 5)));
        fixture.storeSetting(settings_table::kustutavanad.builtInCaption, stored);
        for (const char* name :
             {"kaardid/20070409HALO19.gif", "kaardid/20070409HALO23.gif", "kaardid/20070409HALOsade22.gif",
              "kaardid/20070409000321.gif", "kaardid/20070409001621.gif", "kaardid/20070409000318.gif",
              "kaardid/20070409000321.ini", "kaardid/20070410HALO00.gif", "kaardid/Tartu.xml",
              "kaardid/quellan.txt", "kaardid/wave03.gif"}) {
            fixture.folder.write(QString::fromLatin1(name), "x");
        }
        const Form1& form = fixture.start();
        const auto exists = [&](const char* name) {
            return QFile::exists(fixture.folder.file(QString::fromLatin1(name)));
        };
        EXPECT_EQ(ui(form).kustutavanad->isChecked(), deleted);
        EXPECT_EQ(StoredSettings(*fixture.store).menuTicked(settings_table::kustutavanad), deleted)
            << "the run without a window";
        EXPECT_EQ(exists("kaardid/20070409HALO19.gif"), !deleted);
        EXPECT_EQ(exists("kaardid/20070409000318.gif"), !deleted);
        EXPECT_EQ(exists("kaardid/20070409000321.ini"), !deleted);
        for (const char* shownToday : {"kaardid/20070409HALO23.gif", "kaardid/20070409HALOsade22.gif",
                                       "kaardid/20070409000321.gif", "kaardid/20070409001621.gif"}) {
            EXPECT_TRUE(exists(shownToday)) << shownToday;
        }
        EXPECT_TRUE(exists("kaardid/20070410HALO00.gif"));
        EXPECT_TRUE(exists("kaardid/Tartu.xml"));
        EXPECT_TRUE(exists("kaardid/quellan.txt"));
        EXPECT_TRUE(exists("kaardid/wave03.gif"));
    }
}

// A stored number is the box's value: 2 shows it grey, which is not ticked; a text holding a
// number counts as that number.
TEST(Form1Settings, ABoxTakesTheStoredNumberAndKeepsItAtExit) {
    Form1Fixture fixture;
    fixture.storeSetting(settings_table::marevo.builtInCaption, 2);
    fixture.storeSetting(settings_table::quellan.builtInCaption, QStringLiteral("0"));
    fixture.storeSetting(settings_table::tsekiuuendusi.builtInCaption, QStringLiteral(" 2 "));
    fixture.storeSetting(settings_table::pilvisus.builtInCaption, QStringLiteral("1"));
    fixture.storeSetting(settings_table::sademed.builtInCaption, -1);
    fixture.storeSetting(settings_table::quellanyld.builtInCaption, QStringLiteral("not a number"));
    Form1& form = fixture.start();
    EXPECT_EQ(ui(form).marevo->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(ui(form).quellan->checkState(), Qt::Unchecked);
    EXPECT_EQ(ui(form).tsekiuuendusi->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(ui(form).pilvisus->checkState(), Qt::Checked);
    EXPECT_EQ(ui(form).sademed->checkState(), Qt::Unchecked) << "no box value: the built-in state";
    EXPECT_EQ(ui(form).quellanyld->checkState(), Qt::Checked) << "no number: the built-in state";

    const DownloadRunHost::Choices choices = storedChoices(StoredSettings(*fixture.store));
    EXPECT_FALSE(choices.marevo) << "grey is not ticked";
    EXPECT_FALSE(choices.quellan);
    EXPECT_TRUE(choices.pilvisus);

    fixture.close();
    EXPECT_EQ(fixture.stored(settings_table::marevo.builtInCaption), QVariant(2));
    EXPECT_EQ(fixture.stored(settings_table::quellan.builtInCaption), QVariant(0));
    EXPECT_EQ(fixture.stored(settings_table::pilvisus.builtInCaption), QVariant(1));
    EXPECT_EQ(fixture.stored(settings_table::sademed.builtInCaption), QVariant(0));

    // A click takes a grey box out of grey for good.
    Form1& again = fixture.start();
    QTest::mouseClick(ui(again).marevo, Qt::LeftButton);
    QTest::mouseClick(ui(again).marevo, Qt::LeftButton);
    QTest::mouseClick(ui(again).marevo, Qt::LeftButton);
    EXPECT_NE(ui(again).marevo->checkState(), Qt::PartiallyChecked);
}

// The progress bar stays on the window's bottom edge and the sailing maps' scroll bar on their
// panel's, whatever the window's size.
TEST(Form1Layout, TheBarsStayOnTheirEdgesAndThePanelScrollsThePair) {
    Form1Fixture fixture;
    Form1& form = fixture.start();
    for (const QSize size : {QSize(1200, 800), QSize(1500, 900)}) {
        form.resize(size);
        QApplication::processEvents();
        EXPECT_EQ(ui(form).ProgressBar1->y() + ui(form).ProgressBar1->height(), form.height());
        EXPECT_EQ(ui(form).ProgressBar1->width(), form.width() - ui(form).ProgressBar1->height());
        EXPECT_EQ(ui(form).HScroll1->y() + ui(form).HScroll1->height(), ui(form).Picture4->height());
        EXPECT_EQ(ui(form).HScroll1->width(), ui(form).Picture4->width());
    }
    // A panel narrower than the pair, as on a small screen, scrolls the two maps together; at the
    // far end the mainland map's right edge meets the panel's.
    ui(form).Picture4->setFixedWidth(578);
    QApplication::processEvents();
    ASSERT_EQ(ui(form).Picture4->width(), 578);
    ui(form).HScroll1->setValue(ui(form).HScroll1->minimum());
    EXPECT_EQ(ui(form).Picture2->x(), ui(form).HScroll1->minimum());
    EXPECT_EQ(ui(form).Picture1->x(), ui(form).Picture2->x() + 320);
    EXPECT_EQ(ui(form).Picture1->x() + ui(form).Picture1->width(), ui(form).Picture4->width());
}

// Tab reads the window as it is drawn: the chart's tabs and the chart, then the right column top to bottom
// (the sailing maps shown left to right before their scroll bar), the slider, and the bottom row left
// to right; every control it can reach comes once, and the last leads back to the first. Ctrl+Q
// leaves the program as `valju` does, saving the settings.
TEST(Form1Keyboard, TabFollowsTheReadingOrder) {
    Form1Fixture fixture;
    storeTheStartsPictures(fixture);
    Form1& form = fixture.start();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QStringList reachable;
    for (const QWidget* widget : form.findChildren<QWidget*>()) {
        if (widget->isVisible() && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus) &&
            !widget->focusProxy()) {
            reachable << widget->objectName();
        }
    }
    const QStringList readingOrder = {
        u"miskaart"_s,  u"halo"_s,          u"halograaf1"_s,   u"halograaf2"_s,   u"halograaf3"_s,
        u"linn"_s,      u"Picture2"_s,      u"Picture1"_s,     u"HScroll1"_s,     u"quellan"_s,
        u"temp"_s,      u"quellanyld"_s,    u"pilvisus"_s,     u"sademed"_s,      u"marevo"_s,
        u"Slider1"_s,   u"Command2"_s,      u"Play"_s,         u"Command1"_s,     u"naitalegend"_s,
        u"quellan3h"_s, u"tsekiuuendusi"_s, u"aintmärgitud"_s, u"märgiperiood"_s, u"märgialgus"_s,
        u"märgilõpp"_s};
    QWidget* first = form.findChild<QWidget*>(readingOrder.first());
    ASSERT_NE(first, nullptr);
    first->setFocus(Qt::TabFocusReason);
    QStringList visited;
    for (QWidget* focus = first; focus && visited.size() <= reachable.size();) {
        visited << focus->objectName();
        QTest::keyClick(focus, Qt::Key_Tab);
        focus = QApplication::focusWidget() == first ? nullptr : QApplication::focusWidget();
    }
    EXPECT_EQ(visited, readingOrder);
    QStringList sortedVisited = visited;
    sortedVisited.sort();
    reachable.sort();
    EXPECT_EQ(sortedVisited, reachable);
    QTest::keyClick(&form, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(fixture.stored(settings_table::Keel.name), QVariant(InterfaceTexts::Estonian));
}

// A message the window shows in the status bar (the pack's, say) is said on the run's line, drawn
// once, until the run has news.
TEST(Form1Layout, AStatusBarMessageTakesTheRunsLineUntilTheRunHasNews) {
    Form1Fixture fixture;
    Form1& form = fixture.start();
    RunStatusLine* line = ui(form).runStatus;
    const QString message = u"The charts and a page to view them were saved in /tmp/pack"_s;
    line->showProgress(message);
    const QImage alone = form.statusBar()->grab().toImage();
    line->showProgress(u"12 fetched, 0 unchanged, 0 failed in 3 s"_s);
    form.statusBar()->showMessage(message);
    EXPECT_EQ(line->text(), message);
    EXPECT_EQ(form.statusBar()->grab().toImage(), alone);
    line->showProgress(u"13 fetched, 0 unchanged, 0 failed in 3 s"_s);
    EXPECT_EQ(line->text(), u"13 fetched, 0 unchanged, 0 failed in 3 s"_s);
    EXPECT_TRUE(form.statusBar()->currentMessage().isEmpty());
}

TEST(Form1Menus, HomePageOpensThroughTheShell) {
    Form1Fixture fixture;
    Form1& form = fixture.start();
    ui(form).netilehele->trigger();
    ASSERT_EQ(fixture.shell.openedUrls.size(), 1);
    EXPECT_EQ(fixture.shell.openedUrls.first(),
              HostConfig::load(fixture.folder.file(QStringLiteral("brisel.ini"))).home);
}

// The wave maps and the legend open once each, over the middle of the main window, and close on
// Escape from whatever control of theirs has the focus, unloaded; the legend opened again speaks
// the language chosen meanwhile, its pictures named for screen readers.
TEST(Form1SideWindows, EachOpensOnceOverTheMiddleAndEscapeUnloadsIt) {
    Form1Fixture fixture;
    Form1& form = fixture.start();
    form.move(150, 60);
    const std::pair<QPushButton*, QString> openers[] = {{ui(form).Command1, u"iltamerinyt"_s},
                                                        {ui(form).naitalegend, u"legend"_s}};
    for (const auto& [opener, name] : openers) {
        SCOPED_TRACE(name.toStdString());
        QTest::mouseClick(opener, Qt::LeftButton);
        QTest::mouseClick(opener, Qt::LeftButton);
        ASSERT_EQ(form.findChildren<QWidget*>(name).size(), 1);
        const QPointer<QWidget> window = form.findChild<QWidget*>(name);
        EXPECT_LE((window->frameGeometry().center() - form.frameGeometry().center()).manhattanLength(), 1);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window->focusWidget() ? window->focusWidget() : window.data(), Qt::Key_Escape);
        EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 1000)) << "it stays open";
    }
    EXPECT_TRUE(form.isVisible());

    ui(form).english->trigger();
    QTest::mouseClick(ui(form).naitalegend, Qt::LeftButton);
    EXPECT_EQ(fixture.find<QWidget>(u"legend"_s)->windowTitle(), fixture.texts->keeltekst(u"legendtitle"_s));
    EXPECT_EQ(fixture.find<QLabel>(u"Label2"_s)->text(), fixture.texts->keeltekst(u"legendtxt"_s));
    for (const char* picture : {"Picture3", "Picture5"}) {
        auto* label = fixture.find<QLabel>(QString::fromLatin1(picture));
        ASSERT_NE(label, nullptr) << picture;
        EXPECT_FALSE(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name).isEmpty())
            << picture << " is named for screen readers";
    }
}

TEST(Form1BadInput, BrokenFilesNeverStopTheStart) {
    Form1Fixture fixture;
    QByteArray junk(300000, '\0');
    for (int i = 0; i < junk.size(); ++i) {
        junk[i] = static_cast<char>((i * 131) % 256);
    }
    fixture.folder.write(QStringLiteral("lang.ini"), junk);
    fixture.folder.write(QStringLiteral("spots.ini"), junk);
    fixture.folder.write(QStringLiteral("brisel.ini"), QByteArray());
    QFile settings(fixture.settingsFile);
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write(junk);
    settings.close();

    const Form1& form = fixture.start();
    EXPECT_EQ(ui(form).linn->count(), 0);
    EXPECT_EQ(ui(form).Spot.size(), 31);
    for (const QLabel* marker : ui(form).Spot) {
        EXPECT_TRUE(marker->isHidden());
    }
    EXPECT_TRUE(ui(form).marevo->isChecked());
    EXPECT_TRUE(ui(form).kustutavanad->isChecked());
}

TEST(Form1Spots, EverySpotGetsAMarkerAtItsPlace) {
    Form1Fixture fixture;
    QByteArray spots;
    for (int i = 0; i < 40; ++i) {
        spots += QStringLiteral("[Spot %1]\nlon=24,5\nlat=58.5\nelev=3\n").arg(i).toUtf8();
    }
    spots += "[../escape]\nlon=24\nlat=58\n";
    fixture.folder.write(QStringLiteral("spots.ini"), spots);
    const Form1& form = fixture.start();
    ASSERT_EQ(ui(form).Spot.size(), 40);
    EXPECT_EQ(ui(form).linn->count(), 40);
    const QLabel* last = ui(form).Spot.last();
    EXPECT_FALSE(last->isHidden());
    EXPECT_EQ(last->toolTip(), QStringLiteral("Spot 39"));
    const QPoint centre = last->geometry().center();
    EXPECT_NEAR(centre.x(), (24.5 - 18.359) / 13.3087 * ui(form).halo->width(), 1.0);
    EXPECT_NEAR(centre.y(), (60.86 - 58.5) / 7.82 * ui(form).halo->height(), 1.0);
}

} // namespace
