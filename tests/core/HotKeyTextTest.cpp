// Hot-key texts in their display and keystroke forms, the settings entries, and reading them.

#include <gtest/gtest.h>

#include "core/HotKeyText.h"
#include "core/Settings.h"
#include "support/CoreTestEnv.h"

TEST(HotKeyTexts, DisplayAndKeystrokeForms)
{
    EXPECT_EQ(KeysToText("{(}see note{)}"), "(see note)");
    EXPECT_EQ(KeysToText("{TAB}x{LEFT 3}"), "TABxLEFT 3");
    EXPECT_EQ(TextToKeys("(see note)"), "{(}see note{)}");
    // The user's own notation characters keep their meaning.
    EXPECT_EQ(TextToKeys("+a%b^c~[]{x}"), "+a%b^c~[]{x}");
    for (const QString keys : {"{(}see note{)}", "{)}x{(}", " trailing "})
        EXPECT_EQ(TextToKeys(KeysToText(keys)), keys);
}

TEST(HotKeyEntries, ParseAndCompose)
{
    const QString sub = QStringLiteral("_");
    auto entry = ParseHotKeyEntry("Addr,114,1,_High_St,_Town_", sub);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->caption, "Addr");
    EXPECT_EQ(entry->code, 114);
    EXPECT_EQ(entry->text, "1, High St, Town ");
    EXPECT_FALSE(ParseHotKeyEntry("F2", sub));
    EXPECT_FALSE(ParseHotKeyEntry("F2,113", sub));

    auto code = [&](const char* field) {
        auto e = ParseHotKeyEntry(QStringLiteral("C,%1,t").arg(QLatin1String(field)), sub);
        return e ? e->code : -12345;
    };
    EXPECT_EQ(code(" 113x"), 113);
    EXPECT_EQ(code("abc"), 0);
    EXPECT_EQ(code("112.6"), 113);
    EXPECT_EQ(code("99999999999999999999"), INT_MAX);

    const QString value = ComposeHotKeyEntry("F2", 113, " {(}see note{)} ", sub);
    EXPECT_EQ(value, "F2,113,_{(}see_note{)}_");
    EXPECT_EQ(ParseHotKeyEntry(value, sub)->text, " {(}see note{)} ");
}

using LoadHotKeysTest = CoreTest;

namespace {

QStringList captions(const QVector<HotKeyEntry>& keys)
{
    QStringList list;
    for (const HotKeyEntry& k : keys)
        list << k.caption + QLatin1Char('/') + QString::number(k.code) + QLatin1Char('/') + k.text;
    return list;
}

} // namespace

TEST_F(LoadHotKeysTest, StopsAtGapAfterFiveAndAtMalformedEntry)
{
    Settings& settings = session().settings();
    settings.setSpaceChar(QStringLiteral("_"));
    QStringList warnings;
    writeIni("[Hot-Keys]\r\n1=F2,113,Dear_Sir\r\n2=F3,114,Yours_faithfully\r\n4=F5,116,never\r\n");
    settings.loadHotKeys(&warnings);
    EXPECT_EQ(captions(settings.hotKeys()), QStringList({"F2/113/Dear Sir", "F3/114/Yours faithfully"}));
    EXPECT_TRUE(warnings.isEmpty());

    QByteArray six = "[Hot-Keys]\n";
    for (int i = 1; i <= 6; ++i)
        six += QByteArray::number(i) + "=K,1" + QByteArray::number(11 + i) + ",t\n";
    writeIni(six);
    settings.loadHotKeys(&warnings);
    EXPECT_EQ(settings.hotKeys().size(), 5);

    writeIni("[Hot-Keys]\n1=F2,113,Dear_Sir\n2=F3 113 no commas\n3=F4,115,later\n");
    settings.loadHotKeys(&warnings);
    EXPECT_EQ(captions(settings.hotKeys()), QStringList({"F2/113/Dear Sir"}));
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains("\"2\"")) << warnings[0].toStdString();
}

TEST_F(LoadHotKeysTest, LongValuesAreReadWhole)
{
    Settings& settings = session().settings();
    settings.setSpaceChar(QStringLiteral("_"));
    const QByteArray text = QByteArray("Word_").repeated(30) + "end";
    writeIni("[Hot-Keys]\n1=Long,113," + text + "\n");
    settings.loadHotKeys();
    ASSERT_EQ(settings.hotKeys().size(), 1);
    EXPECT_EQ(settings.hotKeys()[0].text, QString::fromLatin1(text).replace('_', ' '));
}
