// Interface texts of lang.ini and the weekday names.

#include "settings/interface_texts.h"
#include "test_support.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

class InterfaceTextsTest : public ::testing::Test {
protected:
    InterfaceTexts textsOf(const QByteArray& langIni) {
        folder.write(QStringLiteral("lang.ini"), langIni);
        return InterfaceTexts(folder.file(QStringLiteral("lang.ini")));
    }
    testing_support::TempProgramFolder folder;
};

const QByteArray WeekdayIni = "[estonian]\n"
                              "Sun=P\nMon=E\nTue=T\nWed=K\nThu=N\nFri=R\nSat=L\n"
                              "startdl=  Lae   kaardid  \n"
                              "[english]\n"
                              "Sun=Sun\nSat=Sat\n"
                              "[latvian]\n"
                              "Sun=Sv\nMon=P\n";

TEST_F(InterfaceTextsTest, WeekdayFollowsTheLanguageWithSundayFirst) {
    InterfaceTexts texts = textsOf(WeekdayIni);
    const QDate sunday(2024, 6, 2);
    const QDate saturday(2024, 6, 1);
    ASSERT_EQ(sunday.dayOfWeek(), Qt::Sunday);
    EXPECT_EQ(texts.npaev(sunday), QStringLiteral("P"));
    EXPECT_EQ(texts.npaev(saturday), QStringLiteral("L"));
    EXPECT_EQ(texts.npaev(QDate(2024, 6, 5)), QStringLiteral("K"));

    texts.setLanguage(InterfaceTexts::English);
    EXPECT_EQ(texts.npaev(sunday), QStringLiteral("Sun"));
    EXPECT_EQ(texts.npaev(saturday), QStringLiteral("Sat"));
    EXPECT_EQ(texts.npaev(QDate(2024, 6, 3)), QString()) << "a language without that key";
}

TEST_F(InterfaceTextsTest, TextIsUsedAsTheReaderGivesIt) {
    InterfaceTexts texts = textsOf(WeekdayIni);
    EXPECT_EQ(texts.language(), InterfaceTexts::Estonian);
    EXPECT_EQ(texts.keeltekst(QStringLiteral("startdl")), QStringLiteral("Lae   kaardid"));
    EXPECT_EQ(texts.keeltekst(QStringLiteral("nosuchkey")), QString());
}

TEST_F(InterfaceTextsTest, MissingLanguageSectionOrFileGivesEmptyTexts) {
    InterfaceTexts texts = textsOf(WeekdayIni);
    texts.setLanguage(QStringLiteral("klingon"));
    EXPECT_EQ(texts.keeltekst(QStringLiteral("Sun")), QString());
    EXPECT_EQ(texts.npaev(QDate(2024, 6, 2)), QString());

    const InterfaceTexts none(folder.file(QStringLiteral("missing.ini")));
    EXPECT_EQ(none.keeltekst(QStringLiteral("Sun")), QString());
}

// The user's own lang.ini over the shipped one: its keys replace, even with an empty text, and
// the keys it lacks, such as one a later version added, still come from the shipped file.
TEST_F(InterfaceTextsTest, ALaterFileAddsOrReplacesKeys) {
    folder.write(QStringLiteral("shipped.ini"), "[english]\nstartdl=Download\nclose=Close\nlegend=Legend\n");
    folder.write(QStringLiteral("own.ini"), "[English]\nSTARTDL=Fetch\nlegend=\nextra=Mine\n");
    InterfaceTexts texts(
        QStringList{folder.file(QStringLiteral("shipped.ini")), folder.file(QStringLiteral("own.ini"))});
    texts.setLanguage(InterfaceTexts::English);
    EXPECT_EQ(texts.keeltekst(QStringLiteral("startdl")), QStringLiteral("Fetch"));
    EXPECT_EQ(texts.keeltekst(QStringLiteral("close")), QStringLiteral("Close"));
    EXPECT_EQ(texts.keeltekst(QStringLiteral("legend")), QString());
    EXPECT_EQ(texts.keeltekst(QStringLiteral("extra")), QStringLiteral("Mine"));
    texts.setLanguage(InterfaceTexts::Latvian);
    EXPECT_EQ(texts.keeltekst(QStringLiteral("close")), QString());
}

TEST(ShippedLangIni, ThreeLanguagesHoldTheSameKeys) {
    const ProfileFile ini = ProfileFile::load(testing_support::shippedDataFile(QStringLiteral("lang.ini")));
    const QStringList languages{InterfaceTexts::Estonian, InterfaceTexts::English, InterfaceTexts::Latvian};
    const auto keysOf = [&ini](const QString& language) {
        QSet<QString> keys;
        for (const QString& key : ini.keyNames(language)) {
            keys.insert(key.toCaseFolded());
        }
        return keys;
    };
    for (const QString& language : languages) {
        EXPECT_TRUE(ini.sectionNames().contains(language)) << language.toStdString();
        EXPECT_EQ(keysOf(language), keysOf(InterfaceTexts::Estonian)) << language.toStdString();
    }
}

} // namespace
