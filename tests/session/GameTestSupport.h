#pragma once

// Drives the whole program offscreen: real windows, real boxes answered as a player would,
// a fixed clock seed for known deals, a statistics file in a scratch folder, and a speaker
// whose tick counter runs ahead so that tunes take no real time.

#include "engine/Engine.h"
#include "program/Language.h"
#include "program/Program.h"
#include "scores/Statistics.h"
#include "session/Unit1.h"
#include "sound/KwOdeum.h"
#include "sound/SpeakerPlatform.h"
#include "tests/sound/FakeSpeakerPlatform.h"

#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace gametest {

const std::vector<std::uint32_t> WhisleNotes{523, 698, 784, 1046};
const std::vector<std::uint32_t> WrongStart{261, 247, 233};

// What a modal window showed.
struct Seen {
    QString kind; // "message", "question", "error", "loan", "reward"
    QString title;
    QString text;
    QString spoken; // what a screen reader says with the box's focused button
};

// Answers modal windows as they appear. Message and error boxes get "OK"; the continue
// question, the loan petition and the reward window take the next scripted answer
// ("Tak"/"Nie"; "Amen"/"close"; "Amen"/"key"/"close").
class ModalAnswerer : public QObject {
public:
    ModalAnswerer();
    ~ModalAnswerer() override;

    std::vector<Seen> seen;
    std::deque<QString> answers;
    QString defaultQuestionAnswer = QStringLiteral("Tak");
    std::function<void(QWidget*)> onShown; // runs before the answer

    std::vector<QString> Texts(const QString& kind) const;
    void Clear() { seen.clear(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Answer(QWidget* window);
    QString NextAnswer(const QString& fallback);
};

// The main window's controls by what they are for (the window keeps the names its handlers use).
inline QLineEdit* StakeField()
{
    return Form1->Edit1;
}
inline QLineEdit* FundField()
{
    return Form1->Edit2;
}
inline TUpDown* StakeSpinner()
{
    return Form1->UpDown1;
}
inline QPushButton* DealButton()
{
    return Form1->btnRozdanie;
}
inline QPushButton* DrawButton()
{
    return Form1->btnKupno;
}
inline QCheckBox* KeepBoxAt(int slot)
{
    return Form1->CheckBoxes.at(slot);
}
inline const std::array<QCheckBox*, 5>& KeepBoxes()
{
    return Form1->CheckBoxes;
}
inline const std::array<std::array<TCard*, 5>, 2>& Cards()
{
    return Form1->CardControls;
}
inline TCard* CardAt(int hand, int slot)
{
    return Form1->CardControls.at(hand).at(slot);
}
inline QStatusBar* StatusBar()
{
    return Form1->StatusBar1;
}
inline QAction* SoundSwitch()
{
    return Form1->MuzykaZal1;
}
inline QAction* LoanItem()
{
    return Form1->Bank1;
}
inline QAction* EndItem()
{
    return Form1->Koniec1;
}

class GameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void WriteIni(const std::string& bytes);
    std::string ReadIni() const;
    std::string IniPath() const;
    void StartProgram();
    void EndProgram();
    // Every save fails from now on (or works again, with every fault hook of the file removed),
    // the file on disk left as it was.
    static void FailSaves(bool fail);

    // Actions as a player takes them.
    void Deal();
    void Draw();
    void TypeStake(const QString& text);
    void ClickCard(int slot);
    // Rigs the hands between deal and draw so the showdown's outcome is known.
    void RigHands(const engine::HandCards& computer, const engine::HandCards& player);

    QTemporaryDir dir_;
    FakeSpeakerPlatform speaker_; // the tone service, and a tick counter that ends every wait at once
    std::unique_ptr<ModalAnswerer> answerer_;
    std::unique_ptr<Program> program_;
    // What the program installs for a Polish player: Polish's plural forms and Qt's own texts.
    std::optional<program::Translations> polish_;
};

// The statistics file a save writes afresh for these values, made through the program's own
// table of stored keys: a test that is not about the file's bytes stays put when a key is added.
std::string Ini(int wins, int losses, int fund);
// The same for the session values as they stand.
std::string SessionIni();

// Hands that settle a round one way or the other, as keep-all showdowns.
engine::HandCards RoyalFlush();
engine::HandCards HighCardNine();

} // namespace gametest
