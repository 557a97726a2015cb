#include "windows/StatisticsWindow.h"

#include "cards/CardNames.h"
#include "windows/Boxes.h"
#include "windows/Colours.h"
#include "windows/Desktop.h"
#include "windows/HandClassNames.h"
#include "windows/Text.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>

namespace {

using scores::history::Kind;
using scores::history::Tally;

constexpr const char* Caption = QT_TRANSLATE_NOOP("Wirtola", "Statystyka");
constexpr const char* ThisGame = QT_TRANSLATE_NOOP("Wirtola", "Ta gra");
// Every game the record holds, this one too: "od początku" was read as "since this game began".
constexpr const char* AllTime = QT_TRANSLATE_NOOP("Wirtola", "Wszystkie gry");
constexpr const char* SummaryName = QT_TRANSLATE_NOOP("Wirtola", "Wyniki");
constexpr const char* ClassesName = QT_TRANSLATE_NOOP("Wirtola", "Układy");
constexpr const char* PlotName = QT_TRANSLATE_NOOP("Wirtola", "Fundusz w kolejnych rozdaniach");
// The plot's axis of rounds, named in its corner beside the rounds' numbers.
constexpr const char* RoundAxis = QT_TRANSLATE_NOOP("Wirtola", "rozdanie");
constexpr std::array<const char*, 11> SummaryRows{
    QT_TRANSLATE_NOOP("Wirtola", "Rozegrane rozdania"),
    QT_TRANSLATE_NOOP("Wirtola", "Wygrane"),
    QT_TRANSLATE_NOOP("Wirtola", "Przegrane"),
    QT_TRANSLATE_NOOP("Wirtola", "Remisy"),
    QT_TRANSLATE_NOOP("Wirtola", "Odsetek wygranych"),
    QT_TRANSLATE_NOOP("Wirtola", "Największa wygrana"),
    QT_TRANSLATE_NOOP("Wirtola", "Największa przegrana"),
    QT_TRANSLATE_NOOP("Wirtola", "Najdłuższa seria wygranych"),
    QT_TRANSLATE_NOOP("Wirtola", "Najdłuższa seria przegranych"),
    QT_TRANSLATE_NOOP("Wirtola", "Pożyczki"),
    QT_TRANSLATE_NOOP("Wirtola", "Najlepszy układ"),
};
constexpr std::array<const char*, 5> ClassColumns{
    QT_TRANSLATE_NOOP("Wirtola", "Rozdane,\nta gra"), QT_TRANSLATE_NOOP("Wirtola", "Rozdane,\nwszystkie gry"),
    QT_TRANSLATE_NOOP("Wirtola", "Szansa\nw rozdaniu"), QT_TRANSLATE_NOOP("Wirtola", "Po wymianie,\nta gra"),
    QT_TRANSLATE_NOOP("Wirtola", "Po wymianie,\nwszystkie gry")};
constexpr const char* DrawsName = QT_TRANSLATE_NOOP("Wirtola", "Wymiany wobec najlepszej");
constexpr const char* AllClasses = QT_TRANSLATE_NOOP("Wirtola", "Wszystkie układy");
constexpr std::array<const char*, 4> DrawColumns{QT_TRANSLATE_NOOP("Wirtola", "Najlepsze,\nta gra"),
                                                 QT_TRANSLATE_NOOP("Wirtola", "Najlepsze,\nwszystkie gry"),
                                                 QT_TRANSLATE_NOOP("Wirtola", "Oddane średnio,\nta gra"),
                                                 QT_TRANSLATE_NOOP("Wirtola", "Oddane średnio,\nwszystkie gry")};
// The draws that were the best of those the advice judged: "3 z 4 (75,0 %)", heard with its words.
constexpr const char* BestOfJudged = QT_TRANSLATE_NOOP("Wirtola", "%1 z %2 (%3)");
constexpr const char* BestOfJudgedSpoken = QT_TRANSLATE_N_NOOP("Wirtola", "%n najlepszych wymian z %1 ocenionych, %2");
constexpr const char* Money = QT_TRANSLATE_NOOP("Wirtola", "%1 zł");
// A run's length: "1 rozdanie", "3 rozdania", "5 rozdań".
constexpr const char* Rounds = QT_TRANSLATE_N_NOOP("Wirtola", "%n rozdań");
// Where there is nothing yet to tell: no win, no loss, no run, no hand.
const QString Nothing = QStringLiteral("–");
// The same, heard: a screen reader says no dash.
constexpr const char* NoHandYet = QT_TRANSLATE_NOOP("Wirtola", "brak");
constexpr const char* NoRoundsYet = QT_TRANSLATE_NOOP("Wirtola", "Jeszcze nie rozegrano żadnego rozdania.");
// %n rounds, %1 first fund, %2 last fund, %3 lowest, %4 highest.
constexpr const char* GameCourse =
    QT_TRANSLATE_N_NOOP("Wirtola", "Ta gra (rozdania: %n): fundusz od %1 do %2 zł, najniżej %3 zł, najwyżej %4 zł.");
constexpr const char* AllCourse = QT_TRANSLATE_N_NOOP(
    "Wirtola", "Wszystkie gry (rozdania: %n): fundusz od %1 do %2 zł, najniżej %3 zł, najwyżej %4 zł.");
constexpr const char* NoRoundsThisGame = QT_TRANSLATE_NOOP("Wirtola", "Ta gra: jeszcze bez rozdań.");
// Where each loan and reward fell: "pożyczka po 38. rozdaniu".
constexpr const char* LoanAfter = QT_TRANSLATE_NOOP("Wirtola", "pożyczka po %1. rozdaniu");
constexpr const char* RewardAfter = QT_TRANSLATE_NOOP("Wirtola", "nagroda po %1. rozdaniu");
constexpr const char* LoanFirst = QT_TRANSLATE_NOOP("Wirtola", "pożyczka przed pierwszym rozdaniem");
constexpr const char* MoreMarks = QT_TRANSLATE_N_NOOP("Wirtola", "i %n więcej");
constexpr std::size_t MarksTold = 8; // a long record tells its first marks and how many more
// A cell as a screen reader reads it: its row's name, then its value.
constexpr const char* CellWords = QT_TRANSLATE_NOOP("Wirtola", "%1: %2");
// The marks on the plot: a letter beside each shape, so no mark is told by colour alone.
constexpr const char* LoanLetter = QT_TRANSLATE_NOOP("Wirtola", "P");
constexpr const char* RewardLetter = QT_TRANSLATE_NOOP("Wirtola", "N");
constexpr const char* Legend = QT_TRANSLATE_NOOP("Wirtola", "▲ P pożyczka   ● N nagroda");
constexpr const char* NumbersPage = QT_TRANSLATE_NOOP("Wirtola", "&Podsumowanie");
constexpr const char* LogPage = QT_TRANSLATE_NOOP("Wirtola", "&Historia rozdań");
constexpr const char* LogName = QT_TRANSLATE_NOOP("Wirtola", "Rozdania, od najnowszego");
constexpr const char* ExportButtonText = QT_TRANSLATE_NOOP("Wirtola", "&Eksportuj…");
constexpr const char* FreshButtonText = QT_TRANSLATE_NOOP("Wirtola", "&Nowa historia…");
constexpr const char* Exported = QT_TRANSLATE_NOOP("Wirtola", "Historia rozdań zapisana w %1");
constexpr const char* FreshQuestion = QT_TRANSLATE_NOOP(
    "Wirtola",
    "Zacząć nową, pustą historię rozdań? Dotychczasowa zostanie zachowana w pliku obok, z datą w nazwie. "
    "Fundusz, wygrane i przegrane się nie zmienią.");

// The language's decimal mark, whatever the system's locale: "50,0 %" in Polish, "50.0 %" in English.
constexpr const char* NumberLocale = QT_TRANSLATE_NOOP("Wirtola", "pl");

QString Percent(std::int64_t part, std::int64_t whole, int decimals)
{
    if (whole <= 0)
        return Nothing;
    return QStringLiteral("%1 %").arg(
        QLocale(Text(NumberLocale)).toString(100.0 * static_cast<double>(part) / whole, 'f', decimals));
}

QString TextN(const char* utf8, std::int64_t n)
{
    return Text(utf8, static_cast<int>(std::min<std::int64_t>(n, INT_MAX)));
}

QString HandWords(const Tally& t)
{
    if (t.bestClass < 0 || static_cast<std::size_t>(t.bestClass) >= texts::CategoryNames.size())
        return Nothing;
    const QString name = Text(texts::CategoryNames.at(static_cast<std::size_t>(t.bestClass)));
    const QString cards = HandShortNames(t.bestHand);
    return cards.isEmpty() ? name : name + QStringLiteral(" (") + cards + QLatin1Char(')');
}

QString MoneyOrNothing(std::int32_t amount)
{
    return amount > 0 ? Text(Money).arg(amount) : Nothing;
}

QString RunOrNothing(std::int64_t run)
{
    return run > 0 ? TextN(Rounds, run) : Nothing;
}

// The best hand as a screen reader says it: the cards in words, not their letters.
QString SpokenHand(const Tally& t)
{
    return t.bestClass < 0 ? Text(NoHandYet) : HandInWords(t.bestClass, t.bestHand);
}

// Grosze as złoty in the language's way: "12,40 zł".
QString Zloty(std::int64_t grosze)
{
    return Text(Money).arg(QLocale(Text(NumberLocale)).toString(static_cast<double>(grosze) / 100.0, 'f', 2));
}

std::array<QString, SummaryRows.size()> SpokenSummaryColumn(const Tally& t)
{
    std::array<QString, SummaryRows.size()> spoken;
    spoken.back() = SpokenHand(t);
    return spoken;
}

std::array<QString, SummaryRows.size()> SummaryColumn(const Tally& t)
{
    return {QString::number(t.rounds),
            QString::number(t.won),
            QString::number(t.lost),
            QString::number(t.tied),
            Percent(t.won, t.rounds, 1),
            MoneyOrNothing(t.biggestWin),
            MoneyOrNothing(t.biggestLoss),
            RunOrNothing(t.longestWinningRun),
            RunOrNothing(t.longestLosingRun),
            QString::number(t.loans),
            HandWords(t)};
}

// Every cell carries its row's name for a screen reader, which otherwise reads the bare number
// (the column's name it tells itself when the column changes).
void SetCell(QTableWidget* table, int row, int column, const QString& text, const QString& spoken = {})
{
    QTableWidgetItem* item = table->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table->setItem(row, column, item);
    }
    // Only what changed: each change is a repaint and a screen reader's event.
    if (item->text() == text)
        return;
    item->setText(text);
    const QTableWidgetItem* header = table->verticalHeaderItem(row);
    item->setData(Qt::AccessibleTextRole,
                  Text(CellWords).arg(header ? header->text() : QString(),
                                      !spoken.isEmpty()     ? spoken
                                          : text == Nothing ? Text(NoHandYet)
                                                            : text));
}

// A row of the draws' table: the best share and the money the other draws gave away against the
// best (expected, all of it); nothing where no draw was judged.
void SetDrawCells(QTableWidget* table, int row, const Tally::Draws& game, const Tally::Draws& all)
{
    int column = 0;
    for (const Tally::Draws* d : {&game, &all}) {
        if (d->judged == 0) {
            SetCell(table, row, column++, Nothing);
            continue;
        }
        const QString share = Percent(d->best, d->judged, 1);
        SetCell(table, row, column++, Text(BestOfJudged).arg(d->best).arg(d->judged).arg(share),
                TextN(BestOfJudgedSpoken, d->best).arg(d->judged).arg(share));
    }
    for (const Tally::Draws* d : {&game, &all})
        SetCell(table, row, column++, d->judged == 0 ? Nothing : Zloty(d->givenAway));
}

// A table that, entered, tells its current cell, as a screen reader would hear it arrowed to.
class SpokenTable : public QTableWidget {
public:
    using QTableWidget::QTableWidget;

protected:
    void focusInEvent(QFocusEvent* event) override
    {
        QTableWidget::focusInEvent(event);
        // The table's own focus is told after this event: the cell follows it.
        QTimer::singleShot(0, this, [this] { TellTheCurrentCell(); });
    }

private:
    void TellTheCurrentCell()
    {
        if (!hasFocus())
            return;
        if (!currentIndex().isValid()) {
            setCurrentCell(0, 0); // told by the view itself, as it has the focus
            return;
        }
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(this);
        QAccessibleTableInterface* cells = table ? table->tableInterface() : nullptr;
        QAccessibleInterface* cell = cells ? cells->cellAt(currentRow(), currentColumn()) : nullptr;
        if (cell) {
            QAccessibleEvent told(this, QAccessible::Focus);
            told.setChild(table->indexOfChild(cell));
            QAccessible::updateAccessibility(&told);
        }
    }
};

QTableWidget* MakeTable(QWidget* parent, const char* name, int rows, const QStringList& columns)
{
    auto* table = new SpokenTable(rows, static_cast<int>(columns.size()), parent);
    table->setAccessibleName(Text(name));
    table->setHorizontalHeaderLabels(columns);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setTabKeyNavigation(false); // Tab leaves the table; the arrows walk its cells
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return table;
}

void FitHeight(QTableWidget* table)
{
    int height = table->horizontalHeader()->sizeHint().height() + 2 * table->frameWidth();
    for (int row = 0; row < table->rowCount(); ++row)
        height += table->rowHeight(row);
    table->setFixedHeight(height);
}

} // namespace

FundPlot::FundPlot(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(Text(PlotName));
    setMinimumHeight(120);
    setMaximumHeight(240);
}

QSize FundPlot::sizeHint() const
{
    return {600, 150};
}

void FundPlot::SetPoints(const std::vector<scores::history::FundPoint>& points)
{
    points_ = points;
    update();
}

FundPlot::Layout FundPlot::Arrange() const
{
    Layout layout;
    if (points_.empty())
        return layout;
    const auto [low, high] = std::minmax_element(points_.begin(), points_.end(),
                                                 [](const auto& a, const auto& b) { return a.fund < b.fund; });
    const auto last = std::max_element(points_.begin(), points_.end(),
                                       [](const auto& a, const auto& b) { return a.round < b.round; });
    layout.bottom = std::min<double>(0, low->fund);
    layout.top = std::max<double>(high->fund, layout.bottom + 1);
    layout.rounds = std::max<double>(1, static_cast<double>(last->round));
    const QFontMetrics metrics(font());
    const int lineHeight = metrics.height();
    // A few labels each way: as many as leave a label's height (or three widths) between them.
    const auto money = [](double value) { return Text(Money).arg(static_cast<qint64>(value)); };
    int labelWidth = 0;
    for (const double value : {layout.bottom, layout.top})
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(money(value)));
    const QRectF area = QRectF(rect()).adjusted(labelWidth + 10, lineHeight / 2 + 4, -12, -(lineHeight + 8));
    layout.area = area;
    const int fundLabels = std::clamp(static_cast<int>(area.height() / (2 * lineHeight)), 1, 5);
    for (const double value : Ticks(layout.bottom, layout.top, fundLabels))
        layout.fundTicks.push_back({value, money(value)});
    const int roundWidth = metrics.horizontalAdvance(QString::number(static_cast<qint64>(layout.rounds))) + 4;
    const int roundLabels = std::clamp(static_cast<int>(area.width() / (3 * roundWidth)), 1, 8);
    for (const double value : Ticks(0, layout.rounds, roundLabels))
        layout.roundTicks.push_back({value, QString::number(static_cast<qint64>(value))});
    layout.roundsName = Text(RoundAxis);
    return layout;
}

QStringList FundPlot::AxisLabels() const
{
    const Layout layout = Arrange();
    QStringList labels;
    for (const auto& tick : layout.fundTicks)
        labels << tick.label;
    for (const auto& tick : layout.roundTicks)
        labels << tick.label;
    if (!layout.roundTicks.empty())
        labels << layout.roundsName;
    return labels;
}

// Steps of 1, 2 or 5 times a power of ten, at most `count` of them across the range.
std::vector<double> FundPlot::Ticks(double from, double to, int count)
{
    std::vector<double> ticks;
    if (!(to > from) || count < 1)
        return ticks;
    const double raw = (to - from) / count;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = power * 10;
    for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (power * factor >= raw) {
            step = power * factor;
            break;
        }
    }
    step = std::max(step, 1.0); // whole rounds and whole złote
    for (double value = std::ceil(from / step) * step; value <= to + step * 1e-9; value += step)
        ticks.push_back(value);
    return ticks;
}

void FundPlot::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // Its own colours whatever the desktop's theme: every text here is near black on white
    // (over 15:1), the grid light enough to be told from the text.
    const QColor ink(0x1a, 0x1a, 0x1a);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(hasFocus() ? QPen(Qt::black, 2, Qt::DotLine) : QPen(QColor(0x6e, 0x6e, 0x6e)));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    if (points_.empty())
        return;
    const Layout layout = Arrange();
    const QRectF area = layout.area;
    const auto at = [&](double round, double fund) {
        return QPointF(area.left() + area.width() * round / layout.rounds,
                       area.bottom() - area.height() * (fund - layout.bottom) / (layout.top - layout.bottom));
    };
    const QFontMetrics metrics(font());
    const double half = metrics.height() / 2.0;
    for (const auto& tick : layout.fundTicks) {
        const double y = at(0, tick.value).y();
        painter.setPen(QPen(QColor(0xdd, 0xdd, 0xdd), 1));
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        painter.setPen(ink);
        painter.drawText(QRectF(0, y - half, area.left() - 6, 2 * half), Qt::AlignRight | Qt::AlignVCenter, tick.label);
    }
    painter.setPen(QPen(ink, 1));
    painter.drawLine(area.bottomLeft(), area.bottomRight());
    painter.drawLine(area.bottomLeft(), area.topLeft());
    const double labelTop = area.bottom() + 3;
    for (const auto& tick : layout.roundTicks) {
        const double x = at(tick.value, layout.bottom).x();
        painter.drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() + 3));
        if (tick.value > 0) // the corner names the axis instead
            painter.drawText(QRectF(x - 60, labelTop, 120, 2 * half), Qt::AlignHCenter | Qt::AlignTop, tick.label);
    }
    painter.drawText(QRectF(0, labelTop, area.left() - 2, 2 * half), Qt::AlignRight | Qt::AlignTop, layout.roundsName);
    // A hundred thousand rounds fall on a few hundred pixels: the points of one pixel column
    // make one stroke from their lowest to their highest, so the line costs the same at any length.
    QPainterPath path(at(static_cast<double>(points_.front().round), points_.front().fund));
    for (std::size_t i = 0; i < points_.size();) {
        const int column = static_cast<int>(at(static_cast<double>(points_[i].round), 0).x());
        std::int32_t lowest = points_[i].fund;
        std::int32_t highest = lowest;
        const std::size_t first = i;
        for (; i < points_.size() && static_cast<int>(at(static_cast<double>(points_[i].round), 0).x()) == column;
             ++i) {
            lowest = std::min(lowest, points_[i].fund);
            highest = std::max(highest, points_[i].fund);
        }
        const double x = static_cast<double>(points_[first].round);
        path.lineTo(at(x, points_[first].fund));
        if (i - first > 2) {
            path.lineTo(at(x, lowest));
            path.lineTo(at(x, highest));
        }
        path.lineTo(at(static_cast<double>(points_[i - 1].round), points_[i - 1].fund));
    }
    // Bevelled joins: a round or mitred join at each of a thousand turns costs more than the line.
    painter.setPen(QPen(colours::Olive.darker(160), 1.5, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    for (const auto& p : points_) {
        if (p.mark == Kind::Round)
            continue;
        const QPointF c = at(static_cast<double>(p.round), p.fund);
        const bool loan = p.mark == Kind::Loan;
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(loan ? QColor(200, 40, 40) : QColor(40, 90, 200));
        if (loan)
            painter.drawPolygon(QPolygonF({c + QPointF(0, -6), c + QPointF(5, 4), c + QPointF(-5, 4)}));
        else
            painter.drawEllipse(c, 5, 5);
        painter.setPen(ink);
        painter.drawText(c + QPointF(7, -4), Text(loan ? LoanLetter : RewardLetter));
    }
}

namespace {

QString CourseOf(const char* words, const Tally& t)
{
    const auto [low, high] =
        std::minmax_element(t.fund.begin(), t.fund.end(), [](const auto& a, const auto& b) { return a.fund < b.fund; });
    return TextN(words, t.rounds).arg(t.fund.front().fund).arg(t.fund.back().fund).arg(low->fund).arg(high->fund);
}

QString MarkPlaces(const Tally& t)
{
    QStringList places;
    for (const auto& point : t.fund) {
        if (places.size() >= static_cast<qsizetype>(MarksTold))
            break;
        if (point.mark == Kind::Loan)
            places << (point.round == 0 ? Text(LoanFirst) : Text(LoanAfter).arg(point.round));
        else if (point.mark == Kind::Reward)
            places << Text(RewardAfter).arg(point.round);
    }
    // Counted from the tallies: a long course keeps only some of its marks.
    const std::int64_t more = t.loans + t.rewards - static_cast<std::int64_t>(places.size());
    if (more > 0)
        places << TextN(MoreMarks, more);
    if (places.isEmpty())
        return {};
    QString words = places.join(QStringLiteral(", ")) + QLatin1Char('.');
    words[0] = words[0].toUpper();
    return QLatin1Char(' ') + words;
}

} // namespace

QString FundCourseWords(const scores::history::Tallies& tallies)
{
    if (tallies.all.fund.empty())
        return Text(NoRoundsYet);
    const QString game = tallies.game.rounds == 0 || tallies.game.fund.empty() ? Text(NoRoundsThisGame)
                                                                               : CourseOf(GameCourse, tallies.game);
    return game + QLatin1Char(' ') + CourseOf(AllCourse, tallies.all) + MarkPlaces(tallies.all);
}

StatisticsWindow::StatisticsWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Statystyka"));
    setWindowTitle(Text(Caption));
    colours::DressLikeTheGame(*this);

    Summary = MakeTable(this, SummaryName, static_cast<int>(SummaryRows.size()), {Text(ThisGame), Text(AllTime)});
    QStringList rowNames;
    for (const char* row : SummaryRows)
        rowNames << Text(row);
    Summary->setVerticalHeaderLabels(rowNames);
    QStringList classColumns;
    for (const char* column : ClassColumns)
        classColumns << Text(column);
    Classes = MakeTable(this, ClassesName, static_cast<int>(texts::CategoryNames.size()), classColumns);
    QStringList classNames;
    for (const char* name : texts::CategoryNames)
        classNames << Text(name);
    Classes->setVerticalHeaderLabels(classNames);
    for (int row = 0; row < Classes->rowCount(); ++row)
        SetCell(Classes, row, 2,
                Percent(scores::history::DealsByClass.at(static_cast<std::size_t>(row)), scores::history::AllDeals, 4));
    QStringList drawColumns;
    for (const char* column : DrawColumns)
        drawColumns << Text(column);
    Draws = MakeTable(this, DrawsName, static_cast<int>(texts::CategoryNames.size()) + 1, drawColumns);
    Draws->setVerticalHeaderLabels(QStringList{Text(AllClasses)} + classNames);
    Plot = new FundPlot(this);
    Course = new QLabel(this);
    Course->setWordWrap(true);
    auto* legend = new QLabel(Text(Legend), this);

    // The numbers on one page, the log on another.
    Pages = new QTabWidget(this);
    // The numbers scroll where the screen is lower than they are tall (768 pixels, beside the game).
    auto* scroll = new QScrollArea(Pages);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    numbers_ = new QWidget(scroll);
    QWidget* numbers = numbers_;
    auto* column = new QVBoxLayout(numbers);
    column->addWidget(Summary);
    column->addWidget(Classes);
    column->addWidget(Draws);
    column->addWidget(Plot, 1);
    column->addWidget(legend);
    column->addWidget(Course);
    scroll->setWidget(numbers);
    Pages->addTab(scroll, Text(NumbersPage));
    setTabOrder(Summary, Classes);
    setTabOrder(Classes, Draws);
    setTabOrder(Draws, Plot);

    auto* log = new QWidget(Pages);
    LogModel = new RoundLogModel(log);
    Log = MakeRoundLogView(log, LogModel);
    Log->setAccessibleName(Text(LogName));
    ExportButton = new QPushButton(Text(ExportButtonText), log);
    FreshButton = new QPushButton(Text(FreshButtonText), log);
    FreshButton->setEnabled(false);
    LogNote = new QLabel(log);
    LogNote->setWordWrap(true);
    connect(ExportButton, &QPushButton::clicked, this, [this] { boxes::Guarded([this] { ExportClick(); }); });
    connect(FreshButton, &QPushButton::clicked, this, [this] { boxes::Guarded([this] { FreshClick(); }); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ExportButton);
    buttons->addWidget(FreshButton);
    buttons->addStretch(1);
    auto* logColumn = new QVBoxLayout(log);
    logColumn->addWidget(Log, 1);
    logColumn->addLayout(buttons);
    logColumn->addWidget(LogNote);
    Pages->addTab(log, Text(LogPage));

    auto* window = new QVBoxLayout(this);
    window->addWidget(Pages);
    Refill();
}

void StatisticsWindow::SetTotals(const scores::history::Tallies& tallies)
{
    tallies_ = tallies;
    stale_ = true;
    if (isVisible())
        Refill();
}

void StatisticsWindow::Show()
{
    if (!isVisible() && stale_)
        Refill();
    if (!placed_) {
        // Sized once its tables are filled: everything in sight, the plot given what is left.
        placed_ = true;
        // Wide enough for every column of the log and tall enough for every number, where the screen
        // has room; beside a game on a small screen it is made smaller, and the pages scroll.
        constexpr int Margins = 56; // the window's, the page's frame and the tables' frames
        constexpr int Wide = 960;   // the log's eight columns at their widest
        const int tall = numbers_->sizeHint().height() + Pages->tabBar()->sizeHint().height() + Margins;
        const QRect room = screen() ? screen()->availableGeometry() : QRect(0, 0, Wide, tall);
        resize(std::min(Wide, room.width()), std::min(tall, room.height() - Margins));
        Place();
    }
    show();
    raise();
    activateWindow();
}

void StatisticsWindow::Place()
{
    if (!companion_ || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    const QScreen* screen = companion_->screen();
    if (!screen)
        return;
    const QRect desk = screen->availableGeometry();
    const QRect main = companion_->frameGeometry();
    const QMargins frame = desktop::WindowFrame(*this);
    const int extraWidth = frame.left() + frame.right();
    const int extraHeight = frame.top() + frame.bottom();
    constexpr int Gap = 8;
    const int rightRoom = desk.right() - main.right() - Gap;
    const int leftRoom = main.left() - desk.left() - Gap;
    // As wide as it likes where that fits; narrower down to what it needs before it would cover the game.
    const int needed = std::max(minimumSizeHint().width(), 480) + extraWidth;
    const int room = std::max(rightRoom, leftRoom);
    const int outerWidth = std::min(width() + extraWidth, std::max(room, needed));
    resize(std::min(outerWidth, desk.width()) - extraWidth,
           std::min(height() + extraHeight, desk.height()) - extraHeight);
    const int fullWidth = width() + extraWidth;
    const int x =
        rightRoom >= fullWidth || rightRoom >= leftRoom ? main.right() + 1 + Gap : main.left() - Gap - fullWidth;
    const int y = std::clamp(main.top(), desk.top(), std::max(desk.top(), desk.bottom() + 1 - height() - extraHeight));
    move(std::clamp(x, desk.left(), std::max(desk.left(), desk.right() + 1 - fullWidth)), y);
}

void StatisticsWindow::SetRecord(RecordLink link)
{
    link_ = std::move(link);
    FreshButton->setEnabled(static_cast<bool>(link_.startAfresh));
    ReloadRecord();
}

void StatisticsWindow::ReloadRecord()
{
    logStale_ = false;
    LogModel->SetPages(link_.pages);
}

void StatisticsWindow::FollowRecord()
{
    // A hidden window reads nothing: it reads the log again when it is shown.
    if (isVisible())
        LogModel->Follow();
    else
        logStale_ = true;
}

void StatisticsWindow::ExportClick()
{
    const QString written =
        ExportRecord(this, link_.place ? link_.place() : scores::history::CurrentRecordPlace(false));
    if (!written.isEmpty())
        LogNote->setText(Text(Exported).arg(written));
}

void StatisticsWindow::FreshClick()
{
    if (link_.startAfresh && boxes::AskNoByDefault(Text(FreshQuestion)))
        link_.startAfresh();
}

void StatisticsWindow::showEvent(QShowEvent* event)
{
    if (logStale_)
        ReloadRecord();
    if (stale_)
        Refill();
    QWidget::showEvent(event);
}

void StatisticsWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

void StatisticsWindow::Refill()
{
    stale_ = false;
    const scores::history::Tallies& tallies = tallies_;
    const auto game = SummaryColumn(tallies.game);
    const auto all = SummaryColumn(tallies.all);
    const auto spokenGame = SpokenSummaryColumn(tallies.game);
    const auto spokenAll = SpokenSummaryColumn(tallies.all);
    for (std::size_t row = 0; row < game.size(); ++row) {
        SetCell(Summary, static_cast<int>(row), 0, game.at(row), spokenGame.at(row));
        SetCell(Summary, static_cast<int>(row), 1, all.at(row), spokenAll.at(row));
    }
    for (std::size_t row = 0; row < texts::CategoryNames.size(); ++row) {
        const auto count = [&](const Tally& t, const std::array<std::int64_t, 10>& counts) {
            return QStringLiteral("%1 (%2)").arg(counts.at(row)).arg(Percent(counts.at(row), t.rounds, 1));
        };
        const int r = static_cast<int>(row);
        SetCell(Classes, r, 0, count(tallies.game, tallies.game.dealt));
        SetCell(Classes, r, 1, count(tallies.all, tallies.all.dealt));
        SetCell(Classes, r, 3, count(tallies.game, tallies.game.final));
        SetCell(Classes, r, 4, count(tallies.all, tallies.all.final));
    }
    SetDrawCells(Draws, 0, tallies.game.draws, tallies.all.draws);
    for (std::size_t row = 0; row < texts::CategoryNames.size(); ++row)
        SetDrawCells(Draws, static_cast<int>(row) + 1, tallies.game.drawsByClass.at(row),
                     tallies.all.drawsByClass.at(row));
    FitHeight(Summary);
    FitHeight(Classes);
    FitHeight(Draws);
    Plot->SetPoints(tallies.all.fund);
    const QString words = FundCourseWords(tallies);
    if (words != Course->text()) {
        Plot->setAccessibleDescription(words);
        Course->setText(words);
    }
}
