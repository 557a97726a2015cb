#include "session/Unit1.h"

#include "cards/Card.h"
#include "cards/CardNames.h"
#include "session/FocusMark.h"
#include "session/MainWindowAccessibility.h"
#include "session/Statistics.h"
#include "session/UpDown.h"
#include "session/WholeNumber.h"
#include "sound/KwOdeum.h"
#include "windows/Boxes.h"
#include "windows/Colours.h"
#include "windows/Pomoc.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>

#include <cstdio>
#include <limits>
#include <optional>
#include <stdexcept>

engine::SessionValues Session;
std::uint8_t DeckType = 0;
TForm1* Form1 = nullptr;

namespace {

using engine::StartingFund;
constexpr std::int32_t SmallestStake = 1;
constexpr std::int32_t LargestStake = 990;
constexpr std::int32_t RewardFund = 6000;
constexpr std::int32_t StakeAfterLoan = 10;
constexpr int PlayerTop = 100;
constexpr int ComputerTop = 250;
// Where the controls stand. The constructor places them; ArrangeMainWindow sets their left
// edges (and the buttons' widths) again, as the window has always done on every session start.
constexpr QRect DealButtonRect{20, 12, 160, 25};
constexpr QRect DrawButtonRect{332, 12, 160, 25};
constexpr QRect StakeFieldRect{261, 12, 33, 24};
constexpr QRect SpinnerRect{294, 12, 15, 24};
constexpr QRect StakeLabelRect{197, 14, 55, 20};
constexpr QRect FundLabelRect{517, 14, 61, 20};
constexpr QRect FundFieldRect{596, 12, 50, 24};
constexpr int KeepTop = 63;
constexpr int KeepHeight = 13;
constexpr int KeepLefts[5] = {51, 184, 310, 443, 570};
constexpr int KeepWidths[5] = {93, 91, 89, 88, 86};

const QString Caption = QStringLiteral("Wirtola wer. 1.1");
const QString StakeRefused =
    QStringLiteral("Oferowana przez Ciebie stawka przekracza stan Twojego funduszu.\rProszę wstaw właściwą stawkę");
const QString StakeHint =
    QStringLiteral("W okienku \"Stawka\" wstaw dowolną kwotę, która jednak nie przekroczy Twojego funduszu.");
const QString FundExhausted =
    QStringLiteral("Fundusz Twój został wyczerpany - proszę załatwić sobie pożyczkę w banku.");
const QString DealAgain = QStringLiteral("Kliknij OK to potasuję i rozdam ponownie.");
const QString LoanGranted = QStringLiteral("Znaj moją Łaskawość - Udzieliłem pożyczki %1 zł.").arg(StartingFund);
const QString SaveFailedWarning = QStringLiteral("  Bez zapisu: %1");
const QString SaveFailed = QStringLiteral("Nie udało się zapisać wyników gry: %1");
const QString SharedFolderAvoided =
    QStringLiteral("Folder gry jest wspólny z innymi użytkownikami, więc wyniki zapisuję w %1");

// Short enough to stand after the round record on the status bar.
QString CauseWords(session::profile::WriteFailure cause)
{
    using session::profile::WriteFailure;
    switch (cause) {
    case WriteFailure::ReadOnly:
        return QStringLiteral("plik tylko do odczytu");
    case WriteFailure::NoPermission:
        return QStringLiteral("brak uprawnień do zapisu");
    case WriteFailure::NoSpace:
        return QStringLiteral("brak miejsca na dysku");
    case WriteFailure::ReadOnlyDisk:
        return QStringLiteral("dysk tylko do odczytu");
    case WriteFailure::NotAFile:
        return QStringLiteral("to nie jest zwykły plik");
    case WriteFailure::ForeignEntry:
        return QStringLiteral("cudzy plik w folderze");
    case WriteFailure::NameChanged:
        return QStringLiteral("plik został podmieniony");
    case WriteFailure::NoFolder:
        return QStringLiteral("brak folderu na wyniki");
    case WriteFailure::OtherGame:
        return QStringLiteral("wyniki zajęte przez inną grę");
    case WriteFailure::None:
    case WriteFailure::Failed:
        break;
    }
    return QStringLiteral("błąd zapisu na dysk");
}

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

QLabel* StaticText(QWidget* parent, const QString& text, const QRect& place)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    return label;
}

// A mnemonic whose button is disabled reaches the focused field as a plain key, and a line
// field would type its letter over the stake. No Alt combination types into the stake field.
// (Ctrl+Alt is left alone: it is how AltGr arrives on some systems.)
class AltKeysDoNotType : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const Qt::KeyboardModifiers mods = key->modifiers();
            if ((mods & Qt::AltModifier) && !(mods & Qt::ControlModifier) && !key->text().isEmpty())
                return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

// Overrides the olive that a child would inherit from the window with the system's colours.
void KeepSystemColours(QWidget* w)
{
    QPalette system = QApplication::palette();
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button, QPalette::WindowText})
        system.setColor(role, system.color(role)); // marks the role as set, so it is not inherited
    w->setPalette(system);
    w->setAutoFillBackground(true);
}

} // namespace

template <typename Sender, typename Signal, typename Handler>
void TForm1::On(Sender* sender, Signal signal, Handler handler)
{
    connect(sender, signal, this, [this, handler] { boxes::Guarded([this, handler] { (this->*handler)(); }); });
}

TForm1::TForm1()
{
    Form1 = this;
    setWindowTitle(Caption);
    setAttribute(Qt::WA_QuitOnClose, false); // the program ends through FormClose alone

    QPalette olive = palette();
    olive.setColor(QPalette::Window, colours::Olive);
    setPalette(olive);
    setAutoFillBackground(true);

    client_ = new QWidget(this);
    client_->setFixedSize(691, 405);
    setCentralWidget(client_);

    Panel1 = new QFrame(client_);
    Panel1->setGeometry(0, 0, 691, 46);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(2);

    btnRozdanie = new QPushButton(QStringLiteral("&Rozdanie kart"), Panel1);
    btnRozdanie->setGeometry(DealButtonRect);
    btnKupno = new QPushButton(QStringLiteral("Kup&no i licytacja"), Panel1);
    btnKupno->setGeometry(DrawButtonRect);
    Edit1 = new QLineEdit(QStringLiteral("10"), Panel1);
    Edit1->setGeometry(StakeFieldRect);
    UpDown1 = new TUpDown(Panel1, 10, LargestStake, 10, 10);
    UpDown1->setGeometry(SpinnerRect);
    StaticText1 = StaticText(Panel1, QStringLiteral("Stawka:"), StakeLabelRect);
    StaticText2 = StaticText(Panel1, QStringLiteral("Fundusz:"), FundLabelRect);
    Edit2 = new QLineEdit(QStringLiteral("0000"), Panel1);
    Edit2->setGeometry(FundFieldRect);
    Edit2->setReadOnly(true);
    // Screen readers name the fields after their labels, without the labels' colons.
    StaticText1->setBuddy(Edit1);
    StaticText2->setBuddy(Edit2);
    Edit1->setAccessibleName(QStringLiteral("Stawka"));
    Edit2->setAccessibleName(QStringLiteral("Fundusz"));
    UpDown1->UpButton()->setAccessibleName(QStringLiteral("Zwiększ stawkę"));
    UpDown1->DownButton()->setAccessibleName(QStringLiteral("Zmniejsz stawkę"));
    Edit1->installEventFilter(new AltKeysDoNotType(Edit1));
    spoken::ReadAsPanel(Panel1);
    spoken::ReadAsNumber(Edit1);
    spoken::ReadAsNumber(Edit2);
    // Enter presses the focused button, as Space does, outside dialogs too.
    btnRozdanie->setAutoDefault(true);
    btnKupno->setAutoDefault(true);

    for (int i = 0; i < 5; ++i) {
        auto* box = new QCheckBox(QStringLiteral("Zostaw %1").arg(i + 1), client_);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(i + 1));
        box->setGeometry(KeepLefts[i], KeepTop, KeepWidths[i], KeepHeight);
        CheckBoxes[i] = box;
    }

    StatusBar1 = new QStatusBar(client_);
    StatusBar1->setGeometry(0, 383, 691, 22);
    StatusBar1->setSizeGripEnabled(false);
    // The menu bar and the status bar keep the system's colours; only the window is olive.
    KeepSystemColours(StatusBar1);

    MarkFocus(this, {btnRozdanie, btnKupno, CheckBoxes[0], CheckBoxes[1], CheckBoxes[2], CheckBoxes[3], CheckBoxes[4]});

    setTabOrder(btnRozdanie, btnKupno);
    setTabOrder(btnKupno, Edit1);
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, CheckBoxes[0]);
    for (int i = 0; i < 4; ++i)
        setTabOrder(CheckBoxes[i], CheckBoxes[i + 1]);

    KeepSystemColours(menuBar());
    Ustawienia1 = menuBar()->addMenu(QStringLiteral("&Ustawienia   "));
    MuzykaZal1 = Ustawienia1->addAction(QStringLiteral("&Dzwięki włączone"));
    MuzykaZal1->setCheckable(true);
    MuzykaZal1->setChecked(true);
    Ustawienia1->addSeparator();
    Bank1 = Ustawienia1->addAction(QStringLiteral("P&ożyczka z banku"));
    Pomoc1 = menuBar()->addAction(QStringLiteral("&Pomoc    "));
    Koniec1 = menuBar()->addAction(QStringLiteral("&Koniec"));

    Beeper = new TKwBeeper(this);
    Beeper->SetDefaultSound(psOfficial);

    On(btnRozdanie, &QPushButton::clicked, &TForm1::btnRozdanieClick);
    On(btnKupno, &QPushButton::clicked, &TForm1::btnKupnoClick);
    On(Edit1, &QLineEdit::textChanged, &TForm1::Edit1Change);
    On(Bank1, &QAction::triggered, &TForm1::Bank1Click);
    On(Pomoc1, &QAction::triggered, &TForm1::Pomoc1Click);
    On(Koniec1, &QAction::triggered, &TForm1::Koniec1Click);
    On(MuzykaZal1, &QAction::triggered, &TForm1::MuzykaZal1Click);

    boxes::Guarded([this] { FormCreate(); });
    const session::StatisticsPlace& place = session::CurrentStatisticsPlace();
    if (place.avoidedSharedFolder)
        SetStatus(SharedFolderAvoided.arg(QString::fromStdString(place.path)));
}

TForm1::~TForm1()
{
    if (Form1 == this)
        Form1 = nullptr;
}

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
    StatusBar1->showMessage(text);
}

void TForm1::ShowStatusLine()
{
    const qint64 rounds = static_cast<qint64>(Session.Wins) + Session.Losses;
    SetStatus(QStringLiteral("Ewidencja rozdań: aktualne rozdanie %1  w tym wygrane / przegrane %2 / %3")
                  .arg(rounds)
                  .arg(Session.Wins)
                  .arg(Session.Losses));
}

void TForm1::ArrangeMainWindow()
{
    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    f.setPointSize(10);
    setFont(f);
    btnRozdanie->setGeometry(DealButtonRect.x(), btnRozdanie->y(), DealButtonRect.width(), btnRozdanie->height());
    btnKupno->setGeometry(DrawButtonRect.x(), btnKupno->y(), DrawButtonRect.width(), btnKupno->height());
    StaticText1->move(StakeLabelRect.x(), StaticText1->y());
    StaticText2->move(FundLabelRect.x(), StaticText2->y());
    Edit1->move(StakeFieldRect.x(), Edit1->y());
    UpDown1->Associate(Edit1);
    Edit2->move(FundFieldRect.x(), Edit2->y());
    for (int i = 0; i < 5; ++i)
        CheckBoxes[i]->move(KeepLefts[i], CheckBoxes[i]->y());
    adjustSize();
    setFixedSize(size());
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
    if (readStatistics)
        read_inifile();
    SetStatus(QString());
    ShowFund(Session.Fund);
    if (Session.BettingOpen)
        Bet();
}

void TForm1::read_inifile()
{
    session::read_inifile(Session);
}

void TForm1::save_inifile()
{
    session::save_inifile(Session);
    saveFailing_ = false;
}

void TForm1::SaveAfterRound()
{
    try {
        save_inifile();
    } catch (const std::exception& e) {
        const auto* write = dynamic_cast<const session::WriteError*>(&e);
        // The round record stays readable; the warning follows it.
        if (!saveFailing_)
            SetStatus(
                StatusBar1->currentMessage()
                + SaveFailedWarning.arg(CauseWords(write ? write->cause() : session::profile::WriteFailure::Failed)));
        saveFailing_ = true;
    }
}

bool TForm1::Valid(std::int32_t stake, std::int32_t fund, std::int32_t minimum)
{
    if (stake >= minimum && fund >= stake)
        return true;
    if (SoundsOn())
        Beeper->Play(psWrong);
    else
        SetStatus(StakeHint);
    return false;
}

void TForm1::Hand(std::uint8_t hand)
{
    engine::ClassifyHand(hand);
}

void TForm1::Decision()
{
    engine::Decision(Session);
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
    const int top = hand == engine::PlayerHand ? PlayerTop : ComputerTop;
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
    spoken::HushTheKeepBoxes(btnKupno, CheckBoxes);
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
    SaveAfterRound();
    boxes::ShowMessage(QString::fromStdString(engine::ResultMessage) + QStringLiteral("\r\r") + DealAgain,
                       spoken::ShowdownWords());
    if (ended_)
        return;
    CardBuilder(engine::PlayerHand, false);
    CardBuilder(engine::ComputerHand, false);

    const bool playOn = boxes::AskContinue();
    if (ended_)
        return;
    if (playOn) {
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
    Session.Stake = session::ParseWholeNumber(Edit1->text().toStdString()).value_or(-1);
    if (Valid(Session.Stake, largest, SmallestStake))
        return true;
    if (ended_)
        return false; // the window closed during the refusal tune
    boxes::ShowMessage(StakeRefused);
    // The message asks for another stake: the field is ready to take it.
    Edit1->setFocus(Qt::OtherFocusReason);
    Edit1->selectAll();
    return false;
}

void TForm1::WaitForADeal()
{
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
    boxes::ShowMessage(FundExhausted);
    Bank1->setEnabled(true);
    Session.BettingOpen = false;
}

void TForm1::Edit1Change()
{
    const QString text = Edit1->text();
    const std::optional<std::int32_t> stake = session::ParseWholeNumber(text.toStdString());
    if (!stake)
        throw std::runtime_error(QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
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
    StartAfresh();
    // A failed save is reported, and the loan stands in memory all the same; the next save
    // tries again.
    boxes::Guarded([this] { save_inifile(); });
    if (ended_)
        return;
    BeginSession(false);
    Session.Stake = StakeAfterLoan;
    Edit1->setText(QString::number(StakeAfterLoan));
    boxes::ShowMessage(LoanGranted);
}

void TForm1::ResetAfterReward()
{
    // The reward window asks for the reset more than once as it closes: one per showing.
    if (ended_ || !rewardShown_)
        return;
    rewardShown_ = false;
    StartAfresh();
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

void TForm1::closeEvent(QCloseEvent* event)
{
    if (!ended_ && !SaveForClosing()) {
        event->ignore();
        return;
    }
    event->accept();
    EndSession();
}

bool TForm1::SaveForClosing()
{
    if (boxes::Guarded([this] { save_inifile(); }))
        return true;
    // The file may be out of reach for good (a read-only folder, a full disk): leaving without
    // it must stay possible, so the player decides.
    return ended_ || boxes::AskEndWithoutSaving();
}

bool TForm1::SaveAndClose()
{
    if (boxes::Guarded([this] { save_inifile(); })) {
        close();
    } else if (ended_ || boxes::AskEndWithoutSaving()) {
        EndSession(); // so that the closing does not try the save, and ask, again
        close();
    }
    return ended_;
}

void TForm1::CloseBySignal()
{
    if (ended_)
        return;
    SaveWithoutAsking();
    EndSession();
    close();
}

void TForm1::SaveWithoutAsking()
{
    try {
        save_inifile();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Wirtola: %s\n", SaveFailed.arg(QString::fromUtf8(e.what())).toUtf8().constData());
    }
}

void TForm1::EndSession()
{
    if (ended_)
        return;
    ended_ = true;
    // Hiding a modal box or window ends its event loop; the handler that opened it resumes,
    // sees Ended() and stops.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible())
            w->hide();
    emit ProgramEnded();
}
