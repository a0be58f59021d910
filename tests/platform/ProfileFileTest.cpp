#include "platform/ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/modQuillary.h"
#include "support/TestEnv.h"

using profile::readValue;
using profile::writeValue;

namespace {

// A settings file as a person might have edited it by hand.
const QByteArray kHandWritten(
    "\xEF\xBB\xBF; Quillary settings\r\n"
    "stray=before any section\r\n"
    "\r\n"
    "[ Startup ]  trailing text\r\n"
    "  Database =  \"C:\\Writing\\Quillary.mdb\"  \r\n"
    "\tCount\t=\t12\t\r\n"
    "NoEquals line\r\n"
    "Empty=\r\n"
    "Quoted='  spaced  '\r\n"
    "Comment=v ;x\r\n"
    "; closing comment\r\n"
    "\r\n"
    "[Other]\r\n"
    "Database=second\r\n");

QString value(const QByteArray& content, const char* section, const char* key)
{
    return readValue(content, QString::fromUtf8(section), QString::fromUtf8(key)).value_or(QStringLiteral("<none>"));
}

} // namespace

class ProfileFileTest : public QuillaryTest {};

TEST(ProfileFile, ReadsHandWrittenFile)
{
    EXPECT_EQ(value(kHandWritten, "startup", "DATABASE"), QStringLiteral("C:\\Writing\\Quillary.mdb"));
    EXPECT_EQ(value(kHandWritten, "Startup", "count"), QStringLiteral("12"));
    EXPECT_EQ(value(kHandWritten, "Startup", "Empty"), QString());
    EXPECT_TRUE(readValue(kHandWritten, "Startup", "Empty").has_value());
    EXPECT_EQ(value(kHandWritten, "Startup", "Quoted"), QStringLiteral("  spaced  "));
    EXPECT_EQ(value(kHandWritten, "Startup", "Comment"), QStringLiteral("v ;x"));
    EXPECT_EQ(value(kHandWritten, "Other", "Database"), QStringLiteral("second"));
    // Not keys: before the first section, without '=', comment lines.
    EXPECT_FALSE(readValue(kHandWritten, "Startup", "stray").has_value());
    EXPECT_FALSE(readValue(kHandWritten, "Startup", "NoEquals line").has_value());
    EXPECT_FALSE(readValue(kHandWritten, "Startup", "; closing comment").has_value());
    EXPECT_FALSE(readValue(kHandWritten, "Startup", "Missing").has_value());
    EXPECT_FALSE(readValue(kHandWritten, "Missing", "Count").has_value());
    EXPECT_FALSE(readValue(QByteArray(), "Startup", "Count").has_value());
}

TEST(ProfileFile, ReadsValueDetails)
{
    // Only one outer pair of matching quotes goes; mismatched or lone quotes stay.
    const QByteArray quotes("[S]\na=\"\"x\"\"\nb=\"x'\nc=\"\nd=''\ne='x' y\n");
    EXPECT_EQ(value(quotes, "S", "a"), QStringLiteral("\"x\""));
    EXPECT_EQ(value(quotes, "S", "b"), QStringLiteral("\"x'"));
    EXPECT_EQ(value(quotes, "S", "c"), QStringLiteral("\""));
    EXPECT_EQ(value(quotes, "S", "d"), QString());
    EXPECT_EQ(value(quotes, "S", "e"), QStringLiteral("'x' y"));

    // A section name ends at its first ']'; a value may hold '=' and ']'.
    const QByteArray names("[A]B]\nk=x=y]\n");
    EXPECT_EQ(value(names, "A", "k"), QStringLiteral("x=y]"));
    EXPECT_FALSE(readValue(names, "A]B", "k").has_value());

    // Letter case is ignored beyond ASCII; text is UTF-8.
    const QByteArray unicode("[Ärger]\nSchlüssel=Größe\n");
    EXPECT_EQ(value(unicode, "ärger", "SCHLÜSSEL"), QStringLiteral("Größe"));

    // CR, LF and CRLF line endings, mixed in one file.
    const QByteArray endings("[S]\ra=1\nb=2\r\nc=3");
    EXPECT_EQ(value(endings, "S", "a"), QStringLiteral("1"));
    EXPECT_EQ(value(endings, "S", "b"), QStringLiteral("2"));
    EXPECT_EQ(value(endings, "S", "c"), QStringLiteral("3"));
}

TEST(ProfileFile, FirstSectionAndKeyWin)
{
    const QByteArray content("[S]\nk=first\nk=second\n[T]\nk=t\n[s]\nk=third\nnew=later\n");
    EXPECT_EQ(value(content, "S", "k"), QStringLiteral("first"));
    EXPECT_FALSE(readValue(content, "S", "new").has_value());

    // Writing goes to the first key of the first section; nothing else moves.
    EXPECT_EQ(writeValue(content, "s", "K", "x"),
              QByteArray("[S]\nk=x\nk=second\n[T]\nk=t\n[s]\nk=third\nnew=later\n"));
    // A key only in the duplicate section is new to the first one.
    EXPECT_EQ(writeValue(content, "S", "new", "y"),
              QByteArray("[S]\nk=first\nk=second\nnew=y\n[T]\nk=t\n[s]\nk=third\nnew=later\n"));
}

TEST(ProfileFile, ChangingAKeyKeepsEveryOtherByte)
{
    QByteArray expected = kHandWritten;
    expected.replace("  Database =  \"C:\\Writing\\Quillary.mdb\"  \r\n", "  Database =D:\\new.mdb\r\n");
    EXPECT_EQ(writeValue(kHandWritten, "STARTUP", "database", "D:\\new.mdb"), expected);

    expected = kHandWritten;
    expected.replace("Empty=\r\n", "Empty=filled\r\n");
    EXPECT_EQ(writeValue(kHandWritten, "Startup", "Empty", "filled"), expected);

    // The last line without a line ending keeps having none.
    EXPECT_EQ(writeValue("[S]\nk=old", "S", "k", "new"), QByteArray("[S]\nk=new"));
}

TEST(ProfileFile, NewKeyGoesAfterLastKeyLine)
{
    // Before the comment and blank lines that close the section, in the file's CRLF style.
    QByteArray expected = kHandWritten;
    expected.replace("Comment=v ;x\r\n", "Comment=v ;x\r\nAdded=yes\r\n");
    EXPECT_EQ(writeValue(kHandWritten, "Startup", "Added", "yes"), expected);

    // A section without keys gets it right after its header.
    EXPECT_EQ(writeValue("[S]\n; note\n\n[T]\n", "S", "k", "v"), QByteArray("[S]\nk=v\n; note\n\n[T]\n"));
    EXPECT_EQ(writeValue("[S]", "S", "k", "v"), QByteArray("[S]\r\nk=v"));
    // After a last key line without a line ending.
    EXPECT_EQ(writeValue("[S]\ra=1", "S", "k", "v"), QByteArray("[S]\ra=1\rk=v"));
}

TEST(ProfileFile, NewSectionGoesAtTheEnd)
{
    QByteArray expected = kHandWritten + "[New]\r\nKey=v\r\n";
    EXPECT_EQ(writeValue(kHandWritten, "New", "Key", "v"), expected);

    EXPECT_EQ(writeValue(QByteArray(), "S", "k", "v"), QByteArray("[S]\r\nk=v\r\n"));
    EXPECT_EQ(writeValue("\xEF\xBB\xBF", "S", "k", "v"), QByteArray("\xEF\xBB\xBF[S]\r\nk=v\r\n"));
    // The file's own style, with a line ending added when the file lacks one.
    EXPECT_EQ(writeValue("[A]\nx=1", "S", "k", "v"), QByteArray("[A]\nx=1\n[S]\nk=v\n"));
    EXPECT_EQ(writeValue("[A]\rx=1\r", "S", "k", "v"), QByteArray("[A]\rx=1\r[S]\rk=v\r"));
    EXPECT_EQ(writeValue("; only a comment", "S", "k", "v"), QByteArray("; only a comment\r\n[S]\r\nk=v\r\n"));
}

TEST(ProfileFile, WrittenValuesReadBack)
{
    const QStringList values{QStringLiteral("plain"), QString(), QStringLiteral("  padded\t"),
                             QStringLiteral("\"quoted\""), QStringLiteral("'single'"), QStringLiteral("a=b ;c"),
                             QStringLiteral("Grüße ✓"), QStringLiteral("\""), QStringLiteral("'x\"")};
    for (const QString& v : values) {
        for (const QByteArray& start : {QByteArray(), QByteArray("[S]\nk=old\n"), kHandWritten}) {
            const QByteArray written = writeValue(start, "S", "k", v);
            EXPECT_EQ(readValue(written, "S", "k"), v) << written.constData();
        }
    }

    // A line break cannot be stored: it becomes a blank and the file keeps its lines.
    const QByteArray written = writeValue("[S]\nk=1\nnext=2\n", "S", "k", "one\r\ntwo\nthree");
    EXPECT_EQ(readValue(written, "S", "k"), QStringLiteral("one  two three"));
    EXPECT_EQ(readValue(written, "S", "next"), QStringLiteral("2"));
    EXPECT_EQ(written.count('\n'), 3);
}

TEST_F(ProfileFileTest, ReadsAndWritesFiles)
{
    const QString file = path("new.ini");
    EXPECT_FALSE(profile::readFile(file, "S", "k").has_value());

    QString error;
    ASSERT_TRUE(profile::writeFile(file, "S", "k", "v", &error)) << error.toStdString();
    EXPECT_EQ(profile::readFile(file, "s", "K"), QStringLiteral("v"));

    writeIni(kHandWritten);
    ASSERT_TRUE(profile::writeFile(gIniFile, "Startup", "Count", "13", &error)) << error.toStdString();
    QByteArray expected = kHandWritten;
    expected.replace("\tCount\t=\t12\t\r\n", "\tCount\t=13\r\n");
    EXPECT_EQ(readIni(), expected);
    EXPECT_EQ(profile::readFile(gIniFile, "Startup", "Count"), QStringLiteral("13"));
}

TEST_F(ProfileFileTest, FailedWriteKeepsOldFile)
{
    writeIni(kHandWritten);
    // Whose parent is a regular file, so no file can be made there, even by root.
    const QString blocked = gIniFile + QStringLiteral("/inner.ini");
    QString error;
    EXPECT_FALSE(profile::writeFile(blocked, "S", "k", "v", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readIni(), kHandWritten);
    EXPECT_FALSE(profile::readFile(blocked, "Startup", "Count").has_value());

    // A settings path that is a folder cannot be read or replaced; the folder stays.
    const QString folder = path("folder.ini");
    ASSERT_TRUE(QDir().mkdir(folder));
    error.clear();
    EXPECT_FALSE(profile::writeFile(folder, "S", "k", "v", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QFileInfo(folder).isDir());
}
