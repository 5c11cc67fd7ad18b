#pragma once

#include <QWidget>

class QLabel;
class QToolButton;

// A small up-down control beside a value label: each step adds or takes 1 from the number the
// label shows, between the control's lower and upper limit. The label holds the value.
class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QLabel *buddy, int minimum, int maximum, QWidget *parent = nullptr);

    // One step up (+1) or down (-1). A value outside the limits is first brought inside them.
    void step(int direction);
    // The label that shows the value.
    QLabel *buddy() const { return m_buddy; }

signals:
    // The label's value has been changed by a step.
    void stepped();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    // A frame around the arrows while the control has the keyboard.
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QLabel *m_buddy;
    int m_minimum;
    int m_maximum;
    QToolButton *m_up = nullptr;
    QToolButton *m_down = nullptr;
};
