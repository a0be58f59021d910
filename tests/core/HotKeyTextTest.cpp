// Hot-key texts in their display and keystroke forms, the settings entries, and reading them.

#include "core/HotKeyText.h"
#include "core/KeyCodes.h"
#include "core/Settings.h"
#include "support/CoreTestEnv.h"

namespace {

QString typed(const QString& keys)
{
    QString text;
    for (const KeyStroke& s : parseSendKeys(keys).strokes)
        text += s.text;
    return text;
}

// Entries as caption/code/text; "none" for a value that is no entry.
QString described(const std::optional<HotKeyEntry>& entry)
{
    return entry ? entry->caption + '/' + QString::number(entry->code) + '/' + entry->text : QStringLiteral("none");
}

} // namespace

TEST(HotKeyTexts, DisplayAndKeystrokeFormsAndTheSettingsEntries)
{
    EXPECT_EQ(keysToText("{(}see note{)}"), "(see note)");
    EXPECT_EQ(keysToText("{TAB}x{LEFT 3}"), "TABxLEFT 3");
    // The user's own notation characters keep their meaning.
    EXPECT_EQ(textToKeys("+a%b^c~[]{x}"), "+a%b^c~[]{x}");

    // Split at the first two commas; the code is the middle field's leading number, rounded.
    const QString sub = QStringLiteral("_");
    EXPECT_EQ(described(parseHotKeyEntry("Addr,114,1,_High_St,_Town_", sub)), "Addr/114/1, High St, Town ");
    EXPECT_EQ(described(parseHotKeyEntry("F2", sub)) + described(parseHotKeyEntry("F2,113", sub)), "nonenone");
    QStringList codes;
    for (const char* field : {" 113x", "abc", "112.6", "99999999999999999999"})
        codes << QString::number(parseHotKeyEntry(QStringLiteral("C,%1,t").arg(QLatin1String(field)), sub)->code);
    EXPECT_EQ(codes.join(' '), QStringLiteral("113 0 113 %1").arg(INT_MAX));
    EXPECT_EQ(composeHotKeyEntry("F2", 113, " {(}see note{)} ", sub), "F2,113,_{(}see_note{)}_");
}

using LoadHotKeysTest = CoreTest;

TEST_F(LoadHotKeysTest, StopsAtGapAfterFiveAndAtMalformedEntry)
{
    Settings& settings = session().settings();
    settings.setSpaceChar(QStringLiteral("_"));
    auto loaded = [&](const QByteArray& ini, QStringList* warnings = nullptr) {
        writeIni("[Hot-Keys]\r\n" + ini);
        settings.loadHotKeys(warnings);
        QStringList list;
        for (const HotKeyEntry& k : settings.hotKeys())
            list << described(k);
        return list.join(QLatin1Char('|'));
    };
    QStringList warnings;
    EXPECT_EQ(loaded("1=F2,113,Dear_Sir\r\n2=F3,114,Yours_faithfully\r\n4=F5,116,never\r\n", &warnings),
              "F2/113/Dear Sir|F3/114/Yours faithfully");
    EXPECT_TRUE(warnings.isEmpty());
    EXPECT_EQ(loaded("1=a,1,t\n2=b,1,t\n3=c,1,t\n4=d,1,t\n5=e,1,t\n6=f,1,t\n").count('|'), 4);  // five at most
    EXPECT_EQ(loaded("1=F2,113,Dear_Sir\n2=F3 113 no commas\n3=F4,115,later\n", &warnings), "F2/113/Dear Sir");
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains("\"2\"")) << warnings[0].toStdString();
}

TEST(SendKeysNotation, ValidAndInvalidTexts)
{
    EXPECT_EQ(typed("{x 3}{} 2}{+ 0}"), "xxx}}");
    // Shift held through every level of a group.
    EXPECT_EQ(typed("+(((a)b)c)d+1"), "ABCd!");

    ParsedKeys p = parseSendKeys("^a%{F4}+{TAB}");
    ASSERT_EQ(p.strokes.size(), 3);
    EXPECT_EQ(p.strokes[0], (KeyStroke{Qt::Key_A, Qt::ControlModifier, QString()}));
    EXPECT_EQ(p.strokes[2].key, Qt::Key_Backtab);

    EXPECT_EQ(parseSendKeys("{FOO}").error, "Unknown key name \"FOO\"");
    for (const char* bad : {"a}b", "ab{LEFT", "{LEFT -1}", "+(a(b)", "abc+"})
        EXPECT_FALSE(parseSendKeys(bad).ok()) << bad;
    // Deeply nested groups are refused instead of overflowing the stack.
    const ParsedKeys refused = parseSendKeys(QString(300000, u'(') + u'a' + QString(300000, u')'));
    EXPECT_TRUE(refused.error.contains(QStringLiteral("nested"))) << refused.error.toStdString();
    EXPECT_TRUE(refused.strokes.isEmpty());
    EXPECT_TRUE(parseSendKeys(QString(100, u'(') + u'x' + QString(100, u')')).ok());
}

TEST(KeyCodes, VirtualKeyCodes)
{
    EXPECT_EQ(virtualKeyCode(Qt::Key_F2, Qt::NoModifier), 113);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Exclam, Qt::ShiftModifier), 49);
    EXPECT_EQ(virtualKeyCode(Qt::Key_5, Qt::KeypadModifier), 101);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Eacute, Qt::NoModifier), 0);
}
