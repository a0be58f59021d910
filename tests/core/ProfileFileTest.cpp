// Settings files read and written as a person's hand-edited ones expect.

#include <QFile>
#include <sys/stat.h>

#include "core/ProfileFile.h"
#include "support/CoreTestEnv.h"

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

mode_t fileMode(const QString& path)
{
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 07777;
}

QString value(const QByteArray& content, const char* section, const char* key)
{
    return readValue(content, QString::fromUtf8(section), QString::fromUtf8(key)).value_or(QStringLiteral("<none>"));
}

} // namespace

class ProfileFileTest : public CoreTest {};

TEST(ProfileFile, ReadsHandWrittenFilesAsWritten)
{
    // Not keys: lines before the first section, comment lines.
    QStringList values;
    for (const char* key : {"DATABASE", "count", "Quoted", "Comment", "stray", "; closing comment"})
        values << value(kHandWritten, "startup", key);
    EXPECT_EQ(values, QStringList({"C:\\Writing\\Quillary.mdb", "12", "  spaced  ", "v ;x", "<none>", "<none>"}));

    // Only one outer pair of matching quotes goes; mismatched or lone quotes stay.
    const QByteArray quotes("[S]\na=\"\"x\"\"\nb=\"x'\n");
    EXPECT_EQ(value(quotes, "S", "a") + value(quotes, "S", "b"), QStringLiteral("\"x\"\"x'"));
    // Case is ignored beyond ASCII; CR, LF, CRLF mixed.
    EXPECT_EQ(value("[Ärger]\nSchlüssel=Größe\n", "ärger", "SCHLÜSSEL"), QStringLiteral("Größe"));
    const QByteArray endings("[S]\ra=1\nb=2\r\nc=3");
    EXPECT_EQ(value(endings, "S", "a") + value(endings, "S", "b") + value(endings, "S", "c"), QStringLiteral("123"));

    // The first section and key of a name win.
    const QByteArray content("[S]\nk=first\nk=second\n[T]\nk=t\n[s]\nk=third\nnew=later\n");
    EXPECT_EQ(value(content, "S", "k"), QStringLiteral("first"));
    EXPECT_EQ(value(content, "S", "new"), "<none>");

    // Writing goes to the first key of the first section; nothing else moves.
    EXPECT_EQ(writeValue(content, "s", "K", "x"),
              QByteArray("[S]\nk=x\nk=second\n[T]\nk=t\n[s]\nk=third\nnew=later\n"));
    // A key only in the duplicate section is new to the first one.
    EXPECT_EQ(writeValue(content, "S", "new", "y"),
              QByteArray("[S]\nk=first\nk=second\nnew=y\n[T]\nk=t\n[s]\nk=third\nnew=later\n"));
}

TEST(ProfileFile, WritingChangesOnlyTheValuesCharactersOrAddsOneLine)
{
    QByteArray expected = kHandWritten;
    expected.replace("\"C:\\Writing\\Quillary.mdb\"", "\"D:\\new.mdb\"");
    EXPECT_EQ(writeValue(kHandWritten, "STARTUP", "database", "D:\\new.mdb"), expected);

    // A new key goes after the section's last key line, before its closing comment, in CRLF style.
    expected = kHandWritten;
    expected.replace("Comment=v ;x\r\n", "Comment=v ;x\r\nAdded=yes\r\n");
    EXPECT_EQ(writeValue(kHandWritten, "Startup", "Added", "yes"), expected);

    // A new section goes at the end, in the file's own style.
    EXPECT_EQ(writeValue("[A]\rx=1\r", "S", "k", "v"), QByteArray("[A]\rx=1\r[S]\rk=v\r"));

    // Quotes around the old value stay; a value that needs quotes gets them.
    EXPECT_EQ(writeValue("[S]\nk='a b'\n", "S", "k", " x\""), QByteArray("[S]\nk=' x\"'\n"));
    EXPECT_EQ(writeValue("[S]\nk= v \n", "S", "k", " padded"), QByteArray("[S]\nk= \" padded\" \n"));
    // A line break cannot be stored and becomes a blank.
    EXPECT_EQ(writeValue("[S]\nk=1\nnext=2\n", "S", "k", "one\r\ntwo\nthree"), QByteArray("[S]\nk=one  two three\nnext=2\n"));

    // A value may start with U+FEFF: only the file's first bytes can be a byte-order mark.
    const QString text = QStringLiteral("\uFEFF[A] x=s");
    const QByteArray marked = writeValue("[S]\nk=1\n", "S", "k", text);
    EXPECT_EQ(marked, QByteArray("[S]\nk=\xEF\xBB\xBF[A] x=s\n"));
    EXPECT_EQ(readValue(marked, "S", "k"), text);
    EXPECT_EQ(value("\xEF\xBB\xBF[S]\r\nk=v\r\n", "S", "k"), QStringLiteral("v"));
}

TEST_F(ProfileFileTest, AFileIsReplacedWholeOrNotAtAllAndKeepsItsPermissions)
{
    // Several keys in several sections, existing and new, in one rewrite.
    writeIni(kHandWritten);
    ASSERT_EQ(::chmod(QFile::encodeName(iniFile()).constData(), 0640), 0);
    QString error;
    ASSERT_TRUE(profile::writeFile(iniFile(), {{"Other", "Database", "third"}, {"Startup", "Empty", "e"},
                                               {"Startup", "Added", "a"}, {"New", "k", "n"}}, &error))
        << error.toStdString();
    QByteArray expected = kHandWritten;
    expected.replace("Database=second", "Database=third").replace("Empty=\r\n", "Empty=e\r\n");
    expected.replace("Comment=v ;x\r\n", "Comment=v ;x\r\nAdded=a\r\n").append("[New]\r\nk=n\r\n");
    EXPECT_EQ(readIni(), expected);
    EXPECT_EQ(fileMode(iniFile()), 0640);

    {
        // The disk fills up half-way through the new file, also when the first keys of a
        // rewrite would still fit: the old one stays, byte for byte.
        const FileSizeLimit limit(expected.size());
        error.clear();
        EXPECT_FALSE(profile::writeFile(iniFile(), {{"Startup", "Count", ""}, {"Startup", "Database", "x"},
                                                   {"Other", "Database", QString(80, QLatin1Char('y'))}}, &error));
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_EQ(readIni(), expected);

    // Without write permission for its owner the file is not replaced, even by root.
    ASSERT_EQ(::chmod(QFile::encodeName(iniFile()).constData(), 0444), 0);
    EXPECT_FALSE(profile::writeFile(iniFile(), "S", "k", "3", &error));
    EXPECT_TRUE(error.contains(QStringLiteral("read-only"))) << error.toStdString();
    EXPECT_EQ(readIni(), expected);
    EXPECT_EQ(fileMode(iniFile()), 0444);
}
