#pragma once

// The reward window: the congratulation picture and a fanfare repeated while sounds are on.
// Any way of dismissing it resets the statistics and ends the program.

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class QTimer;

class TForm2 : public QDialog {
    Q_OBJECT
public:
    // The picture comes from the built-in resource; tests may name another file.
    explicit TForm2(const QString& picturePath = QString());

    void btnOkClick();
    void FormClose();
    void FormActivate();
    void Timer1Timer();
    void FormKeyPress();
    void PlayFanfare();

    QFrame* Panel1;
    QPushButton* btnOk;
    QLabel* Image1;
    QLabel* Label21; // the fanfare flag: "Gra" or "NieGra"
    QTimer* Timer1;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool KeyTypesCharacter(QEvent* event) const;
};
