#include "session/UpDown.h"

#include "scores/WholeNumber.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QResizeEvent>
#include <QToolButton>

#include <algorithm>

TUpDown::TUpDown(QWidget* parent, int min, int max, int increment, int position)
    : QWidget(parent)
    , up_(new QToolButton(this))
    , down_(new QToolButton(this))
    , min_(min)
    , max_(max)
    , increment_(increment)
    , position_(position)
{
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(up_, &QToolButton::clicked, this, [this] { Step(+1); });
    connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
}

void TUpDown::Associate(QLineEdit* field)
{
    if (field_ != field) {
        if (field_)
            field_->removeEventFilter(this);
        field->installEventFilter(this);
    }
    field_ = field;
    field_->setText(QString::number(position_));
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == field_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (plain && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            Step(key->key() == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TUpDown::resizeEvent(QResizeEvent* event)
{
    const int w = event->size().width();
    const int h = event->size().height();
    up_->setGeometry(0, 0, w, h / 2);
    down_->setGeometry(0, h / 2, w, h - h / 2);
}

void TUpDown::Step(int direction)
{
    // Start from what the field says when it holds a number, as the platform's spinner does.
    if (field_)
        if (const auto typed = scores::ParseWholeNumber(field_->text().toStdString()))
            position_ = static_cast<int>(std::clamp<std::int64_t>(*typed, min_, max_));
    position_ = std::clamp(position_ + direction * increment_, min_, max_);
    if (field_)
        field_->setText(QString::number(position_));
}
