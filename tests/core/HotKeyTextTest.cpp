// Hot-key texts in their display and keystroke forms, the settings entries, and reading them.

#include <gtest/gtest.h>

#include "core/HotKeyText.h"
#include "core/KeyCodes.h"
#include "core/Settings.h"
#include "support/CoreTestEnv.h"

namespace {

QString typed(const QString& keys)
{
    QString text;
    for (const KeyStroke& s : ParseSendKeys(keys).strokes)
        text += s.text;
    return text;
}

} // namespace

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

TEST_F(LoadHotKeysTest, StopsAtGapAfterFiveAndAtMalformedEntryAndReadsLongValuesWhole)
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

    // A long value is read whole.
    const QByteArray text = QByteArray("Word_").repeated(30) + "end";
    writeIni("[Hot-Keys]\n1=Long,113," + text + "\n");
    settings.loadHotKeys();
    ASSERT_EQ(settings.hotKeys().size(), 1);
    EXPECT_EQ(settings.hotKeys()[0].text, QString::fromLatin1(text).replace('_', ' '));
}

TEST(SendKeysNotation, ValidAndInvalidTexts)
{
    EXPECT_EQ(typed("{(}{)}{{}{}}{+}{^}{%}{~}{[}{]}"), "(){}+^%~[]");
    EXPECT_EQ(typed("+(ec)d+ec+1"), "ECdEc!");
    EXPECT_EQ(typed("{x 3}{} 2}{+ 0}"), "xxx}}");

    ParsedKeys p = ParseSendKeys("^a%{F4}+{TAB}");
    ASSERT_EQ(p.strokes.size(), 3);
    EXPECT_EQ(p.strokes[0], (KeyStroke{Qt::Key_A, Qt::ControlModifier, QString()}));
    EXPECT_EQ(p.strokes[2].key, Qt::Key_Backtab);

    EXPECT_EQ(ParseSendKeys("{FOO}").error, "Unknown key name \"FOO\"");
    for (const char* bad : {"a}b", "ab{LEFT", "x{}y", "{LEFT -1}", "{x 99999999999}", "(ab", "ab)",
                            "+(a(b)", "abc+", "^%", "(a+)"})
        EXPECT_FALSE(ParseSendKeys(bad).ok()) << bad;
}

TEST(SendKeysNotation, DeeplyNestedGroupsAreRefusedInsteadOfOverflowingTheStack)
{
    const ParsedKeys refused = ParseSendKeys(QString(300000, u'(') + u'a' + QString(300000, u')'));
    EXPECT_FALSE(refused.ok());
    EXPECT_TRUE(refused.error.contains(QStringLiteral("nested"))) << refused.error.toStdString();
    EXPECT_TRUE(refused.strokes.isEmpty());
    // Ordinary nesting still works, Shift held through every level.
    EXPECT_EQ(typed("+(((a)b)c)d"), "ABCd");
    EXPECT_TRUE(ParseSendKeys(QString(100, u'(') + u'x' + QString(100, u')')).ok());
}

TEST(KeyCodes, VirtualKeyCodes)
{
    auto code = [](int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& = {}) {
        return VirtualKeyCode(key, mods);
    };
    EXPECT_EQ(code(Qt::Key_F2), 113);
    EXPECT_EQ(code(Qt::Key_A, Qt::NoModifier, "a"), 65);
    EXPECT_EQ(code(Qt::Key_A, Qt::ShiftModifier, "A"), 65);
    EXPECT_EQ(code(Qt::Key_Exclam, Qt::ShiftModifier), 49);
    EXPECT_EQ(code(Qt::Key_5, Qt::KeypadModifier), 101);
    EXPECT_EQ(code(Qt::Key_Eacute), 0);
}
