#include "windows/HintWindow.h"

#include "cards/Card.h"
#include "cards/CardNames.h"
#include "windows/Colours.h"
#include "windows/Text.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <array>
#include <cmath>

namespace {

constexpr const char* Caption = QT_TRANSLATE_NOOP("Wirtola", "Podpowiedź");
constexpr const char* TableName = QT_TRANSLATE_NOOP("Wirtola", "Najlepsze wymiany");
constexpr std::array<const char*, 5> Columns{
    QT_TRANSLATE_NOOP("Wirtola", "Zostaw"), QT_TRANSLATE_NOOP("Wirtola", "Wygrana"),
    QT_TRANSLATE_NOOP("Wirtola", "Remis"), QT_TRANSLATE_NOOP("Wirtola", "Przegrana"),
    QT_TRANSLATE_NOOP("Wirtola", "Średnio")};
constexpr const char* KeepNothing = QT_TRANSLATE_NOOP("Wirtola", "nic (wymiana wszystkich)");
constexpr const char* KeepBestButton = QT_TRANSLATE_NOOP("Wirtola", "&Zaznacz najlepszą");
constexpr const char* YourMarks = QT_TRANSLATE_NOOP("Wirtola", "Twój wybór");
// %1 the place of the player's marks, %2 the number of choices.
constexpr const char* PlaceWords = QT_TRANSLATE_NOOP("Wirtola", "Twój wybór: miejsce %1 z %2.");
constexpr const char* Working = QT_TRANSLATE_NOOP("Wirtola", "Liczę…");
constexpr const char* NoDeal = QT_TRANSLATE_NOOP("Wirtola", "Podpowiedź jest po rozdaniu kart, do wymiany.");
// %1 the cards kept.
constexpr const char* BestKeep = QT_TRANSLATE_NOOP("Wirtola", "Zostaw: %1");
constexpr const char* BestExchangeAll = QT_TRANSLATE_NOOP("Wirtola", "Wymień wszystkie karty");
// %1 what to keep, %2 win, %3 tie, %4 loss, %5 the money on average.
constexpr const char* SentenceWords =
    QT_TRANSLATE_NOOP("Wirtola", "%1 – wygrana %2, remis %3, przegrana %4, średnio %5");
constexpr const char* Money = QT_TRANSLATE_NOOP("Wirtola", "%1 zł");
// The language's decimal mark, whatever the system's locale.
constexpr const char* NumberLocale = QT_TRANSLATE_NOOP("Wirtola", "pl");
constexpr int ShownBest = 5;

QString Percent(double fraction, int decimals)
{
    return QStringLiteral("%1 %").arg(QLocale(Text(NumberLocale)).toString(100.0 * fraction, 'f', decimals));
}

// Whole złoty from 10 up, tenths below, always with its sign.
QString Amount(double money)
{
    const int decimals = std::abs(money) >= 9.95 ? 0 : 1;
    const double shown = std::round(money * std::pow(10.0, decimals)) / std::pow(10.0, decimals);
    const QString number = QLocale(Text(NumberLocale)).toString(std::abs(shown), 'f', decimals);
    const QString sign = shown > 0 ? QStringLiteral("+") : shown < 0 ? QStringLiteral("−") : QString();
    return Text(Money).arg(sign + number);
}

void SetCell(QTableWidget* table, int row, int column, const QString& text, bool bold)
{
    QTableWidgetItem* item = table->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setTextAlignment((column == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
        table->setItem(row, column, item);
    }
    item->setText(text);
    QFont font = table->font();
    font.setBold(bold);
    item->setFont(font);
}

} // namespace

QString KeptCardsWords(const engine::HandCards& hand, engine::KeepMask keep)
{
    QStringList names;
    for (int slot = 0; slot < engine::HandSize; ++slot)
        if (keep & (1U << slot))
            names << CardFaceName(hand[slot].rank, static_cast<TCardSuit>(hand[slot].suit));
    return names.isEmpty() ? Text(KeepNothing) : names.join(QStringLiteral(", "));
}

QString AdviceSentence(const engine::Advice& advice, const engine::ChoiceOdds& odds, std::int32_t stake)
{
    const QString keep =
        odds.keep == 0 ? Text(BestExchangeAll) : Text(BestKeep).arg(KeptCardsWords(advice.hand, odds.keep));
    return Text(SentenceWords)
        .arg(keep, Percent(odds.win, 0), Percent(odds.tie, 0), Percent(odds.loss, 0), Amount(odds.Expected() * stake));
}

HintWindow::HintWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Podpowiedz"));
    setWindowTitle(Text(Caption));
    colours::DressLikeTheGame(*this);

    Sentence = new QLabel(this);
    Sentence->setWordWrap(true);
    Sentence->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    Sentence->setFocusPolicy(Qt::StrongFocus); // reachable by Tab, so a screen reader reads it
    Table = new QTableWidget(0, static_cast<int>(Columns.size()), this);
    Table->setAccessibleName(Text(TableName));
    QStringList columns;
    for (const char* column : Columns)
        columns << Text(column);
    Table->setHorizontalHeaderLabels(columns);
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setSelectionMode(QAbstractItemView::SingleSelection);
    Table->setTabKeyNavigation(false); // Tab leaves the table; the arrows walk its cells
    Table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    Table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Table->verticalHeader()->setDefaultSectionSize(Table->fontMetrics().height() + 6);
    Table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Room for the best and the player's row always, so the window keeps its size.
    Table->setFixedHeight(Table->horizontalHeader()->sizeHint().height() + 2 * Table->frameWidth()
                          + (ShownBest + 1) * Table->verticalHeader()->defaultSectionSize());
    Place = new QLabel(this);
    KeepBest = new QPushButton(Text(KeepBestButton), this);
    KeepBest->setAutoDefault(true);

    auto* column = new QVBoxLayout(this);
    column->addWidget(Sentence);
    column->addWidget(Table);
    column->addWidget(Place);
    column->addWidget(KeepBest, 0, Qt::AlignLeft);
    setTabOrder(Sentence, Table);
    setTabOrder(Table, KeepBest);

    connect(KeepBest, &QPushButton::clicked, this, [this] {
        if (advice_)
            emit KeepRequested(advice_->Best().keep);
    });
    worker_ = std::make_unique<AdviceWorker>(
        this, [this](std::uint64_t request, const engine::Advice& advice) { Received(request, advice); });
    Refill();
}

HintWindow::~HintWindow()
{
    worker_.reset(); // the thread ends before the window it reports to
}

void HintWindow::SetHand(const engine::HandCards& hand, engine::KeepMask marks, std::int32_t stake)
{
    hand_ = hand;
    marks_ = marks;
    stake_ = stake;
    dealt_ = true;
    advice_.reset();
    computing_ = true;
    worker_->Ask(++request_, hand);
    Refill();
}

void HintWindow::SetMarks(engine::KeepMask marks)
{
    marks_ = marks;
    Refill();
}

void HintWindow::SetStake(std::int32_t stake)
{
    stake_ = stake;
    Refill();
}

void HintWindow::Clear()
{
    dealt_ = false;
    computing_ = false;
    advice_.reset();
    ++request_; // an answer still on its way is for a hand gone
    Refill();
}

void HintWindow::Received(std::uint64_t request, const engine::Advice& advice)
{
    if (request != request_)
        return;
    advice_ = advice;
    computing_ = false;
    Refill();
    emit AdviceShown();
}

void HintWindow::Show()
{
    if (!placed_) {
        placed_ = true;
        resize(760, sizeHint().height());
    }
    show();
    raise();
    activateWindow();
}

void HintWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

void HintWindow::Refill()
{
    KeepBest->setEnabled(advice_.has_value());
    if (!advice_) {
        Table->setRowCount(0);
        Sentence->setText(Text(dealt_ ? Working : NoDeal));
        Place->clear();
        Table->setAccessibleDescription(Sentence->text());
        return;
    }
    const engine::Advice& advice = *advice_;
    std::vector<engine::KeepMask> rows(advice.ranking.begin(), advice.ranking.begin() + ShownBest);
    const int place = advice.PlaceOf(marks_);
    if (place >= ShownBest)
        rows.push_back(marks_);
    Table->setRowCount(static_cast<int>(rows.size()));
    QStringList rowNames;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const engine::ChoiceOdds& odds = advice.For(rows[row]);
        const bool yours = odds.keep == (marks_ & engine::KeepAll);
        const int r = static_cast<int>(row);
        SetCell(Table, r, 0, KeptCardsWords(advice.hand, odds.keep), yours);
        SetCell(Table, r, 1, Percent(odds.win, 1), yours);
        SetCell(Table, r, 2, Percent(odds.tie, 1), yours);
        SetCell(Table, r, 3, Percent(odds.loss, 1), yours);
        SetCell(Table, r, 4, Amount(odds.Expected() * stake_), yours);
        const QString number = QString::number(advice.PlaceOf(odds.keep) + 1) + QLatin1Char('.');
        rowNames << (yours ? number + QLatin1Char(' ') + Text(YourMarks) : number);
    }
    Table->setVerticalHeaderLabels(rowNames);
    Sentence->setText(AdviceSentence(advice, advice.Best(), stake_));
    Place->setText(Text(PlaceWords).arg(place + 1).arg(engine::KeepChoices));
    Table->setAccessibleDescription(Sentence->text());
    Sentence->setAccessibleName(Sentence->text());
}
