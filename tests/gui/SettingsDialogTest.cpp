// The Settings dialog: what OK writes to the settings file, what Cancel leaves, and its layout.

#include <QApplication>
#include <QCheckBox>
#include <QLabel>

#include "gui/SettingsDialog.h"
#include "support/EditorTestKit.h"
#include "support/LayoutCheck.h"

namespace {

// Kept by hand: a comment, CRLF, odd spacing, a code with trailing characters, braces, a comma.
const QByteArray kHandWritten = "; kept by hand\r\n[Initialisation]\r\n  Auto-Refresh =  Yes\r\nSpace-Substitution-Char=_\r\n"
                                "[Hot-Keys]\r\n1=F2, 113 x,{(}draft{)}_copy\r\n2=Sig,115,Yours_sincerely,_J.\r\n";

class SettingsDialogTest : public QuillaryTest {
protected:
    void loadHandWritten()
    {
        writeIni(kHandWritten);
        settings().setAutoRefresh(true);
        settings().setSpaceChar("_");
        settings().loadHotKeys();
    }
    Settings& settings() { return session().settings(); }
    QString firstText() { return settings().hotKeys().value(0).text; }
    std::unique_ptr<SettingsDialog> open()
    {
        auto dialog = std::make_unique<SettingsDialog>(settings(), prompts);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        return dialog;
    }
    // Types over the first hot key's text (a click selects it whole) and clicks Auto-Refresh.
    static void edit(SettingsDialog& dialog, const QString& text)
    {
        auto* field = child<QLineEdit>(dialog, "hotKeyEdit0");
        QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(3, field->height() / 2));
        QApplication::processEvents();
        ASSERT_EQ(field->selectedText(), field->text());
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
        click(child<QCheckBox>(dialog, "autoRefreshCheck"));
    }
};

TEST_F(SettingsDialogTest, CancelChangesNothingAndOkRewritesOnlyTheValues)
{
    loadHandWritten();
    for (bool closeBox : {false, true}) {
        auto dialog = open();
        edit(*dialog, "changed");
        closeBox ? (void)dialog->close() : press(dialog, "cancelButton");
        EXPECT_TRUE(settings().autoRefresh());
        EXPECT_EQ(firstText(), "{(}draft{)} copy");
        EXPECT_EQ(readIni(), kHandWritten);
    }

    auto dialog = open();
    EXPECT_EQ(child<QLineEdit>(dialog, "hotKeyEdit0")->text(), "(draft) copy");
    edit(*dialog, "(see note)");
    press(dialog, "okButton");
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_FALSE(settings().autoRefresh());
    EXPECT_EQ(firstText(), "{(}see note{)}");
    // The code becomes plain digits, the braces stay; the rest is as it was.
    QByteArray expected = kHandWritten;
    expected.replace("=  Yes", "=  No");
    expected.replace("1=F2, 113 x,{(}draft{)}_copy", "1=F2,113,{(}see_note{)}");
    EXPECT_EQ(readIni(), expected);
}

TEST_F(SettingsDialogTest, AFailedWriteLeavesTheFileAsItWasAndTheNewValuesInForce)
{
    // The disk fills up after the first key (Auto-Refresh gets shorter, the hot key longer).
    // A read-only file is refused the same way in the writer's own test.
    loadHandWritten();
    auto dialog = open();
    edit(*dialog, "a much longer text than the one before");
    {
        const FileSizeLimit full(kHandWritten.size());
        press(dialog, "okButton");
    }
    EXPECT_EQ(readIni(), kHandWritten);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains("could not be written")) << prompts.shown[0].text.toStdString();
    EXPECT_FALSE(settings().autoRefresh());
    EXPECT_EQ(firstText(), "a much longer text than the one before");
}

TEST_F(SettingsDialogTest, LongCaptionsShowWholeAtALargeFont)
{
    setHotKeys({{"F2", 113, "Dear Sir"}, {"Signature & Closing Line", 115, "Yours"}, {"F12", 123, "x"}});
    LargeFont font;
    auto dialog = open();
    expectLaidOutWhole(dialog.get());
    // The caption is the caption, never shortened; rows not in use take no room.
    EXPECT_EQ(child<QLabel>(dialog, "hotKeyLabel1")->text(), "Signature && Closing Line");
    EXPECT_FALSE(child<QLineEdit>(dialog, "hotKeyEdit3")->isVisible());
    EXPECT_EQ(child<QWidget>(dialog, "hotKeyEdit0")->x(), child<QWidget>(dialog, "hotKeyEdit1")->x());
}

} // namespace
