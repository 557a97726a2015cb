#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The loan petition: a fixed two-line plea and one button. Shown modally; exec() returns 1
// only when "Amen" is pressed, 0 for every other way of closing.
class TForm3 : public QDialog {
    Q_OBJECT

public:
    explicit TForm3(QWidget* parent = nullptr);

    QWidget* Panel1;      // the olive panel
    QLabel* StaticText1;  // the plea for a loan
    QLabel* StaticText2;  // the address, "Wielce Miłościwy Panie"
    QWidget* Bevel1;      // the lowered bevel: an engraved rule under the texts
    QPushButton* btnAmen; // "Amen": grants the loan (result 1)

    // Centres both texts across the panel and stands the window at the top of the desktop with
    // its right edge 100 px in from the desktop's width. Runs on every activation.
    void FormActivate();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
};
