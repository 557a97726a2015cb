// The record of play: every round, loan and reward kept beside the statistics file, and the
// statistics window that tells it.

#include "session/Unit1.h"

#include "scores/Statistics.h"
#include "scores/Tally.h"
#include "session/MainWindowTexts.h"
#include "windows/StatisticsWindow.h"
#include "windows/Text.h"

#include <QStatusBar>

using scores::history::Entry;
using scores::history::History;
using scores::history::Kind;

bool TForm1::OpenHistory(QString& told)
{
    if (recordNewer_)
        return false;
    // Made again when the player's folder was deleted during play, as the statistics' is.
    const scores::history::RecordPlace place = scores::history::CurrentRecordPlace(true);
    if (place.path.empty())
        return false;
    if (history_ && history_->IsOpen() && history_->path() == place.path)
        return true;
    history_ = std::make_unique<History>(place.path);
    switch (history_->Open(recordedTotals_)) {
    case History::Opened::Renewed:
        told += Text(texts::HistoryRenewed).arg(QString::fromStdString(history_->SetAside()));
        break;
    case History::Opened::Newer:
        recordNewer_ = true;
        told += Text(texts::HistoryNewer);
        return false;
    case History::Opened::Refused:
    case History::Opened::Failed:
        return false;
    case History::Opened::Existing:
    case History::Opened::Started:
        break;
    }
    if (place.movedFromShared && !recordPlaceTold_) {
        recordPlaceTold_ = true;
        told += Text(texts::HistoryPrivate).arg(QString::fromStdString(place.path));
    }
    Entry last;
    if (history_->Last(last))
        lastKind_ = last.kind;
    return true;
}

std::int64_t TForm1::Record(const Entry& entry)
{
    // Another game that took the statistics over keeps the record too; the failed save says so.
    if (scores::ConfirmStatisticsLock() != scores::profile::WriteFailure::None)
        return 0;
    QString told;
    const bool open = OpenHistory(told);
    // The first round after a loan or the reward opens a new game, whether that came in this run
    // of the program or ended the last one (the reward always does): the record's last row,
    // read at its opening, tells.
    if (open && entry.kind == Kind::Round && (lastKind_ == Kind::Loan || lastKind_ == Kind::Reward)) {
        Entry newGame = entry;
        newGame.kind = Kind::NewGame;
        newGame.fund -= entry.moved;
        newGame.wins -= entry.result == scores::history::Result::Won;
        newGame.losses -= entry.result == scores::history::Result::Lost;
        Record(newGame);
    }
    const History::Appended appended = open ? history_->Append(entry) : History::Appended::Failed;
    recordedTotals_.Wins = entry.wins;
    recordedTotals_.Losses = entry.losses;
    recordedTotals_.Fund = entry.fund;
    switch (appended) {
    case History::Appended::Renewed:
        told += Text(texts::HistoryRenewed).arg(QString::fromStdString(history_->SetAside()));
        break;
    case History::Appended::Restarted:
        told += Text(texts::HistoryRestarted);
        break;
    case History::Appended::Failed:
        if (!recordNewer_)
            told += Text(texts::HistoryFailed);
        break;
    case History::Appended::Recorded:
        break;
    }
    if (appended != History::Appended::Failed) {
        lastKind_ = entry.kind;
        if (windows_.Statistics) {
            windows_.Statistics->SetTotals(history_->Totals().tallies());
            if (appended == History::Appended::Recorded)
                windows_.Statistics->FollowRecord();
            else
                windows_.Statistics->ReloadRecord();
        }
    }
    if (!told.isEmpty()) {
        SetStatus(statusText_ + told);
        recordTold_ += (recordTold_.isEmpty() ? QString() : QStringLiteral(" ")) + told.trimmed();
    }
    return appended != History::Appended::Failed ? history_->LastId() : 0;
}

void TForm1::RecordRound()
{
    Entry round{.time = scores::history::NowMilliseconds(),
                .kind = Kind::Round,
                .stake = Session.Stake,
                .dealt = dealt_,
                .player = engine::Hands[engine::PlayerHand],
                .computer = engine::Hands[engine::ComputerHand],
                .dealtClass = dealtClass_,
                .playerClass = engine::HandCategory[engine::PlayerHand],
                .computerClass = engine::HandCategory[engine::ComputerHand],
                .result = scores::history::ResultOf(outcome_),
                .moved = moved_,
                .fund = Session.Fund,
                .wins = Session.Wins,
                .losses = Session.Losses};
    if (advice_) {
        const engine::DrawVerdict verdict = engine::Judge(*advice_, drawnMarks_);
        scores::history::SetVerdict(round, verdict.kept, verdict.best, verdict.keptExpected, verdict.bestExpected);
    }
    round.id = Record(round);
    // Recorded now, judged when the advice comes: the same row.
    awaitingAdviceRow_ = !advice_ && round.id > 0;
    if (awaitingAdviceRow_)
        awaitingAdvice_ = round;
    advice_.reset();
}

void TForm1::RecordEvent(Kind kind)
{
    // A loan or the reward moves the game on: a verdict still to come would fall in the next game.
    awaitingAdviceRow_ = false;
    Record({.time = scores::history::NowMilliseconds(),
            .kind = kind,
            .fund = Session.Fund,
            .wins = Session.Wins,
            .losses = Session.Losses});
}

void TForm1::Statystyka1Click()
{
    StatisticsWindow* window = windows_.Statistics;
    if (!window)
        return;
    QString told;
    const bool open = OpenHistory(told);
    if (!open && !recordNewer_)
        told += Text(texts::HistoryFailed);
    if (!told.isEmpty())
        SetStatus(statusText_ + told);
    window->SetTotals(open ? history_->Totals().tallies() : scores::history::Tallies{});
    if (!window->isVisible()) {
        window->SetRecord(
            {.pages = [this](std::int64_t beforeId,
                             int count) { return history_ ? history_->Page(beforeId, count) : std::vector<Entry>{}; },
             .place = [] { return scores::history::CurrentRecordPlace(false); },
             .startAfresh = [this] { StartRecordAfresh(); }});
    }
    window->Show();
}

void TForm1::StartRecordAfresh()
{
    // Another game that took the statistics over keeps the record now: not ours to move.
    if (scores::ConfirmStatisticsLock() != scores::profile::WriteFailure::None) {
        SetStatus(statusText_ + Text(texts::HistoryAfreshFailed));
        return;
    }
    const scores::history::RecordPlace place = scores::history::CurrentRecordPlace(true);
    if (place.path.empty()) {
        SetStatus(statusText_ + Text(texts::HistoryAfreshFailed));
        return;
    }
    if (!history_ || history_->path() != place.path)
        history_ = std::make_unique<History>(place.path);
    std::string keptAs;
    awaitingAdviceRow_ = false; // its row stays in the record kept aside
    const bool started = history_->StartAfresh(recordedTotals_, keptAs);
    QString told = started ? Text(texts::HistoryAfresh) : Text(texts::HistoryAfreshFailed);
    if (!keptAs.empty())
        told += Text(texts::HistoryKeptAs).arg(QString::fromStdString(keptAs));
    SetStatus(statusText_ + told);
    if (started) {
        recordNewer_ = false;
        Entry last;
        lastKind_ = history_->Last(last) ? last.kind : Kind::Round;
    }
    if (windows_.Statistics) {
        windows_.Statistics->SetTotals(started ? history_->Totals().tallies() : scores::history::Tallies{});
        windows_.Statistics->ReloadRecord();
    }
}
