// The record of play: every round, loan and reward kept beside the statistics file, and the
// statistics window that tells it.

#include "session/Unit1.h"

#include "scores/Statistics.h"
#include "session/MainWindowTexts.h"
#include "windows/StatisticsWindow.h"
#include "windows/Text.h"

#include <QStatusBar>

using session::history::Entry;
using session::history::History;
using session::history::Kind;

void TForm1::OpenHistory()
{
    if (historyTried_)
        return;
    historyTried_ = true;
    // Beside the file the statistics are saved to, after its links, as the lock is.
    // The same rules as for the statistics: no other user's link, and in the per-user folder only
    // when that folder is the player's alone.
    const session::profile::ResolvedPath statistics =
        session::profile::ResolveLinks(session::StatisticsFilePath(), session::CurrentStatisticsPlace().perUser);
    history_ = std::make_unique<History>(session::history::HistoryPathFor(statistics.path));
    const History::Opened opened = statistics.refusal != session::profile::WriteFailure::None
        ? History::Opened::Refused
        : history_->Open(fromFile_);
    if (opened == History::Opened::Renewed)
        SetStatus(statusText_ + Text(texts::HistoryRenewed).arg(QString::fromStdString(history_->SetAside())));
    if (opened == History::Opened::Refused || opened == History::Opened::Failed) {
        SetStatus(statusText_ + Text(texts::HistoryFailed));
        recordFailing_ = true;
    }
    Entry last;
    if (history_->Last(last))
        lastKind_ = last.kind;
}

void TForm1::Record(const Entry& entry)
{
    OpenHistory();
    // Another game that took the statistics over keeps the record too.
    if (!history_->IsOpen() || session::ConfirmStatisticsLock() != session::profile::WriteFailure::None)
        return;
    if (entry.kind == Kind::Round && (lastKind_ == Kind::Loan || lastKind_ == Kind::Reward)) {
        Entry newGame = entry;
        newGame.kind = Kind::NewGame;
        newGame.fund -= entry.moved;
        newGame.wins -= entry.result == session::history::Result::Won;
        newGame.losses -= entry.result == session::history::Result::Lost;
        Record(newGame);
    }
    if (!history_->Append(entry)) {
        if (!recordFailing_)
            SetStatus(statusText_ + Text(texts::HistoryFailed));
        recordFailing_ = true;
        return;
    }
    recordFailing_ = false;
    lastKind_ = entry.kind;
    if (windows_.Statistics)
        windows_.Statistics->Add(entry);
}

void TForm1::RecordRound()
{
    Record({.time = session::history::NowMilliseconds(),
            .kind = Kind::Round,
            .stake = Session.Stake,
            .dealt = dealt_,
            .player = engine::Hands[engine::PlayerHand],
            .computer = engine::Hands[engine::ComputerHand],
            .dealtClass = dealtClass_,
            .playerClass = engine::HandCategory[engine::PlayerHand],
            .computerClass = engine::HandCategory[engine::ComputerHand],
            .result = session::history::ResultOf(outcome_),
            .moved = moved_,
            .fund = Session.Fund,
            .wins = Session.Wins,
            .losses = Session.Losses});
}

void TForm1::RecordEvent(Kind kind)
{
    Record({.time = session::history::NowMilliseconds(),
            .kind = kind,
            .fund = Session.Fund,
            .wins = Session.Wins,
            .losses = Session.Losses});
}

void TForm1::Statystyka1Click()
{
    OpenHistory();
    StatisticsWindow* window = windows_.Statistics;
    if (!window)
        return;
    if (!window->HasEntries())
        window->SetEntries(history_->ReadAll(false));
    window->Show();
}
