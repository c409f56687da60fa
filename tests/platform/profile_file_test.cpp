// The profile (INI) reader: the rules of the Windows profile reader (Parts 1.3 and 4.2).

#include "platform/profile_file.h"
#include "test_support.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

ProfileFile parse(const char* text) {
    return ProfileFile::parse(QByteArray(text));
}

TEST(ProfileFile, ValueLosesItsBlanksAndOnePairOfQuotesOnly) {
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
    EXPECT_EQ(ini.value("keel", "plain"), QStringLiteral("two   words"));
    EXPECT_EQ(ini.value("keel", "double"), QStringLiteral("  kept  inside  "));
    EXPECT_EQ(ini.value("keel", "single"), QStringLiteral("single"));
    EXPECT_EQ(ini.value("keel", "twice"), QStringLiteral("\"twice\""));
    EXPECT_EQ(ini.value("keel", "mixed"), QStringLiteral("\"mixed'"));
    EXPECT_EQ(ini.value("keel", "lone"), QStringLiteral("\""));
    EXPECT_EQ(ini.value("keel", "inner"), QStringLiteral("a \"b\" c"));
    EXPECT_EQ(ini.value("keel", "empty", "default"), QString()) << "present but empty is not missing";
    EXPECT_EQ(ini.value("keel", "equals"), QStringLiteral("a=b"));
}

TEST(ProfileFile, SectionsAndKeysAreComparedWithoutCase) {
    const ProfileFile ini = parse("[English]\nStartDL=Start\n[ latvian ]\nkey=lv\n");
    EXPECT_EQ(ini.value("english", "startdl"), QStringLiteral("Start"));
    EXPECT_EQ(ini.value("ENGLISH", "STARTDL"), QStringLiteral("Start"));
    EXPECT_EQ(ini.value("latvian", "key"), QStringLiteral("lv"));
}

TEST(ProfileFile, LongValueIsCutTo199Characters) {
    const QString text = QString(200, QLatin1Char('a')) + QString(50, QLatin1Char('b'));
    const ProfileFile ini = ProfileFile::parse("[s]\nlong=" + text.toUtf8() + "\nquoted=\"" +
                                               QString(250, QChar(0x00f5)).toUtf8() + "\"\n");
    EXPECT_EQ(ini.value("s", "long"), text.left(199));
    EXPECT_EQ(ini.value("s", "quoted"), QString(199, QChar(0x00f5))) << "characters, not bytes; quotes first";
}

TEST(ProfileFile, MissingFileSectionOrKeyGivesTheDefault) {
    const ProfileFile missing = ProfileFile::load(QStringLiteral("/nonexistent/brisel/lang.ini"));
    EXPECT_EQ(missing.value("english", "startdl", "d"), QStringLiteral("d"));
    EXPECT_TRUE(missing.sectionNames().isEmpty());

    const ProfileFile ini = parse("[english]\nstartdl=Start\n");
    EXPECT_EQ(ini.value("latvian", "startdl", "d"), QStringLiteral("d"));
    EXPECT_EQ(ini.value("english", "deleteold", "d"), QStringLiteral("d"));
    EXPECT_EQ(ini.value("english", "deleteold"), QString());
}

TEST(ProfileFile, SectionNamesComeInFileOrderAsWritten) {
    const ProfileFile ini =
        parse("; spots\n[Tallinn (Pirita)]\nlon=24.8\n[Narva-Jõesuu]\n[  ]\n[tallinn (pirita)]\n"
              "lat=59.4\n[Pärnu]\n");
    EXPECT_EQ(ini.sectionNames(), QStringList({"Tallinn (Pirita)", "Narva-Jõesuu", "  ", "Pärnu"}));
    EXPECT_EQ(ini.value("Tallinn (Pirita)", "lat"), QStringLiteral("59.4"))
        << "a repeated section adds to the first";
    EXPECT_EQ(ini.keyNames("TALLINN (PIRITA)"), QStringList({"lon", "lat"}));
}

TEST(ProfileFile, ReadsUtf8WithByteOrderMarkCommentsAndCrLf) {
    const ProfileFile ini = parse("\xEF\xBB\xBF[estonian]\r\n"
                                  "; city=comment\r\n"
                                  "  city = Jõgeva \r\n"
                                  "city=second\r\n"
                                  "no equals sign\r\n");
    EXPECT_EQ(ini.sectionNames(), QStringList{"estonian"});
    EXPECT_EQ(ini.value("estonian", "city"), QStringLiteral("Jõgeva")) << "the first of repeated keys";
    EXPECT_EQ(ini.value("estonian", "; city", "d"), QStringLiteral("d"));
    EXPECT_EQ(ini.keyNames("estonian"), QStringList{"city"});
}

TEST(ProfileFile, KeysBeforeAnySectionAreIgnored) {
    const ProfileFile ini = parse("key=orphan\n[s]\nkey=in s\n");
    EXPECT_EQ(ini.value("", "key", "d"), QStringLiteral("d"));
    EXPECT_EQ(ini.value("s", "key"), QStringLiteral("in s"));
}

TEST(ProfileFile, BinaryJunkDoesNotHurt) {
    QByteArray junk(64 * 1024, '\0');
    QRandomGenerator generator(11);
    for (char& c : junk) {
        c = static_cast<char>(generator.bounded(256));
    }
    const ProfileFile ini = ProfileFile::parse(junk + "\n[after]\nkey=value\x00tail\n" + QByteArray(3, '\0'));
    EXPECT_EQ(ini.value("after", "key").left(5), QStringLiteral("value"));
    for (const QString& section : ini.sectionNames()) {
        ini.value(section, "key"); // whatever the junk made of it can be asked
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
    EXPECT_EQ(ini.value("first", "key"), QStringLiteral("early"));
    EXPECT_EQ(ini.value("last", "key", "d"), QStringLiteral("d")) << "beyond the first 4 MiB";
}

} // namespace
