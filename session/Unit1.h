#pragma once

// The main window: the round flow of the game and the session values it owns.

#include "engine/Engine.h"

#include <QMainWindow>

#include <array>
#include <cstdint>

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStatusBar;
class TCard;
class TKwBeeper;
class TUpDown;

// Session values: one set per run, beside the main window as the round flow expects them.
extern engine::SessionValues Session;
extern std::uint8_t DeckType;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    TForm1();
    ~TForm1() override;

    // Round flow.
    void Bet();
    bool Valid(std::int32_t stake, std::int32_t fund, std::int32_t minimum);
    void Hand(std::uint8_t hand);
    void PokerCardOnClickHandler(TCard* card);
    void CardBuilder(std::uint8_t hand, bool faceUp);
    void Replace();
    void Decision();
    void read_inifile();
    void FormCreate();
    void save_inifile();
    void btnRozdanieClick();
    void btnKupnoClick();
    void Edit1Change();
    void Koniec1Click();
    void Bank1Click();
    void MuzykaZal1Click();
    void Pomoc1Click();
    void ArrangeMainWindow();
    void ResetAfterReward();

    // A termination signal closes the game as "&Koniec" does, but nobody may be there to answer
    // a box: a failed save is reported on standard error and the game ends all the same.
    void CloseBySignal();

    bool SoundsOn() const;
    // True once the main window has closed for good: the program is ending.
    bool Ended() const { return ended_; }

    // Controls, by the names the handlers know them by.
    QFrame* Panel1;
    QPushButton* btnRozdanie;
    QPushButton* btnKupno;
    QLineEdit* Edit1;
    TUpDown* UpDown1;
    QLabel* StaticText1;
    QLabel* StaticText2;
    QLineEdit* Edit2;
    std::array<QCheckBox*, 5> CheckBoxes{};
    QStatusBar* StatusBar1;
    QMenu* Ustawienia1;
    QAction* MuzykaZal1;
    QAction* Bank1;
    QAction* Pomoc1;
    QAction* Koniec1;
    TKwBeeper* Beeper;
    std::array<std::array<TCard*, 5>, 2> CardControls{};

signals:
    void ProgramEnded();

protected:
    void closeEvent(QCloseEvent* event) override; // FormClose

private:
    QWidget* client_;
    QCheckBox* KeepBox(int slot) const;
    void ShowStatusLine();
    void SetStatus(const QString& text);
    // FormCreate's work; a loan runs it again without reading the statistics file.
    void BeginSession(bool readStatistics);
    void WaitForADeal();
    // A stake that the deal or the draw refused: the box, then the field ready for another.
    void RefuseStake();
    // A loan and the reward both restart the statistics at the starting fund.
    void StartAfresh();
    // A failed save after a round is told once on the status bar; play goes on.
    void SaveAfterRound();
    // Saves for a closing; when that fails the player may still leave. True when it may end.
    bool SaveForClosing();
    // The closings that save and then close (which saves once more). True when the game ends.
    bool SaveAndClose();
    // Ends the session: every other window is hidden, which ends the modal loops, and the
    // program's loop is told to end.
    void EndSession();
    // Connects a control's signal to a handler behind the error box.
    template <typename Sender, typename Signal, typename Handler>
    void On(Sender* sender, Signal signal, Handler handler);

    bool busy_ = false;            // a deal or a draw is being handled
    bool showdownPending_ = false; // a deal waits for its one showdown
    bool ended_ = false;
    bool rewardShown_ = false;     // the reward window is up and has not asked for its reset
    bool saveFailing_ = false;     // a save after a round failed and none has succeeded since
};

extern TForm1* Form1;
