// The hint window beside the main window: the best draws for the hand on the table.

#include "session/Unit1.h"

#include "cards/Card.h"
#include "scores/Tally.h"
#include "windows/HintWindow.h"
#include "windows/StatisticsWindow.h"

#include <QCheckBox>
#include <QLineEdit>

engine::KeepMask TForm1::Marks() const
{
    std::array<bool, engine::HandSize> keep{};
    for (int slot = 0; slot < engine::HandSize; ++slot)
        keep[slot] = KeepBox(slot)->isChecked();
    return engine::MaskOf(keep);
}

void TForm1::Podpowiedz1Click()
{
    if (!hint_) {
        hint_ = new HintWindow(this);
        connect(hint_, &HintWindow::KeepRequested, this, [this](engine::KeepMask keep) { KeepAsAdvised(keep); });
        for (QCheckBox* box : CheckBoxes)
            connect(box, &QCheckBox::toggled, hint_, [this] {
                if (showdownPending_)
                    hint_->SetMarks(Marks());
            });
        // After Edit1Change, which reads the stake, as it was connected first.
        connect(Edit1, &QLineEdit::textChanged, hint_, [this] { hint_->SetStake(Session.Stake); });
        if (showdownPending_)
            hint_->SetHand(engine::Hands[engine::PlayerHand], Marks(), Session.Stake);
    }
    hint_->Show();
}

void TForm1::HintForTheDeal()
{
    AdviseTheDeal();
    Podpowiedz1->setEnabled(true);
    if (hint_)
        hint_->SetHand(engine::Hands[engine::PlayerHand], Marks(), Session.Stake);
}

void TForm1::HintAfterTheDraw()
{
    Podpowiedz1->setEnabled(false);
    if (hint_)
        hint_->Clear();
}

void TForm1::KeepAsAdvised(engine::KeepMask keep)
{
    if (!showdownPending_ || busy_)
        return;
    for (int slot = 0; slot < engine::HandSize; ++slot) {
        const bool kept = (keep >> slot) & 1U;
        CardControls[engine::PlayerHand][slot]->SetShowDeck(!kept);
        KeepBox(slot)->setChecked(kept);
    }
}

void TForm1::AdviseTheDeal()
{
    if (!adviceWorker_)
        adviceWorker_ = std::make_unique<AdviceWorker>(
            this, [this](std::uint64_t request, const engine::Advice& advice) { AdviceCame(request, advice); });
    advice_.reset();
    awaitingAdviceRow_ = false; // the game moved on: the last round keeps no verdict
    adviceWorker_->Ask(++adviceRequest_, dealt_);
}

void TForm1::AdviceCame(std::uint64_t request, const engine::Advice& advice)
{
    if (request != adviceRequest_ || advice.hand != dealt_)
        return;
    if (showdownPending_) {
        advice_ = advice;
        return;
    }
    if (!awaitingAdviceRow_)
        return;
    awaitingAdviceRow_ = false;
    const engine::DrawVerdict verdict = engine::Judge(advice, drawnMarks_);
    scores::history::SetVerdict(awaitingAdvice_, verdict.kept, verdict.best, verdict.keptExpected,
                                verdict.bestExpected);
    // The log shows no verdicts: only the totals change.
    if (history_ && history_->AddVerdict(awaitingAdvice_) && windows_.Statistics)
        windows_.Statistics->SetTotals(history_->Totals().tallies());
}
