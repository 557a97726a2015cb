#include "windows/StatisticsWindow.h"

#include "windows/Colours.h"
#include "windows/HandClassNames.h"
#include "windows/Text.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace {

using session::history::Kind;
using session::history::Tally;

constexpr const char* Caption = QT_TRANSLATE_NOOP("Wirtola", "Statystyka");
constexpr const char* ThisGame = QT_TRANSLATE_NOOP("Wirtola", "Ta gra");
constexpr const char* AllTime = QT_TRANSLATE_NOOP("Wirtola", "Od początku");
constexpr const char* SummaryName = QT_TRANSLATE_NOOP("Wirtola", "Wyniki");
constexpr const char* ClassesName = QT_TRANSLATE_NOOP("Wirtola", "Układy");
constexpr const char* PlotName = QT_TRANSLATE_NOOP("Wirtola", "Fundusz w kolejnych rozdaniach");
constexpr std::array<const char*, 11> SummaryRows{
    QT_TRANSLATE_NOOP("Wirtola", "Rozegrane rozdania"),
    QT_TRANSLATE_NOOP("Wirtola", "Wygrane"),
    QT_TRANSLATE_NOOP("Wirtola", "Przegrane"),
    QT_TRANSLATE_NOOP("Wirtola", "Remisy"),
    QT_TRANSLATE_NOOP("Wirtola", "Udział wygranych"),
    QT_TRANSLATE_NOOP("Wirtola", "Największa wygrana"),
    QT_TRANSLATE_NOOP("Wirtola", "Największa przegrana"),
    QT_TRANSLATE_NOOP("Wirtola", "Najdłuższa seria wygranych"),
    QT_TRANSLATE_NOOP("Wirtola", "Najdłuższa seria przegranych"),
    QT_TRANSLATE_NOOP("Wirtola", "Pożyczki"),
    QT_TRANSLATE_NOOP("Wirtola", "Najlepszy układ"),
};
constexpr std::array<const char*, 5> ClassColumns{
    QT_TRANSLATE_NOOP("Wirtola", "Rozdane,\nta gra"), QT_TRANSLATE_NOOP("Wirtola", "Rozdane,\nod początku"),
    QT_TRANSLATE_NOOP("Wirtola", "Szansa\nw rozdaniu"), QT_TRANSLATE_NOOP("Wirtola", "Po wymianie,\nta gra"),
    QT_TRANSLATE_NOOP("Wirtola", "Po wymianie,\nod początku")};
constexpr const char* Money = QT_TRANSLATE_NOOP("Wirtola", "%1 zł");
constexpr const char* NoHandYet = QT_TRANSLATE_NOOP("Wirtola", "brak");
constexpr const char* NoRoundsYet = QT_TRANSLATE_NOOP("Wirtola", "Jeszcze nie rozegrano żadnego rozdania.");
// %1 first fund, %2 last fund, %3 rounds, %4 highest fund.
constexpr const char* CourseWords =
    QT_TRANSLATE_NOOP("Wirtola", "Fundusz od %1 do %2 zł w %3 rozdaniach, najwyżej %4 zł");
constexpr const char* CourseMarks = QT_TRANSLATE_NOOP("Wirtola", "; pożyczki: %1, nagrody: %2");
// The marks on the plot: a letter beside each shape, so no mark is told by colour alone.
constexpr const char* LoanLetter = QT_TRANSLATE_NOOP("Wirtola", "P");
constexpr const char* RewardLetter = QT_TRANSLATE_NOOP("Wirtola", "N");
constexpr const char* Legend = QT_TRANSLATE_NOOP("Wirtola", "▲ P pożyczka   ● N nagroda");

// The language's decimal mark, whatever the system's locale: "50,0 %" in Polish, "50.0 %" in English.
constexpr const char* NumberLocale = QT_TRANSLATE_NOOP("Wirtola", "pl");

QString Percent(std::int64_t part, std::int64_t whole, int decimals)
{
    if (whole <= 0)
        return QStringLiteral("–");
    return QStringLiteral("%1 %").arg(
        QLocale(Text(NumberLocale)).toString(100.0 * static_cast<double>(part) / whole, 'f', decimals));
}

QString HandWords(const Tally& t)
{
    if (t.bestClass < 0)
        return Text(NoHandYet);
    return Text(texts::CategoryNames.at(static_cast<std::size_t>(t.bestClass))) + QStringLiteral(" (")
        + QString::fromStdString(session::history::CardsText(t.bestHand)) + QLatin1Char(')');
}

std::array<QString, SummaryRows.size()> SummaryColumn(const Tally& t)
{
    return {QString::number(t.rounds),
            QString::number(t.won),
            QString::number(t.lost),
            QString::number(t.tied),
            Percent(t.won, t.rounds, 1),
            Text(Money).arg(t.biggestWin),
            Text(Money).arg(t.biggestLoss),
            QString::number(t.longestWinningRun),
            QString::number(t.longestLosingRun),
            QString::number(t.loans),
            HandWords(t)};
}

void SetCell(QTableWidget* table, int row, int column, const QString& text)
{
    QTableWidgetItem* item = table->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table->setItem(row, column, item);
    }
    item->setText(text);
}

QTableWidget* MakeTable(QWidget* parent, const char* name, int rows, const QStringList& columns)
{
    auto* table = new QTableWidget(rows, static_cast<int>(columns.size()), parent);
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
    return {600, 130};
}

void FundPlot::SetPoints(const std::vector<session::history::FundPoint>& points)
{
    points_ = points;
    update();
}

void FundPlot::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(hasFocus() ? QPen(Qt::black, 2, Qt::DotLine) : QPen(Qt::darkGray));
    painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    if (points_.empty())
        return;
    const auto [low, high] = std::minmax_element(points_.begin(), points_.end(),
                                                 [](const auto& a, const auto& b) { return a.fund < b.fund; });
    const double bottom = std::min<double>(0, low->fund);
    const double top = std::max<double>(high->fund, bottom + 1);
    const double last = std::max<double>(1, static_cast<double>(points_.back().round));
    const QFontMetrics metrics(font());
    const double labelWidth = metrics.horizontalAdvance(QString::number(static_cast<qint64>(top))) + 8;
    const QRectF area = QRectF(rect()).adjusted(labelWidth, 8, -8, -8);
    const auto at = [&](std::int64_t round, std::int32_t fund) {
        return QPointF(area.left() + area.width() * static_cast<double>(round) / last,
                       area.bottom() - area.height() * (fund - bottom) / (top - bottom));
    };
    painter.setPen(Qt::darkGray);
    painter.drawText(QRectF(0, area.top() - 6, labelWidth - 4, 12), Qt::AlignRight | Qt::AlignVCenter,
                     QString::number(static_cast<qint64>(top)));
    painter.drawText(QRectF(0, area.bottom() - 6, labelWidth - 4, 12), Qt::AlignRight | Qt::AlignVCenter,
                     QString::number(static_cast<qint64>(bottom)));
    // A hundred thousand rounds fall on a few hundred pixels: the points of one pixel column
    // make one stroke from their lowest to their highest, so the line costs the same at any length.
    QPainterPath path(at(points_.front().round, points_.front().fund));
    for (std::size_t i = 0; i < points_.size();) {
        const int column = static_cast<int>(at(points_[i].round, 0).x());
        std::int32_t lowest = points_[i].fund;
        std::int32_t highest = lowest;
        const std::size_t first = i;
        for (; i < points_.size() && static_cast<int>(at(points_[i].round, 0).x()) == column; ++i) {
            lowest = std::min(lowest, points_[i].fund);
            highest = std::max(highest, points_[i].fund);
        }
        path.lineTo(at(points_[first].round, points_[first].fund));
        if (i - first > 2) {
            path.lineTo(at(points_[first].round, lowest));
            path.lineTo(at(points_[first].round, highest));
        }
        path.lineTo(at(points_[i - 1].round, points_[i - 1].fund));
    }
    painter.setPen(QPen(colours::Olive.darker(160), 1.5));
    painter.drawPath(path);
    for (const auto& p : points_) {
        if (p.mark == Kind::Round)
            continue;
        const QPointF c = at(p.round, p.fund);
        const bool loan = p.mark == Kind::Loan;
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(loan ? QColor(200, 40, 40) : QColor(40, 90, 200));
        if (loan)
            painter.drawPolygon(QPolygonF({c + QPointF(0, -6), c + QPointF(5, 4), c + QPointF(-5, 4)}));
        else
            painter.drawEllipse(c, 5, 5);
        painter.drawText(c + QPointF(7, -4), Text(loan ? LoanLetter : RewardLetter));
    }
}

QString FundCourseWords(const Tally& t)
{
    if (t.fund.empty())
        return Text(NoRoundsYet);
    const auto highest =
        std::max_element(t.fund.begin(), t.fund.end(), [](const auto& a, const auto& b) { return a.fund < b.fund; });
    return Text(CourseWords).arg(t.fund.front().fund).arg(t.fund.back().fund).arg(t.rounds).arg(highest->fund)
        + Text(CourseMarks).arg(t.loans).arg(t.rewards);
}

StatisticsWindow::StatisticsWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Statystyka"));
    setWindowTitle(Text(Caption));
    QFont formFont(QStringLiteral("Arial"));
    formFont.setBold(true);
    formFont.setPointSize(10);
    setFont(formFont);
    QPalette formPalette = palette();
    formPalette.setColor(QPalette::Window, colours::Olive);
    setPalette(formPalette);
    setAutoFillBackground(true);

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
        SetCell(
            Classes, row, 2,
            Percent(session::history::DealsByClass.at(static_cast<std::size_t>(row)), session::history::AllDeals, 4));
    Plot = new FundPlot(this);
    Course = new QLabel(this);
    Course->setWordWrap(true);
    auto* legend = new QLabel(Text(Legend), this);

    auto* column = new QVBoxLayout(this);
    column->addWidget(Summary);
    column->addWidget(Classes);
    column->addWidget(Plot, 1);
    column->addWidget(legend);
    column->addWidget(Course);
    setTabOrder(Summary, Classes);
    setTabOrder(Classes, Plot);
    Refill();
}

void StatisticsWindow::SetTotals(const session::history::Tallies& tallies)
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
        resize(720, sizeHint().height());
    }
    show();
    raise();
    activateWindow();
}

void StatisticsWindow::showEvent(QShowEvent* event)
{
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
    const session::history::Tallies& tallies = tallies_;
    const auto game = SummaryColumn(tallies.game);
    const auto all = SummaryColumn(tallies.all);
    for (int row = 0; row < static_cast<int>(game.size()); ++row) {
        SetCell(Summary, row, 0, game.at(static_cast<std::size_t>(row)));
        SetCell(Summary, row, 1, all.at(static_cast<std::size_t>(row)));
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
    FitHeight(Summary);
    FitHeight(Classes);
    Plot->SetPoints(tallies.all.fund);
    const QString words = FundCourseWords(tallies.all);
    Plot->setAccessibleDescription(words);
    Course->setText(words);
}
