// The profile (INI) reader: the rules of the Windows profile reader.

#include "platform/profile_file.h"
#include "test_support.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

ProfileFile parse(const char* text) {
    return ProfileFile::parse(QByteArray(text));
}

TEST(ProfileFile, ValueLosesItsBlanksAndOnePairOfQuotesAndIsCutTo199Characters) {
    const ProfileFile ini = parse("[keel]\n"
                                  "plain=  two   words \t\n"
                                  "double = \"  kept  inside  \"  \n"
                                  "single='single'\n"
                                  "twice=\"\"twice\"\"\n"
                                  "mixed=\"mixed'\n"
                                  "lone=\"\n"
                                  "inner=a \"b\" c\n"
                                  "empty=\n"
                                  "equals=a=b\n");
    EXPECT_EQ(ini.value(u"keel"_s, u"plain"_s), QStringLiteral("two   words"));
    EXPECT_EQ(ini.value(u"keel"_s, u"double"_s), QStringLiteral("  kept  inside  "));
    EXPECT_EQ(ini.value(u"keel"_s, u"single"_s), QStringLiteral("single"));
    EXPECT_EQ(ini.value(u"keel"_s, u"twice"_s), QStringLiteral("\"twice\""));
    EXPECT_EQ(ini.value(u"keel"_s, u"mixed"_s), QStringLiteral("\"mixed'"));
    EXPECT_EQ(ini.value(u"keel"_s, u"lone"_s), QStringLiteral("\""));
    EXPECT_EQ(ini.value(u"keel"_s, u"inner"_s), QStringLiteral("a \"b\" c"));
    EXPECT_EQ(ini.value(u"keel"_s, u"empty"_s, u"default"_s), QString())
        << "present but empty is not missing";
    EXPECT_EQ(ini.value(u"keel"_s, u"equals"_s), QStringLiteral("a=b"));

    const QString text = QString(200, QLatin1Char('a')) + QString(50, QLatin1Char('b'));
    const ProfileFile longer = ProfileFile::parse("[s]\nlong=" + text.toUtf8() + "\nquoted=\"" +
                                                  QString(250, QChar(0x00f5)).toUtf8() + "\"\n");
    EXPECT_EQ(longer.value(u"s"_s, u"long"_s), text.left(199)) << "cut to 199 characters";
    EXPECT_EQ(longer.value(u"s"_s, u"quoted"_s), QString(199, QChar(0x00f5)))
        << "characters, not bytes; quotes first";
}

TEST(ProfileFile, NamesAreComparedWithoutCaseAndWhatIsMissingGivesTheDefault) {
    const ProfileFile ini = parse("key=orphan\n[English]\nStartDL=Start\n[ latvian ]\nkey=lv\n");
    EXPECT_EQ(ini.value(u"ENGLISH"_s, u"startdl"_s), QStringLiteral("Start"));
    EXPECT_EQ(ini.value(u"latvian"_s, u"KEY"_s), QStringLiteral("lv"));
    EXPECT_EQ(ini.value(u"estonian"_s, u"startdl"_s, u"d"_s), QStringLiteral("d"));
    EXPECT_EQ(ini.value(u"english"_s, u"deleteold"_s, u"d"_s), QStringLiteral("d"));
    EXPECT_EQ(ini.value(u"english"_s, u"deleteold"_s), QString());
    EXPECT_EQ(ini.value(u""_s, u"key"_s, u"d"_s), QStringLiteral("d")) << "a key before any section";

    const ProfileFile missing = ProfileFile::load(QStringLiteral("/nonexistent/brisel/lang.ini"));
    EXPECT_EQ(missing.value(u"english"_s, u"startdl"_s, u"d"_s), QStringLiteral("d"));
    EXPECT_TRUE(missing.sectionNames().isEmpty());
}

TEST(ProfileFile, SectionNamesComeInFileOrderAsWritten) {
    const ProfileFile ini =
        parse("; spots\n[Tallinn (Pirita)]\nlon=24.8\n[Narva-Jõesuu]\n[  ]\n[tallinn (pirita)]\n"
              "lat=59.4\n[Pärnu]\n");
    EXPECT_EQ(ini.sectionNames(),
              QStringList({u"Tallinn (Pirita)"_s, u"Narva-Jõesuu"_s, u"  "_s, u"Pärnu"_s}));
    EXPECT_EQ(ini.value(u"Tallinn (Pirita)"_s, u"lat"_s), QStringLiteral("59.4"))
        << "a repeated section adds to the first";
    EXPECT_EQ(ini.keyNames(u"TALLINN (PIRITA)"_s), QStringList({u"lon"_s, u"lat"_s}));
}

TEST(ProfileFile, ReadsUtf8WithByteOrderMarkCommentsAndCrLf) {
    const ProfileFile ini = parse("\xEF\xBB\xBF[estonian]\r\n"
                                  "; city=comment\r\n"
                                  "  city = Jõgeva \r\n"
                                  "city=second\r\n"
                                  "no equals sign\r\n");
    EXPECT_EQ(ini.sectionNames(), QStringList{u"estonian"_s});
    EXPECT_EQ(ini.value(u"estonian"_s, u"city"_s), QStringLiteral("Jõgeva")) << "the first of repeated keys";
    EXPECT_EQ(ini.value(u"estonian"_s, u"; city"_s, u"d"_s), QStringLiteral("d"));
    EXPECT_EQ(ini.keyNames(u"estonian"_s), QStringList{u"city"_s});
}

TEST(ProfileFile, BinaryJunkDoesNotHurt) {
    QByteArray junk(64 * 1024, '\0');
    QRandomGenerator generator(11);
    for (char& c : junk) {
        c = static_cast<char>(generator.bounded(256));
    }
    const ProfileFile ini = ProfileFile::parse(junk + "\n[after]\nkey=value\x00tail\n" + QByteArray(3, '\0'));
    EXPECT_EQ(ini.value(u"after"_s, u"key"_s).left(5), QStringLiteral("value"));
    for (const QString& section : ini.sectionNames()) {
        ini.value(section, u"key"_s); // whatever the junk made of it can be asked
    }
}

TEST(ProfileFile, HugeFileIsReadOnlyAsFarAsTheLimit) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("huge.ini"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[first]\nkey=early\n");
    const QByteArray line = "filler=" + QByteArray(120, 'x') + '\n';
    for (qint64 written = 0; written < 6 * 1024 * 1024; written += line.size()) {
        file.write(line);
    }
    file.write("[last]\nkey=late\n");
    file.close();

    const ProfileFile ini = ProfileFile::load(path);
    EXPECT_EQ(ini.value(u"first"_s, u"key"_s), QStringLiteral("early"));
    EXPECT_EQ(ini.value(u"last"_s, u"key"_s, u"d"_s), QStringLiteral("d")) << "beyond the first 4 MiB";
}

} // namespace
