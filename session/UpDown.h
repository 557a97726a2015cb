#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// An up-down spinner attached to a one-line field: a click steps from the number in the field,
// within its bounds and without wrapping, and writes the new position into the field.
// The Up and Down arrow keys in the field step it too, so the keyboard reaches it.
class TUpDown : public QWidget {
    Q_OBJECT
public:
    TUpDown(QWidget* parent, int min, int max, int increment, int position);

    // Attaching (again) shows the position in the field as decimal text.
    void Associate(QLineEdit* field);
    int Position() const { return position_; }
    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Step(int direction);

    QLineEdit* field_ = nullptr;
    QToolButton* up_;
    QToolButton* down_;
    int min_, max_, increment_, position_;
};
