#include "session/FocusMark.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include <vector>

namespace {

// Pale yellow: plain to see on the olive window and on the grey buttons beside it.
constexpr QColor MarkColour{255, 255, 140};
constexpr int MarkWidth = 2;
constexpr int MarkGap = 1; // between the control's edge and the ring

class FocusMark : public QObject {
public:
    FocusMark(QWidget* window, std::initializer_list<QWidget*> controls)
        : QObject(window)
    {
        for (QWidget* control : controls) {
            controls_.emplace_back(control);
            control->parentWidget()->installEventFilter(this);
        }
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
            for (QWidget* w : {old, now})
                if (Marked(w))
                    w->parentWidget()->update(Ring(w).adjusted(-1, -1, 1, 1));
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The parent's background is painted before this event is sent, its own painting after:
        // the ring lies on the background, outside the control.
        if (event->type() == QEvent::Paint) {
            QWidget* focused = QApplication::focusWidget();
            if (Marked(focused) && focused->parentWidget() == watched && focused->isVisible()) {
                QPainter painter(static_cast<QWidget*>(watched));
                painter.setPen(QPen(MarkColour, MarkWidth));
                painter.setBrush(Qt::NoBrush);
                const int half = MarkWidth / 2;
                painter.drawRect(Ring(focused).adjusted(half, half, -half, -half));
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool Marked(QWidget* w) const
    {
        for (const QPointer<QWidget>& control : controls_)
            if (w && control == w)
                return true;
        return false;
    }
    static QRect Ring(QWidget* control)
    {
        const int out = MarkGap + MarkWidth;
        return control->geometry().adjusted(-out, -out, out, out);
    }

    std::vector<QPointer<QWidget>> controls_;
};

} // namespace

void MarkFocus(QWidget* window, std::initializer_list<QWidget*> controls)
{
    new FocusMark(window, controls);
}
