#pragma once
// The few things the program asks of the desktop, behind small interfaces so that
// tests can answer message boxes, see which links were opened and set today's date.

#include <QDate>
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
    // A text-input box; a cancelled box gives the empty text.
    virtual QString input(QWidget* parent, const QString& prompt, const QString& title,
                          const QString& defaultValue = QString()) = 0;
};

class Links {
public:
    virtual ~Links() = default;
    // Hands the address to the desktop's default handler; false when nothing took it.
    virtual bool open(const QString& address) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
};

struct Services {
    Prompts* prompts;
    Links* links;
    Clock* clock;
};

// The services in use: the desktop's own until a test replaces them.
Services& services();
// Puts the desktop's own services back.
void resetServices();
