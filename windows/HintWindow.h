#pragma once

// The hint: the best ways to draw for the hand on the table, with their chances against the
// computer and the money each may bring at the stake. Not modal; it follows the keep marks as
// the player changes them. The advice is worked out on a thread of its own, so the game's
// window never waits for it.

#include "engine/Advisor.h"
#include "windows/AdviceWorker.h"

#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>

class QLabel;
class QPushButton;
class QTableWidget;

// "dama kier, dama pik": the cards a choice keeps, in the player's language.
QString KeptCardsWords(const engine::HandCards& hand, engine::KeepMask keep);
// The screen reader's one sentence for a choice: what to keep, the chances, the money at the stake.
QString AdviceSentence(const engine::Advice& advice, const engine::ChoiceOdds& odds, std::int32_t stake);

class HintWindow : public QWidget {
    Q_OBJECT
public:
    explicit HintWindow(QWidget* parent = nullptr);
    ~HintWindow() override;

    // A new deal: the advice for it is started at once and shown when it comes.
    void SetHand(const engine::HandCards& hand, engine::KeepMask marks, std::int32_t stake);
    void SetMarks(engine::KeepMask marks);
    void SetStake(std::int32_t stake);
    // The draw was made: there is nothing to advise until the next deal.
    void Clear();
    // Shows the window, or brings it forward.
    void Show();

    bool Computing() const { return computing_; }
    const std::optional<engine::Advice>& Current() const { return advice_; }

    QLabel* Sentence;      // the best choice in one sentence
    QTableWidget* Table;   // the best five, and the player's marks where they are not among them
    QLabel* Place;         // where the player's marks stand among the 32
    QPushButton* KeepBest; // sets the marks to the best choice

signals:
    void KeepRequested(engine::KeepMask keep);
    void AdviceShown(); // the advice for the hand has come and is shown

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Received(std::uint64_t request, const engine::Advice& advice);
    void Refill();

    std::unique_ptr<AdviceWorker> worker_;
    std::uint64_t request_ = 0;
    bool computing_ = false;
    std::optional<engine::Advice> advice_;
    engine::HandCards hand_{};
    engine::KeepMask marks_ = engine::KeepAll;
    std::int32_t stake_ = 0;
    bool dealt_ = false;
    bool placed_ = false;
};
