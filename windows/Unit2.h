#pragma once

// The reward window: the congratulation picture and a fanfare repeated while sounds are on.
// Any way of dismissing it resets the statistics and ends the program.

#include <QDialog>

#include <functional>

class QFrame;
class QLabel;
class QPushButton;
class QTimer;
class TKwBeeper;

// What the reward window is handed by the window that makes it.
struct RewardLinks {
    TKwBeeper* beeper = nullptr;            // plays the fanfare: the player's default tune
    std::function<bool()> soundsOn;         // the sound switch
    std::function<bool()> programEnded;     // true once the program is ending
    std::function<void()> resetAfterReward; // resets the statistics and ends the program
};

class TForm2 : public QDialog {
    Q_OBJECT
public:
    // The picture comes from the built-in resource; tests may name another file.
    explicit TForm2(RewardLinks links, const QString& picturePath = QString());
    ~TForm2() override;
    TForm2(const TForm2&) = delete;
    TForm2& operator=(const TForm2&) = delete;

    void btnOkClick();
    void FormClose();
    void FormActivate();
    void Timer1Timer();
    void FormKeyPress();
    void PlayFanfare();

    QFrame* Panel1;     // the sunken frame around the picture
    QPushButton* btnOk; // the "Amen" button over the picture
    QLabel* Image1;     // the reward picture
    QLabel* Label21;    // the fanfare's loop flag: "Gra" or "NieGra"; owned, not on the window
    QTimer* Timer1;     // the fanfare timer: the first after 1000 ms, then 300 ms apart

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    RewardLinks links_;
    QString picturePath_; // empty: the built-in picture of the player's language
    bool pictureLoaded_ = false;
    void LoadPicture();
    bool KeyTypesCharacter(QEvent* event) const;
};
