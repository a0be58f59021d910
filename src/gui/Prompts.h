#pragma once
// The few things the program asks of the desktop, behind small interfaces so that tests
// can answer message boxes and see which links were opened. main() makes the desktop's
// own and hands them to the main window, which passes them on.

#include <QString>

class QWidget;

class Prompts {
public:
    enum class Buttons { Ok, YesNo };
    enum class Icon { None, Information, Question, Warning, Critical };
    enum class Answer { Ok, Yes, No };

    virtual ~Prompts() = default;
    // A message box titled with the program's title.
    virtual Answer message(QWidget* parent, const QString& text, Buttons buttons, Icon icon,
                           Answer defaultButton = Answer::Yes) = 0;
    // A question whose two buttons say what they do ("Withdraw All", "Not Now"): Yes for
    // the first, No for the second or Esc. Without its own box it is a Yes/No message.
    virtual Answer choose(QWidget* parent, const QString& text, const QString& yes, const QString& no)
    {
        (void)yes;
        (void)no;
        return message(parent, text, Buttons::YesNo, Icon::Question, Answer::No);
    }
    // A text-input box; a cancelled box gives the empty text.
    virtual QString input(QWidget* parent, const QString& prompt, const QString& title,
                          const QString& defaultValue = QString()) = 0;
    // A file-save box: the path chosen, or the empty text when cancelled. filters as in
    // QFileDialog ("CSV files (*.csv)"; several separated by ";;"); suggested: a file name.
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& suggested,
                                 const QString& filters) = 0;
    // A file-open box for an existing file: the path chosen, or the empty text when cancelled.
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& filters) = 0;
};

class Links {
public:
    virtual ~Links() = default;
    // Hands the address to the desktop's default handler; false when nothing took it.
    virtual bool open(const QString& address) = 0;
};

// What the windows ask of the desktop.
struct Desktop {
    Prompts& prompts;
    Links& links;
};

// Qt's message and input boxes.
class MessageBoxPrompts final : public Prompts {
public:
    Answer message(QWidget* parent, const QString& text, Buttons buttons, Icon icon,
                   Answer defaultButton) override;
    Answer choose(QWidget* parent, const QString& text, const QString& yes, const QString& no) override;
    QString input(QWidget* parent, const QString& prompt, const QString& title,
                  const QString& defaultValue) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& suggested,
                         const QString& filters) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& filters) override;
};

// The desktop's default handlers (browser, mail program).
class SystemLinks final : public Links {
public:
    bool open(const QString& address) override;
};
