#pragma once

// The main window: the round flow of the game and the session values it owns.

#include "engine/Advisor.h"
#include "engine/Engine.h"
#include "scores/History.h"
#include "windows/AdviceWorker.h"

#include <QMainWindow>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class HintWindow;
class QStatusBar;
class StatisticsWindow;
class TCard;
class TFPomoc;
class TForm2;
class TForm3;
class TKwBeeper;
class TUpDown;

// The box's words for a showdown's outcome, in the player's language; the money line only when
// the stake was at play.
QString ResultText(engine::Outcome outcome, bool bettingOpen, std::int32_t stake);

// The other three windows, owned by the program: the main window opens them.
struct OtherWindows {
    TForm2* Form2 = nullptr;   // the reward window
    TForm3* Form3 = nullptr;   // the loan petition
    TFPomoc* FPomoc = nullptr; // the help window
    StatisticsWindow* Statistics = nullptr;
};

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
    void Statystyka1Click();
    void Podpowiedz1Click();
    void ArrangeMainWindow();
    void ResetAfterReward();

    // A termination signal closes the game as "&Koniec" does, but nobody may be there to answer
    // a box: a failed save is reported on standard error and the game ends all the same.
    void CloseBySignal();
    // The save of a closing that nobody can answer for: a failure goes to standard error.
    void SaveWithoutAsking();

    // The program hands over its other windows once they exist; a test may hand another.
    void AttachWindows(const OtherWindows& windows) { windows_ = windows; }
    const OtherWindows& Windows() const { return windows_; }

    bool SoundsOn() const;
    // True once the main window has closed for good: the program is ending.
    bool Ended() const { return ended_; }

    // Controls, by the names the handlers know them by.
    QFrame* Panel1;                                      // the top panel that holds the buttons and fields
    QPushButton* btnRozdanie;                            // the deal button, "Rozdanie kart"
    QPushButton* btnKupno;                               // the draw button, "Kupno i licytacja"
    QLineEdit* Edit1;                                    // the stake field
    TUpDown* UpDown1;                                    // the stake field's spinner
    QLabel* StaticText1;                                 // the stake field's label, "Stawka:"
    QLabel* StaticText2;                                 // the fund field's label, "Fundusz:"
    QLineEdit* Edit2;                                    // the fund field (read-only)
    std::array<QCheckBox*, 5> CheckBoxes{};              // the keep boxes "Zostaw 1" to "Zostaw 5"
    QStatusBar* StatusBar1;                              // the status bar with its one text
    QMenu* Ustawienia1;                                  // the settings menu
    QAction* MuzykaZal1;                                 // the sound switch, "Dzwięki włączone"
    QAction* Bank1;                                      // the bank loan, "Pożyczka z banku"
    QAction* Statystyka1;                                // the statistics window, "Statystyka"
    QAction* Podpowiedz1;                                // the hint, "Podpowiedź"
    QAction* Pomoc1;                                     // the help, "Pomoc"
    QAction* Koniec1;                                    // the end of the game, "Koniec"
    TKwBeeper* Beeper;                                   // the tune player
    std::array<std::array<TCard*, 5>, 2> CardControls{}; // [hand][slot], made at the first deal

signals:
    void ProgramEnded();

protected:
    void closeEvent(QCloseEvent* event) override; // FormClose

private:
    QWidget* client_;
    OtherWindows windows_;
    QCheckBox* KeepBox(int slot) const;
    void ShowStatusLine();
    // The status bar's one text, shortened to fit; statusText_ keeps it whole.
    void SetStatus(const QString& text);
    QString statusText_;
    // What a failed save said on the status bar this round, whole, for the result's spoken words.
    QString notSaved_;
    QString recordTold_; // what the record said of this round, for the result's spoken words
    // FormCreate's work; a loan runs it again without reading the statistics file.
    void BeginSession(bool readStatistics);
    void WaitForADeal();
    // Reads the stake field for the deal or the draw and checks it against 1 and `largest`;
    // a refused stake gets the box and leaves the field ready for another.
    bool TakeStake(std::int32_t largest);
    // A loan and the reward both restart the statistics at the starting fund.
    void StartAfresh();
    // Every session value back to its start; the one place they are all set.
    void ResetSession();
    // The fund field's text: the one place it is set.
    void ShowFund(qint64 amount);
    // A failed save after a round is told on the status bar, with its cause; play goes on.
    void SaveAfterRound();
    // " Nie zapisano: brak miejsca na dysku. Historia rozdań nie jest zapisywana." for the
    // round just played; empty when all was kept.
    QString NotKeptWords() const;
    // At start: where the scores are kept when not where the player may expect them, what was
    // left behind, and why none will be saved.
    void TellWhereTheScoresAre();
    // The record of play, opened at its first use so the start does not pay for it, and opened
    // again after it failed; what the player must know of it (set aside, kept elsewhere, a newer
    // game's) goes into `told`. True when it is open.
    bool OpenHistory(QString& told);
    // Appends a row after the round's save (a new game first after a loan or the reward), and
    // hands the totals to the statistics window. Every row not recorded is told on the status
    // bar, as a failed save is.
    // The row's id, or 0 when it was not recorded.
    std::int64_t Record(const scores::history::Entry& entry);
    void RecordRound();
    // The advice for each deal, worked out while the player looks at the hand whether or not the
    // hint is open: the round's row tells how the player drew against it. Advice that comes after
    // the round was recorded is written into its row; after a later deal or a loan or the reward,
    // it is dropped.
    void AdviseTheDeal();

public:
    // Whether the advice for the hand on the table has come (for tests).
    bool AdviceReady() const { return advice_.has_value(); }

private:
    void AdviceCame(std::uint64_t request, const engine::Advice& advice);
    void RecordEvent(scores::history::Kind kind);
    // Keeps the record aside under a dated name and starts an empty one, as the statistics
    // window's button asks; the statistics file and the session stay as they are.
    void StartRecordAfresh();
    // The hint follows the round: offered between the deal and the draw, told each new hand and
    // every change of the marks and the stake. Made when first asked for.
    void HintForTheDeal();
    void HintAfterTheDraw();
    engine::KeepMask Marks() const;
    // The marks and the cards' sides as the advice says, as if the player had clicked the cards.
    void KeepAsAdvised(engine::KeepMask keep);
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

    bool busy_ = false;                              // a deal or a draw is being handled
    bool showdownPending_ = false;                   // a deal waits for its one showdown
    engine::Outcome outcome_ = engine::Outcome::Tie; // the last showdown's
    bool ended_ = false;
    bool rewardShown_ = false; // the reward window is up and has not asked for its reset
    std::unique_ptr<scores::history::History> history_;
    bool recordNewer_ = false; // a newer game's record: left alone, said once
    bool recordPlaceTold_ = false;
    scores::history::Kind lastKind_ = scores::history::Kind::Round;
    engine::SessionValues fromFile_; // the totals as the statistics file gave them
    // The totals as of the last row the game meant to record: a record opened late, or started
    // again, carries them over where it does not end with them.
    engine::SessionValues recordedTotals_;
    engine::HandCards dealt_{}; // the player's hand as dealt, before the draw
    std::uint8_t dealtClass_ = 0;
    std::int32_t moved_ = 0; // what the last showdown moved into the fund
    HintWindow* hint_ = nullptr;
    std::unique_ptr<AdviceWorker> adviceWorker_;
    std::uint64_t adviceRequest_ = 0;
    std::optional<engine::Advice> advice_;  // for the hand on the table, once it came
    engine::KeepMask drawnMarks_ = 0;       // the keep marks at the draw
    scores::history::Entry awaitingAdvice_; // the round recorded before its advice came
    bool awaitingAdviceRow_ = false;
};

extern TForm1* Form1;
