#pragma once
// The test fixture for windows: CoreTest's folder, settings file, database and clock, with
// the desktop's message boxes and links replaced by fakes that tests control.

#include <QStringList>
#include <QVector>
#include <deque>
#include <functional>
#include <memory>

#include "gui/GridView.h"
#include "gui/ListingModel.h"
#include "gui/MainWindow.h"
#include "gui/Prompts.h"
#include "gui/StatusPanel.h"
#include "support/CoreTestEnv.h"

class FakePrompts : public Prompts {
public:
    struct Shown {
        QString text;
        Buttons buttons;
        Icon icon;
        Answer defaultButton;
    };
    struct Asked {
        QString prompt;
        QString title;
    };

    // Answers given to Yes/No boxes in order; Yes once they run out.
    std::deque<Answer> answers;
    // Texts typed into input boxes in order; empty (cancelled) once they run out.
    std::deque<QString> inputs;
    // Called while a message box is "open" (for example to check state at that moment).
    std::function<void(const QString&)> onMessage;

    // Names given to save-file boxes in order; cancelled (empty) once they run out.
    std::deque<QString> saveNames;

    QVector<Shown> shown;
    QVector<Asked> asked;

    Answer message(QWidget* parent, const QString& text, Buttons buttons, Icon icon,
                   Answer defaultButton) override;
    QString input(QWidget* parent, const QString& prompt, const QString& title,
                  const QString& defaultValue) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& suggested,
                         const QString& filters) override;
    QString openFileName(QWidget*, const QString&, const QString&) override { return {}; }  // cancelled

    QStringList texts() const;
};

class FakeLinks : public Links {
public:
    QStringList opened;
    bool result = true;
    bool open(const QString& address) override
    {
        opened << address;
        return result;
    }
};

class QuillaryTest : public CoreTest {
protected:
    Desktop desktop() { return Desktop{prompts, links}; }

    FakePrompts prompts;
    FakeLinks links;
};

// The control of that object name and type in a window, as a user's tool would find it;
// a test failure when there is none.
template <class T>
T* child(const QObject* parent, const QString& name)
{
    T* found = parent ? parent->findChild<T*>(name) : nullptr;
    EXPECT_NE(found, nullptr) << "no control named " << name.toStdString();
    return found;
}
template <class T>
T* child(const QObject& parent, const QString& name)
{
    return child<T>(&parent, name);
}
template <class T, class W>
T* child(const std::unique_ptr<W>& parent, const QString& name)
{
    return child<T>(parent.get(), name);
}

// A QuillaryTest that starts the main window on the test's folder.
class WindowTest : public QuillaryTest {
protected:
    void TearDown() override
    {
        window.reset();
        QuillaryTest::TearDown();
    }
    // Closes the test's own connection and starts the window; a failure when it does not load.
    MainWindow& startWindow();
    GridView& grid() const { return *child<GridView>(window, QStringLiteral("grid")); }
    ListingModel& model() const { return *grid().listingModel(); }
    QString caption() const { return child<StatusPanel>(window, QStringLiteral("statusPanel"))->caption(); }
    QStringList column(int c) const;  // as listed, the "nothing found" row included

    UkLocale locale;
    std::unique_ptr<MainWindow> window;
};
