#pragma once
// The status line of a window: a caption, an optional progress fill and a text colour.

#include <QColor>
#include <QWidget>

class QTimer;
class QToolButton;

class StatusPanel : public QWidget {
    Q_OBJECT
public:
    explicit StatusPanel(QWidget* parent = nullptr);

    QString caption() const { return mCaption; }
    void setCaption(const QString& caption);

    // Fill mode on shows a left-to-right bar of fillPercent (0 to 100).
    bool fillMode() const { return mFillMode; }
    void setFillMode(bool on);
    int fillPercent() const { return mFillPercent; }
    void setFillPercent(int percent);

    QColor textColor() const { return mTextColor; }
    void setTextColor(const QColor& colour);

    // The Cancel button at the right end, shown while long work can be stopped.
    void setCancelVisible(bool visible);
    bool cancelVisible() const;

    QSize sizeHint() const override;

signals:
    void cancelClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QString mCaption;
    bool mFillMode = false;
    int mFillPercent = 0;
    QColor mTextColor = Qt::black;
    QToolButton* mCancel;
};

// Creates the window's "messageTimer", which clears the panel's caption each time it fires.
QTimer* createMessageTimer(QWidget* window, StatusPanel* panel);
