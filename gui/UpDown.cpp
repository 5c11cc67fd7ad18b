#include "gui/UpDown.h"

#include "data/FieldNumber.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {
// Width of the focus frame around the arrows, in pixels.
constexpr int FocusFrame = 2;
} // namespace

UpDown::UpDown(QLabel *buddy, int minimum, int maximum, QWidget *parent)
    : QWidget(parent), m_buddy(buddy), m_minimum(minimum), m_maximum(maximum) {
    setFocusPolicy(Qt::StrongFocus);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(FocusFrame, FocusFrame, FocusFrame, FocusFrame);
    layout->setSpacing(0);
    for (auto [button, arrow, direction] :
         {std::tuple{&m_up, Qt::UpArrow, 1}, std::tuple{&m_down, Qt::DownArrow, -1}}) {
        *button = new QToolButton(this);
        (*button)->setArrowType(arrow);
        (*button)->setFocusPolicy(Qt::NoFocus);
        (*button)->setAutoRepeat(true);
        (*button)->setFixedSize(16, 11);
        layout->addWidget(*button);
        connect(*button, &QToolButton::clicked, this, [this, d = direction] { step(d); });
    }
}

void UpDown::step(int direction) {
    const double shown = FieldNumber::wholeValue(m_buddy->text());
    const int current = int(std::clamp(shown, double(m_minimum), double(m_maximum)));
    const int next = std::clamp(current + direction, m_minimum, m_maximum);
    const QString text = QString::number(next);
    if (text == m_buddy->text())
        return;
    m_buddy->setText(text);
    emit stepped();
}

void UpDown::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Up)
        step(1);
    else if (event->key() == Qt::Key_Down)
        step(-1);
    else
        QWidget::keyPressEvent(event);
}

void UpDown::paintEvent(QPaintEvent *) {
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), FocusFrame));
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

void UpDown::focusInEvent(QFocusEvent *event) {
    QWidget::focusInEvent(event);
    update();
}

void UpDown::focusOutEvent(QFocusEvent *event) {
    QWidget::focusOutEvent(event);
    update();
}
