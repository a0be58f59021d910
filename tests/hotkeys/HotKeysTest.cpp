// Hot-key texts in their three forms, the settings entries, and reading them at start-up.

#include <gtest/gtest.h>

#include "app/modQuillary.h"
#include "hotkeys/HotKeys.h"
#include "support/TestEnv.h"

TEST(HotKeyTexts, DisplayAndKeystrokeForms)
{
    EXPECT_EQ(KeysToText(QStringLiteral("{(}see note{)}")), QStringLiteral("(see note)"));
    EXPECT_EQ(KeysToText(QStringLiteral("{TAB}x{LEFT 3}")), QStringLiteral("TABxLEFT 3"));
    EXPECT_EQ(KeysToText(QStringLiteral("a{{}b{}}c")), QStringLiteral("abc"));

    EXPECT_EQ(TextToKeys(QStringLiteral("(see note)")), QStringLiteral("{(}see note{)}"));
    EXPECT_EQ(TextToKeys(QStringLiteral("((x))")), QStringLiteral("{(}{(}x{)}{)}"));
    // The user's own notation characters keep their meaning.
    EXPECT_EQ(TextToKeys(QStringLiteral("+a%b^c~[]{x}")), QStringLiteral("+a%b^c~[]{x}"));

    // Opening the Settings dialog and confirming it writes the same texts again.
    for (const QString& keys : {QStringLiteral("{(}see note{)}"), QStringLiteral("Dear Sir,"),
                                QStringLiteral("{)}x{(}"), QStringLiteral(" trailing ")})
        EXPECT_EQ(TextToKeys(KeysToText(keys)), keys);
}

TEST(HotKeyEntries, ParseSplitsAtFirstTwoCommas)
{
    const QString underscore = QStringLiteral("_");
    auto entry = ParseHotKeyEntry(QStringLiteral("F2,113,Dear_Sir"), underscore);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->caption, QStringLiteral("F2"));
    EXPECT_EQ(entry->code, 113);
    EXPECT_EQ(entry->text, QStringLiteral("Dear Sir"));

    entry = ParseHotKeyEntry(QStringLiteral("Addr,114,1,_High_St,_Town_"), underscore);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->text, QStringLiteral("1, High St, Town "));

    entry = ParseHotKeyEntry(QStringLiteral("Empty,115,"), underscore);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->text, QString());

    // Another substitution character leaves "_" alone.
    entry = ParseHotKeyEntry(QStringLiteral("X,65,a#b_c"), QStringLiteral("#"));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->text, QStringLiteral("a b_c"));

    EXPECT_FALSE(ParseHotKeyEntry(QStringLiteral("F2"), underscore));
    EXPECT_FALSE(ParseHotKeyEntry(QStringLiteral("F2,113"), underscore));
    EXPECT_FALSE(ParseHotKeyEntry(QString(), underscore));
}

TEST(HotKeyEntries, KeyCodeIsLeadingNumberRounded)
{
    auto code = [](const char* field) {
        auto entry = ParseHotKeyEntry(QStringLiteral("C,%1,t").arg(QLatin1String(field)),
                                      QStringLiteral("_"));
        return entry ? entry->code : -12345;
    };
    EXPECT_EQ(code(" 113x"), 113);
    EXPECT_EQ(code("abc"), 0);
    EXPECT_EQ(code(""), 0);
    EXPECT_EQ(code("112.6"), 113);
    EXPECT_EQ(code("112.4"), 112);
    EXPECT_EQ(code("-5"), -5);
    EXPECT_EQ(code("."), 0);
    EXPECT_EQ(code("99999999999999999999"), INT_MAX);
}

TEST(HotKeyEntries, ComposeWritesBlanksAsSpaceChar)
{
    const QString value = ComposeHotKeyEntry(QStringLiteral("F2"), 113,
                                             QStringLiteral(" {(}see note{)} "), QStringLiteral("_"));
    EXPECT_EQ(value, QStringLiteral("F2,113,_{(}see_note{)}_"));
    EXPECT_FALSE(value.mid(7).contains(QLatin1Char(' ')));

    const auto back = ParseHotKeyEntry(value, QStringLiteral("_"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->caption, QStringLiteral("F2"));
    EXPECT_EQ(back->code, 113);
    EXPECT_EQ(back->text, QStringLiteral(" {(}see note{)} "));
}

using LoadHotKeysTest = QuillaryTest;

TEST_F(LoadHotKeysTest, StopsAtGapAndAfterFive)
{
    gSpaceChar = QStringLiteral("_");
    writeIni("[Hot-Keys]\r\n1=F2,113,Dear_Sir\r\n2=F3,114,Yours_faithfully\r\n4=F5,116,never\r\n");
    QStringList warnings;
    LoadHotKeys(&warnings);
    EXPECT_EQ(gHotKeyCount, 2);
    EXPECT_EQ(gHotKeyCaptions, QStringList({QStringLiteral("F2"), QStringLiteral("F3")}));
    EXPECT_EQ(gHotKeyCodes, QVector<int>({113, 114}));
    EXPECT_EQ(gHotKeyTexts, QStringList({QStringLiteral("Dear Sir"), QStringLiteral("Yours faithfully")}));
    EXPECT_TRUE(warnings.isEmpty());

    QByteArray six = "[Hot-Keys]\n";
    for (int i = 1; i <= 6; ++i)
        six += QByteArray::number(i) + "=K" + QByteArray::number(i) + "," + QByteArray::number(111 + i) + ",t\n";
    writeIni(six);
    LoadHotKeys(&warnings);
    EXPECT_EQ(gHotKeyCount, 5);
    EXPECT_EQ(gHotKeyCaptions.size(), 5);
    EXPECT_EQ(gHotKeyCodes.last(), 116);

    writeIni("[Other]\n1=F2,113,x\n");
    LoadHotKeys(&warnings);
    EXPECT_EQ(gHotKeyCount, 0);
    EXPECT_TRUE(gHotKeyTexts.isEmpty());
    EXPECT_TRUE(warnings.isEmpty());
}

TEST_F(LoadHotKeysTest, MalformedEntryEndsListWithWarning)
{
    gSpaceChar = QStringLiteral("_");
    writeIni("[Hot-Keys]\n1=F2,113,Dear_Sir\n2=F3 113 no commas\n3=F4,115,later\n");
    QStringList warnings;
    LoadHotKeys(&warnings);
    EXPECT_EQ(gHotKeyCount, 1);
    EXPECT_EQ(gHotKeyTexts, QStringList({QStringLiteral("Dear Sir")}));
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("\"2\""))) << warnings[0].toStdString();

    writeIni("[Hot-Keys]\n1=only,one comma\n");
    warnings.clear();
    LoadHotKeys(&warnings);
    EXPECT_EQ(gHotKeyCount, 0);
    EXPECT_EQ(warnings.size(), 1);
}

TEST_F(LoadHotKeysTest, LongValuesAreReadWhole)
{
    gSpaceChar = QStringLiteral("_");
    const QByteArray text = QByteArray("Word_").repeated(30) + "end";
    writeIni("[Hot-Keys]\n1=Long,113," + text + "\n");
    LoadHotKeys();
    ASSERT_EQ(gHotKeyCount, 1);
    EXPECT_GT(text.size(), 99);
    EXPECT_EQ(gHotKeyTexts[0], QString::fromLatin1(text).replace(QLatin1Char('_'), QLatin1Char(' ')));
    EXPECT_TRUE(gHotKeyTexts[0].endsWith(QStringLiteral("Word end")));
}
