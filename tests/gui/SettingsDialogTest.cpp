#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "core/HotKeyText.h"
#include "gui/SettingsDialog.h"
#include "support/EditorTestKit.h"
#include "support/LayoutCheck.h"
#include "support/TestEnv.h"

namespace {

// Kept by hand: comments, CRLF, odd spacing, a code with trailing characters, braces, a comma.
const QByteArray kHandWritten =
    "; Quillary settings, kept by hand\r\n"
    "[Initialisation]\r\n"
    "  Auto-Refresh =  Yes\r\n"
    "Space-Substitution-Char=_\r\n"
    "\r\n"
    "[Hot-Keys]\r\n"
    "1=F2, 113 x,{(}draft{)}_copy\r\n"
    " 2 = F3,114,{TAB}\r\n"
    "3=Sig,115,Yours_sincerely,_J.\r\n";

class SettingsDialogTest : public QuillaryTest {
protected:
    void loadHandWritten()
    {
        writeIni(kHandWritten);
        settings().setAutoRefresh(true);
        settings().setSpaceChar(QStringLiteral("_"));
        settings().loadHotKeys();
    }

    Settings& settings() { return session().settings(); }
    QStringList texts() const
    {
        QStringList list;
        for (const HotKeyEntry& key : mSession->settings().hotKeys())
            list << key.text;
        return list;
    }

    std::unique_ptr<SettingsDialog> open(Settings* other = nullptr)
    {
        auto dialog = std::make_unique<SettingsDialog>(other ? *other : settings(), prompts);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        return dialog;
    }

    // Clicks into a text box, which selects its whole text, and types over it.
    static void retype(QLineEdit* edit, const QString& text)
    {
        QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(3, edit->height() / 2));
        QApplication::processEvents();
        ASSERT_EQ(edit->selectedText(), edit->text());
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }
};

TEST_F(SettingsDialogTest, OkRewritesOnlyTheValuesAndReopeningShowsTheEdits)
{
    loadHandWritten();
    const QStringList before = texts();
    auto dialog = open();
    EXPECT_EQ(child<QLineEdit>(dialog, "hotKeyEdit0")->text(), "(draft) copy");
    EXPECT_EQ(child<QLineEdit>(dialog, "hotKeyEdit2")->text(), "Yours sincerely, J.");

    QTest::mouseClick(child<QPushButton>(dialog, "okButton"), Qt::LeftButton);
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(texts(), before);
    // The code becomes plain digits; texts shown without braces keep them.
    QByteArray expected = kHandWritten;
    expected.replace("1=F2, 113 x,", "1=F2,113,");
    EXPECT_EQ(readIni(), expected);

    // Edits are written, and shown on reopening.
    dialog = open();
    retype(child<QLineEdit>(dialog, "hotKeyEdit0"), "(see note)");
    QTest::mouseClick(child<QCheckBox>(dialog, "autoRefreshCheck"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(dialog, "okButton"), Qt::LeftButton);

    EXPECT_FALSE(settings().autoRefresh());
    EXPECT_EQ(texts(), QStringList({"{(}see note{)}", "{TAB}", "Yours sincerely, J."}));
    expected.replace("=  Yes", "=  No");
    expected.replace("1=F2,113,{(}draft{)}_copy", "1=F2,113,{(}see_note{)}");
    EXPECT_EQ(readIni(), expected);

    dialog.reset();
    auto again = open();
    EXPECT_FALSE(child<QCheckBox>(again, "autoRefreshCheck")->isChecked());
    EXPECT_EQ(child<QLineEdit>(again, "hotKeyEdit0")->text(), "(see note)");
}

TEST_F(SettingsDialogTest, CancelAndCloseBoxChangeNothing)
{
    loadHandWritten();
    const QStringList before = texts();
    const std::function<void(SettingsDialog*)> ways[]{
        [](SettingsDialog* d) { QTest::mouseClick(child<QPushButton>(d, "cancelButton"), Qt::LeftButton); },
        [](SettingsDialog* d) { d->close(); },
    };
    for (const auto& way : ways) {
        auto dialog = open();
        retype(child<QLineEdit>(dialog, "hotKeyEdit0"), "changed");
        QTest::mouseClick(child<QCheckBox>(dialog, "autoRefreshCheck"), Qt::LeftButton);
        way(dialog.get());
        EXPECT_TRUE(settings().autoRefresh());
        EXPECT_EQ(texts(), before);
        EXPECT_EQ(readIni(), kHandWritten);
    }
}

TEST_F(SettingsDialogTest, UnwritableFileIsReportedAndNewValuesStayInForce)
{
    writeIni("[Initialisation]\r\n"); // a file where the settings file's folder should be
    Session elsewhere(iniFile(), clock);
    Settings& unwritable = elsewhere.settings();
    unwritable.setAutoRefresh(true);
    unwritable.setHotKeys({{"F2", 113, "old"}, {"F3", 114, "{+}"}});

    auto dialog = open(&unwritable);
    retype(child<QLineEdit>(dialog, "hotKeyEdit0"), "new (text)");
    QTest::mouseClick(child<QCheckBox>(dialog, "autoRefreshCheck"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(dialog, "okButton"), Qt::LeftButton);

    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains("could not be written")) << prompts.shown[0].text.toStdString();
    EXPECT_FALSE(unwritable.autoRefresh());
    EXPECT_EQ(unwritable.hotKeys()[0].text, "new {(}text{)}");
    EXPECT_EQ(unwritable.hotKeys()[1].text, "{+}");
}

TEST_F(SettingsDialogTest, AFailedOrRefusedWriteLeavesTheFileAsItWas)
{
    // The disk fills up after the first key (Auto-Refresh gets shorter, the hot key longer),
    // and a file its owner may not write.
    const std::function<std::unique_ptr<FileSizeLimit>()> faults[]{
        [] { return std::make_unique<FileSizeLimit>(kHandWritten.size()); },
        [this] {
            QFile::setPermissions(iniFile(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
            return std::unique_ptr<FileSizeLimit>();
        },
    };
    for (const auto& fault : faults) {
        loadHandWritten();
        prompts.shown.clear();
        auto dialog = open();
        QTest::mouseClick(child<QCheckBox>(dialog, "autoRefreshCheck"), Qt::LeftButton);
        retype(child<QLineEdit>(dialog, "hotKeyEdit0"), "a much longer text than the one before");
        {
            const auto injected = fault();
            QTest::mouseClick(child<QPushButton>(dialog, "okButton"), Qt::LeftButton);
        }
        EXPECT_EQ(readIni(), kHandWritten);
        ASSERT_EQ(prompts.shown.size(), 1);
        EXPECT_TRUE(prompts.shown[0].text.contains("could not be written")) << prompts.shown[0].text.toStdString();
        EXPECT_FALSE(settings().autoRefresh());
        EXPECT_EQ(settings().hotKeys()[0].text, "a much longer text than the one before");
        QFile::setPermissions(iniFile(), QFile::ReadOwner | QFile::WriteOwner);
    }
}

} // namespace

TEST_F(SettingsDialogTest, LongCaptionsShowWholeAtALargeFont)
{
    setHotKeys({{"F2", 113, "Dear Sir"}, {"Signature & Closing Line", 115, "Yours"}, {"F12", 123, "x"}});
    LargeFont font;
    auto dialog = open();
    expectLaidOutWhole(dialog.get());
    // The caption is the caption, never shortened; rows not in use take no room.
    EXPECT_EQ(child<QLabel>(dialog, "hotKeyLabel1")->text(), QStringLiteral("Signature && Closing Line"));
    EXPECT_FALSE(child<QLineEdit>(dialog, "hotKeyEdit3")->isVisible());
    EXPECT_LT(child<QLabel>(dialog, "hotKeyLabel1")->geometry().right(), child<QLabel>(dialog, "equalsLabel1")->x());
    EXPECT_LT(child<QLabel>(dialog, "equalsLabel1")->geometry().right(), child<QLineEdit>(dialog, "hotKeyEdit1")->x());
    EXPECT_EQ(child<QLineEdit>(dialog, "hotKeyEdit0")->x(), child<QLineEdit>(dialog, "hotKeyEdit1")->x());
    EXPECT_LT(child<QLineEdit>(dialog, "hotKeyEdit2")->mapTo(dialog.get(), QPoint(0, child<QLineEdit>(dialog, "hotKeyEdit2")->height())).y(), dialog->height());
}
