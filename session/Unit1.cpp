// The round flow: a session's start, the deal, the draw and showdown, the fund, the loan and
// the reward, as the main window's handlers drive them.

#include "session/Unit1.h"

#include "cards/Card.h"
#include "cards/CardNames.h"
#include "scores/WholeNumber.h"
#include "session/MainWindowAccessibility.h"
#include "session/MainWindowLayout.h"
#include "session/MainWindowTexts.h"
#include "sound/KwOdeum.h"
#include "windows/Boxes.h"
#include "windows/Pomoc.h"
#include "windows/Text.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"

#include <QAction>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>

#include <algorithm>
#include <limits>
#include <optional>
#include <stdexcept>
#include <vector>

namespace {

// The status text shortened to `width` pixels with its ends kept: a file's path loses the middle
// of its folders (its start and the file's name stay), anything else the middle of the text.
QString ElidedStatus(const QString& text, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    // The paths give way first, in their middles and the last one first, so the words around
    // them and each path's two ends stay readable.
    static const QRegularExpression pathPattern(QStringLiteral("(?:/[^\\s/]+){2,}/?"));
    std::vector<QRegularExpressionMatch> paths;
    for (auto match = pathPattern.globalMatch(text); match.hasNext();)
        paths.push_back(match.next());
    const int least = metrics.averageCharWidth() * 12;
    int excess = metrics.horizontalAdvance(text) - width;
    QString shortened = text;
    for (auto path = paths.rbegin(); path != paths.rend() && excess > 0; ++path) {
        const int pathWidth = metrics.horizontalAdvance(path->captured());
        const QString elided =
            metrics.elidedText(path->captured(), Qt::ElideMiddle, std::max(least, pathWidth - excess));
        excess -= pathWidth - metrics.horizontalAdvance(elided);
        shortened.replace(path->capturedStart(), path->capturedLength(), elided);
    }
    if (metrics.horizontalAdvance(shortened) <= width)
        return shortened;
    return metrics.elidedText(text, Qt::ElideMiddle, width);
}

using engine::StartingFund;
using layout::LargestStake;
constexpr std::int32_t SmallestStake = 1;
constexpr std::int32_t RewardFund = 6000;
constexpr std::int32_t StakeAfterLoan = 10;

// Marks a deal or a draw as in progress for as long as its handler runs.
class BusyScope {
public:
    explicit BusyScope(bool& flag)
        : flag_(flag)
    {
        flag_ = true;
    }
    ~BusyScope() { flag_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& flag_;
};

} // namespace

bool TForm1::SoundsOn() const
{
    return MuzykaZal1->isChecked();
}

QCheckBox* TForm1::KeepBox(int slot) const
{
    // The keep box of a slot is found by its name, as the window's handlers always have.
    return client_->findChild<QCheckBox*>(QStringLiteral("CheckBox%1").arg(slot + 1));
}

void TForm1::SetStatus(const QString& text)
{
    statusText_ = text;
    // QStatusBar draws its message from 6 px in and stops 12 px before its right edge.
    const QString shown = ElidedStatus(text, StatusBar1->fontMetrics(), StatusBar1->width() - 18);
    StatusBar1->showMessage(shown);
    // Whatever had to be shortened is there in full for the mouse and for a screen reader.
    StatusBar1->setToolTip(shown == text ? QString() : text);
    // A screen reader's review reads the name: the whole text, never the shortened one.
    StatusBar1->setAccessibleName(text);
    StatusBar1->setAccessibleDescription(text);
}

void TForm1::ShowStatusLine()
{
    const qint64 rounds = static_cast<qint64>(Session.Wins) + Session.Losses;
    // The count picks a language's plural form; Polish words it so that none is needed.
    const int form = static_cast<int>(std::clamp<qint64>(rounds, 0, std::numeric_limits<int>::max()));
    SetStatus(Text(texts::StatusLine, form).arg(rounds).arg(Session.Wins).arg(Session.Losses));
}

void TForm1::FormCreate()
{
    BeginSession(true);
}

void TForm1::BeginSession(bool readStatistics)
{
    ArrangeMainWindow();
    engine::RandomizeFromClock();
    ResetSession();
    btnRozdanie->setEnabled(true);
    btnKupno->setEnabled(false);
    for (QCheckBox* box : CheckBoxes)
        box->hide();
    Bank1->setEnabled(false);
    show();
    // A loan does not read the file: when its save failed, the file still holds the spent fund.
    if (readStatistics) {
        read_inifile();
        fromFile_ = Session;
        recordedTotals_ = Session;
    }
    SetStatus(QString());
    ShowFund(Session.Fund);
    if (Session.BettingOpen)
        Bet();
}

bool TForm1::Valid(std::int32_t stake, std::int32_t fund, std::int32_t minimum)
{
    if (stake >= minimum && fund >= stake)
        return true;
    if (SoundsOn())
        Beeper->Play(psWrong);
    else
        SetStatus(Text(texts::StakeHint));
    return false;
}

void TForm1::Hand(std::uint8_t hand)
{
    engine::ClassifyHand(hand);
}

QString ResultText(engine::Outcome outcome, bool bettingOpen, std::int32_t stake)
{
    const auto at = static_cast<std::size_t>(outcome);
    QString text = Text(texts::ResultHeadlines.at(at));
    if (bettingOpen && texts::ResultMoneyLines.at(at))
        text += QLatin1Char('\r') + Text(texts::ResultMoneyLines.at(at)).arg(stake);
    return text;
}

void TForm1::Decision()
{
    const std::int32_t before = Session.Fund;
    outcome_ = engine::Decision(Session);
    moved_ = Session.Fund - before;
}

void TForm1::Replace()
{
    std::array<bool, engine::HandSize> keep{};
    for (int slot = 0; slot < engine::HandSize; ++slot)
        keep[slot] = KeepBox(slot)->isChecked();
    engine::Replace(keep);
    CardBuilder(engine::PlayerHand, true);
}

void TForm1::CardBuilder(std::uint8_t hand, bool faceUp)
{
    const int top = hand == engine::PlayerHand ? layout::PlayerTop : layout::ComputerTop;
    for (int slot = 0; slot < engine::HandSize; ++slot) {
        TCard*& card = CardControls.at(hand).at(slot);
        if (!card) {
            card = new TCard(this);
            card->setObjectName(QStringLiteral("Card%1%2").arg(hand).arg(slot));
            card->setParent(client_);
            card->SetHolder(hand == engine::PlayerHand ? TCardHolder::Player : TCardHolder::Computer, slot + 1);
            if (hand == engine::PlayerHand) {
                connect(card, &TCard::Click, this, [this](TCard* clicked) {
                    boxes::Guarded([this, clicked] { PokerCardOnClickHandler(clicked); });
                });
                // A cleared keep box sends the card away at the draw; a screen reader says so.
                connect(KeepBox(slot), &QCheckBox::toggled, card,
                        [this, card](bool keep) { card->SetExchangeMark(showdownPending_ && !keep); });
            }
            connect(card, &TCard::PaintFailed, this, [](const QString& message) { boxes::ShowError(message); });
        }
        card->move(50 + 130 * slot, top);
        card->show();
        card->SetShowDeck(!faceUp);
        card->SetDeckType(static_cast<TDecks>(DeckType));
        const engine::Card& c = engine::Hands[hand][slot];
        card->SetCard(c.rank, static_cast<std::uint8_t>(c.suit));
        if (hand == engine::PlayerHand) {
            card->SetTag(slot);
            // Tabbing through the keep boxes, a screen reader user hears which card each keeps.
            KeepBox(slot)->setAccessibleDescription(CardFaceName(c.rank, static_cast<TCardSuit>(c.suit)));
        }
        KeepBox(slot)->setChecked(true);
    }
}

void TForm1::PokerCardOnClickHandler(TCard* card)
{
    card->SetShowDeck(!card->ShowDeck());
    if (QCheckBox* box = KeepBox(card->Tag()))
        box->setChecked(!card->ShowDeck());
}

void TForm1::btnRozdanieClick()
{
    if (busy_ || ended_)
        return; // a second click while a deal or draw is still being handled
    BusyScope busy(busy_);
    if (SoundsOn())
        Beeper->Play(psWhisle);
    if (ended_)
        return;

    if (!TakeStake(Session.Fund))
        return;

    engine::ShuffleDeck();
    engine::DealHand(engine::ComputerHand);
    ShowStatusLine();
    ShowFund(static_cast<qint64>(Session.Fund) - Session.Stake);
    engine::DealHand(engine::PlayerHand);
    Hand(engine::ComputerHand);
    engine::ComputerDraw();
    Hand(engine::PlayerHand);
    dealt_ = engine::Hands[engine::PlayerHand];
    dealtClass_ = engine::HandCategory[engine::PlayerHand];
    CardBuilder(engine::PlayerHand, true);
    CardBuilder(engine::ComputerHand, false);
    // The draw button takes the focus before the deal button loses it; otherwise Qt would
    // hand it on to the stake field with its text selected, ready to be typed over.
    btnKupno->setEnabled(true);
    spoken::TellTheHand(btnKupno);
    btnKupno->setFocus(Qt::OtherFocusReason);
    btnRozdanie->setEnabled(false);
    for (QCheckBox* box : CheckBoxes)
        box->show();
    showdownPending_ = true;
    HintForTheDeal();
}

void TForm1::btnKupnoClick()
{
    if (busy_ || ended_ || !showdownPending_)
        return; // one showdown per deal, and none inside another handler's tune
    BusyScope busy(busy_);
    if (SoundsOn())
        Beeper->Play(psWhisle);
    if (ended_)
        return;
    // The field stays editable until now. A stake below 1 would pay the loser, so it is refused
    // as at the deal and the hand stays dealt; one above the fund is the road to the loan.
    if (!TakeStake(std::numeric_limits<std::int32_t>::max()))
        return;

    showdownPending_ = false;
    drawnMarks_ = Marks();
    HintAfterTheDraw();
    btnKupno->setAccessibleDescription(QString()); // it told the hand being exchanged now
    spoken::HoldUntilABoxHasTheFocus(this);
    Replace();
    Hand(engine::PlayerHand);
    engine::SortHand(engine::ComputerHand);
    CardBuilder(engine::ComputerHand, true);
    Hand(engine::ComputerHand);
    Decision();
    ShowStatusLine();
    ShowFund(Session.Fund);
    // Every settled round is on disk before its result is shown: killing the game while the
    // box is up cannot undo a loss, and a crash loses at most the next round.
    notSaved_.clear();
    recordTold_.clear();
    SaveAfterRound();
    RecordRound();
    // The box shows the result; a screen reader says the hands, the fund and the tallies with it,
    // and what was not kept this round, whole, since the status bar may have to shorten it. The
    // headline is said with the button too: a key the screen reader hears late (a busy machine)
    // silences the alert's text it has just begun.
    spoken::KeepTheFocusForTheNextBox(this); // the question follows the result at once
    boxes::ShowMessage(
        ResultText(outcome_, Session.BettingOpen, Session.Stake) + QStringLiteral("\r\r") + Text(texts::DealAgain),
        Text(texts::ResultHeadlines.at(static_cast<std::size_t>(outcome_))) + QLatin1Char(' ') + spoken::ShowdownWords()
            + QLatin1Char(' ') + Text(texts::FundAndTallies).arg(Session.Fund).arg(Session.Wins).arg(Session.Losses)
            + NotKeptWords());
    if (ended_)
        return;
    spoken::HoldUntilABoxHasTheFocus(this); // the question comes next
    CardBuilder(engine::PlayerHand, false);
    CardBuilder(engine::ComputerHand, false);

    const bool playOn = boxes::AskYesNo(Text(texts::ContinueCaption), Text(texts::ContinueQuestion));
    spoken::KeepTheFocusForTheNextBox(nullptr);
    if (ended_)
        return;
    if (playOn) {
        if ((Session.BettingOpen && Session.Fund <= 0) || Session.Fund >= RewardFund)
            spoken::HoldUntilABoxHasTheFocus(this); // the exhausted fund's box or the reward comes next
        WaitForADeal();
        if (Session.BettingOpen)
            Bet();
        if (Session.Fund >= RewardFund && !ended_) {
            rewardShown_ = true;
            windows_.Form2->exec();
            rewardShown_ = false;
        }
    } else if (!SaveAndClose()) {
        // The save failed and the player stays: the game goes on, and an exhausted fund still
        // leads to the loan.
        WaitForADeal();
        if (Session.BettingOpen)
            Bet();
    }
}

bool TForm1::TakeStake(std::int32_t largest)
{
    // Text that is not a number reads as -1 and is refused with the rest.
    Session.Stake = scores::ParseWholeNumber(Edit1->text().toStdString()).value_or(-1);
    if (Valid(Session.Stake, largest, SmallestStake))
        return true;
    if (ended_)
        return false; // the window closed during the refusal tune
    boxes::ShowMessage(Text(texts::StakeRefused));
    // The message asks for another stake: the field is ready to take it.
    Edit1->setFocus(Qt::OtherFocusReason);
    Edit1->selectAll();
    return false;
}

QString TForm1::NotKeptWords() const
{
    QString words;
    if (!notSaved_.isEmpty())
        words += QLatin1Char(' ') + boxes::WithFullStop(notSaved_);
    if (!recordTold_.isEmpty())
        words += QLatin1Char(' ') + boxes::WithFullStop(recordTold_);
    return words;
}

void TForm1::WaitForADeal()
{
    HintAfterTheDraw();
    btnRozdanie->setEnabled(true);
    btnRozdanie->setFocus(Qt::OtherFocusReason);
    btnKupno->setEnabled(false);
    for (QCheckBox* box : CheckBoxes)
        box->hide();
}

void TForm1::Bet()
{
    if (Session.Fund > 0)
        return;
    if (SoundsOn())
        Beeper->Play(psWrong);
    if (ended_)
        return;
    boxes::ShowMessage(Text(texts::FundExhausted));
    Bank1->setEnabled(true);
    Session.BettingOpen = false;
}

void TForm1::Edit1Change()
{
    const QString text = Edit1->text();
    const std::optional<std::int32_t> stake = scores::ParseWholeNumber(text.toStdString());
    if (!stake)
        throw std::runtime_error(Text(texts::NotAWholeNumber).arg(text).toStdString());
    Session.Stake = *stake;
    if (Session.Stake > LargestStake) {
        Session.Stake = LargestStake;
        Edit1->setText(QString::number(LargestStake));
        Edit1->repaint();
    }
}

void TForm1::Bank1Click()
{
    if (windows_.Form3->exec() != 1 || ended_)
        return;
    spoken::HoldUntilABoxHasTheFocus(this); // the loan's box comes next
    StartAfresh();
    // A failed save is reported, and the loan stands in memory all the same; the next save
    // tries again.
    boxes::Guarded([this] { save_inifile(); });
    RecordEvent(scores::history::Kind::Loan);
    if (ended_)
        return;
    BeginSession(false);
    Session.Stake = StakeAfterLoan;
    Edit1->setText(QString::number(StakeAfterLoan));
    boxes::ShowMessage(Text(texts::LoanGranted).arg(engine::StartingFund), Text(texts::TalliesAfresh));
}

void TForm1::ResetAfterReward()
{
    // The reward window asks for the reset more than once as it closes: one per showing.
    if (ended_ || !rewardShown_)
        return;
    rewardShown_ = false;
    StartAfresh();
    RecordEvent(scores::history::Kind::Reward);
    if (!SaveAndClose() && windows_.Form2 && windows_.Form2->isVisible())
        windows_.Form2->reject(); // the player stays after a failed save: the main window is theirs again
}

void TForm1::StartAfresh()
{
    ResetSession();
    ShowFund(Session.Fund);
}

void TForm1::ResetSession()
{
    Session = engine::SessionValues{}; // the start values: no rounds yet, the starting fund
}

void TForm1::ShowFund(qint64 amount)
{
    Edit2->setText(QString::number(amount));
}

void TForm1::Koniec1Click()
{
    close();
}

void TForm1::MuzykaZal1Click()
{
    // The menu item is checkable: Qt has already turned the check mark over.
}

void TForm1::Pomoc1Click()
{
    windows_.FPomoc->Show();
}
