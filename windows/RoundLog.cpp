#include "windows/RoundLog.h"

#include "cards/CardNames.h"
#include "windows/Boxes.h"
#include "windows/Text.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLocale>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTableView>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

using scores::history::Entry;
using scores::history::History;
using scores::history::Kind;
using scores::history::Result;

constexpr std::array<const char*, RoundLogModel::Columns> ColumnNames{
    QT_TRANSLATE_NOOP("Wirtola", "Czas"),     QT_TRANSLATE_NOOP("Wirtola", "Stawka"),
    QT_TRANSLATE_NOOP("Wirtola", "Rozdane"),  QT_TRANSLATE_NOOP("Wirtola", "Po wymianie"),
    QT_TRANSLATE_NOOP("Wirtola", "Komputer"), QT_TRANSLATE_NOOP("Wirtola", "Wynik"),
    QT_TRANSLATE_NOOP("Wirtola", "Kwota"),    QT_TRANSLATE_NOOP("Wirtola", "Fundusz")};
constexpr const char* Zloty = QT_TRANSLATE_NOOP("Wirtola", "%1 zł");
constexpr const char* Won = QT_TRANSLATE_NOOP("Wirtola", "wygrana");
constexpr const char* Lost = QT_TRANSLATE_NOOP("Wirtola", "przegrana");
constexpr const char* Tied = QT_TRANSLATE_NOOP("Wirtola", "remis");
// The rows that are not rounds, by Kind: a loan, the reward, a new game, the statistics
// file's totals carried over.
constexpr std::array<const char*, 5> KindWords{
    nullptr, QT_TRANSLATE_NOOP("Wirtola", "pożyczka"), QT_TRANSLATE_NOOP("Wirtola", "nagroda"),
    QT_TRANSLATE_NOOP("Wirtola", "nowa gra"), QT_TRANSLATE_NOOP("Wirtola", "stan z pliku wyników")};
// %1 time, %2 stake, %3 the player's cards as dealt, %4 after the draw, %5 the computer's,
// %6 the outcome with its money, %7 the fund.
constexpr const char* RoundSentence =
    QT_TRANSLATE_NOOP("Wirtola", "%1, stawka %2 zł: Twoje karty %3; po wymianie %4; komputer %5; %6, fundusz %7 zł");
constexpr const char* WonSentence = QT_TRANSLATE_NOOP("Wirtola", "wygrana %1 zł");
constexpr const char* LostSentence = QT_TRANSLATE_NOOP("Wirtola", "przegrana %1 zł");
// %1 time, %2 what happened, %3 the fund.
constexpr const char* EventSentence = QT_TRANSLATE_NOOP("Wirtola", "%1: %2, fundusz %3 zł");
// The language's dates and numbers, whatever the system's locale.
constexpr const char* NumberLocale = QT_TRANSLATE_NOOP("Wirtola", "pl");

constexpr const char* ExportName = QT_TRANSLATE_NOOP("Wirtola", "wirtola-historia-%1.csv");
constexpr const char* ExportCaption = QT_TRANSLATE_NOOP("Wirtola", "Eksport historii rozdań");
constexpr const char* CsvFilter = QT_TRANSLATE_NOOP("Wirtola", "Pliki CSV (*.csv)");
constexpr const char* ExportFailed = QT_TRANSLATE_NOOP("Wirtola", "Nie zapisano historii rozdań w %1: %2");
constexpr const char* RecordUnreadable = QT_TRANSLATE_NOOP("Wirtola", "nie można odczytać całej historii rozdań: %1");
constexpr const char* CauseNoPermission = QT_TRANSLATE_NOOP("Wirtola", "brak uprawnień do zapisu");
constexpr const char* CauseNoSpace = QT_TRANSLATE_NOOP("Wirtola", "brak miejsca na dysku");
constexpr const char* CauseReadOnlyDisk = QT_TRANSLATE_NOOP("Wirtola", "dysk tylko do odczytu");

constexpr std::uint8_t NoCard = 0xff;
// Rows a follow reads at the top: a round adds one or two; more means another record.
constexpr int FollowRows = 16;

QLocale Language()
{
    return QLocale(Text(NumberLocale));
}

QString TimeWords(std::int64_t milliseconds)
{
    const QDateTime moment = QDateTime::fromMSecsSinceEpoch(milliseconds).toLocalTime();
    return moment.isValid() ? Language().toString(moment, QLocale::ShortFormat) : QString();
}

ExportChooser& Chooser()
{
    static ExportChooser chooser;
    return chooser;
}

QString WriteCause(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return Text(CauseNoSpace);
    case EACCES:
    case EPERM:
        return Text(CauseNoPermission);
    case EROFS:
        return Text(CauseReadOnlyDisk);
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

} // namespace

RoundLogModel::RoundLogModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

RoundLogModel::Row RoundLogModel::Kept(const Entry& e)
{
    Row row{.id = e.id,
            .time = e.time,
            .stake = e.stake,
            .moved = e.moved,
            .fund = e.fund,
            .cards = {},
            .kind = e.kind,
            .result = e.result};
    row.cards.fill(NoCard);
    std::size_t at = 0;
    for (const engine::HandCards* hand : {&e.dealt, &e.player, &e.computer}) {
        bool whole = true;
        for (const engine::Card& c : *hand)
            whole = whole && c.rank >= 1 && c.rank <= 13 && c.suit >= 0 && c.suit <= 3;
        for (const engine::Card& c : *hand)
            row.cards.at(at++) = whole ? static_cast<std::uint8_t>((c.rank - 1) * 4 + c.suit) : NoCard;
    }
    return row;
}

void RoundLogModel::SetPages(LogPages pages)
{
    beginResetModel();
    pages_ = std::move(pages);
    rows_.clear();
    more_ = static_cast<bool>(pages_);
    endResetModel();
    fetchMore({});
}

void RoundLogModel::Follow()
{
    if (!pages_)
        return;
    if (rows_.empty()) {
        SetPages(pages_);
        return;
    }
    const std::vector<Entry> page = pages_(History::FromNewest, FollowRows);
    std::size_t newer = 0;
    while (newer < page.size() && page[newer].id > rows_.front().id)
        ++newer;
    // More rows than a round makes, or a newest row older than ours: another record.
    if (newer == static_cast<std::size_t>(FollowRows) || (newer == 0 && page.empty())
        || (newer < page.size() && page[newer].id != rows_.front().id)) {
        SetPages(pages_);
        return;
    }
    if (newer == 0)
        return;
    beginInsertRows({}, 0, static_cast<int>(newer) - 1);
    for (std::size_t i = newer; i-- > 0;)
        rows_.push_front(Kept(page[i]));
    endInsertRows();
}

int RoundLogModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int RoundLogModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Columns;
}

bool RoundLogModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && more_;
}

void RoundLogModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid() || !more_)
        return;
    const std::int64_t before = rows_.empty() ? History::FromNewest : rows_.back().id;
    std::vector<Entry> page = pages_(before, PageRows);
    // A page is below the last row shown, or it would be shown twice and scrolling never end.
    std::erase_if(page, [&](const Entry& e) { return !rows_.empty() && e.id >= before; });
    // A row count is an int: a record longer than that shows its newest rows.
    more_ = page.size() == static_cast<std::size_t>(PageRows) && rows_.size() < INT_MAX - 2U * PageRows;
    if (page.empty())
        return;
    const int first = static_cast<int>(rows_.size());
    beginInsertRows({}, first, first + static_cast<int>(page.size()) - 1);
    for (const Entry& e : page)
        rows_.push_back(Kept(e));
    endInsertRows();
}

QString RoundLogModel::Hand(const Row& row, int hand, bool inWords) const
{
    QStringList cards;
    for (std::size_t i = 0; i < 5; ++i) {
        const std::uint8_t code = row.cards.at(static_cast<std::size_t>(hand) * 5 + i);
        if (code == NoCard)
            return {};
        const auto suit = static_cast<TCardSuit>(code % 4);
        const int rank = code / 4 + 1;
        cards << (inWords ? CardFaceName(rank, suit) : CardShortName(rank, suit));
    }
    return cards.join(inWords ? QStringLiteral(", ") : QStringLiteral(" "));
}

QString RoundLogModel::Cell(const Row& row, int column) const
{
    const bool round = row.kind == Kind::Round;
    switch (column) {
    case Time:
        return TimeWords(row.time);
    case Stake:
        return round ? Text(Zloty).arg(row.stake) : QString();
    case Dealt:
    case Drawn:
    case Computer:
        return round ? Hand(row, column - Dealt, false) : QString();
    case Outcome:
        if (!round) {
            const auto kind = static_cast<std::size_t>(row.kind);
            return kind < KindWords.size() && KindWords.at(kind) ? Text(KindWords.at(kind)) : QString();
        }
        return Text(row.result == Result::Won        ? Won
                        : row.result == Result::Lost ? Lost
                        : row.result == Result::Tied ? Tied
                                                     : "");
    case Money:
        return round
            ? Text(Zloty).arg(row.moved > 0 ? QStringLiteral("+%1").arg(row.moved) : QString::number(row.moved))
            : QString();
    case Fund:
        return Text(Zloty).arg(row.fund);
    default:
        return {};
    }
}

QString RoundLogModel::Sentence(int index) const
{
    if (index < 0 || index >= rowCount())
        return {};
    const Row& row = rows_.at(static_cast<std::size_t>(index));
    if (row.kind != Kind::Round)
        return Text(EventSentence).arg(Cell(row, Time), Cell(row, Outcome)).arg(row.fund);
    const QString outcome = row.result == Result::Won ? Text(WonSentence).arg(row.moved)
        : row.result == Result::Lost                  ? Text(LostSentence).arg(-static_cast<std::int64_t>(row.moved))
                                                      : Cell(row, Outcome);
    return Text(RoundSentence)
        .arg(Cell(row, Time))
        .arg(row.stake)
        .arg(Hand(row, 0, true), Hand(row, 1, true), Hand(row, 2, true), outcome)
        .arg(row.fund);
}

QVariant RoundLogModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= Columns)
        return {};
    const Row& row = rows_.at(static_cast<std::size_t>(index.row()));
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return Cell(row, column);
    case Qt::AccessibleTextRole:
        // The cards by name: a screen reader makes nothing good of "D♠".
        return column >= Dealt && column <= Computer && row.kind == Kind::Round ? Hand(row, column - Dealt, true)
                                                                                : Cell(row, column);
    case Qt::AccessibleDescriptionRole:
        return Sentence(index.row());
    case Qt::TextAlignmentRole:
        return column == Stake || column == Money || column == Fund ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                                    : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant RoundLogModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= Columns
        || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return {};
    return Text(ColumnNames.at(static_cast<std::size_t>(section)));
}

QTableView* MakeRoundLogView(QWidget* parent, RoundLogModel* model)
{
    auto* view = new QTableView(parent);
    // Plain, not the window's bold: eight columns of cards and sums must fit its width.
    QFont plain = view->font();
    plain.setBold(false);
    view->setFont(plain);
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectItems);
    view->setTabKeyNavigation(false); // Tab leaves the table; the arrows walk its cells
    view->setWordWrap(false);
    // Rows of one height, so a million of them cost the view nothing per row.
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->verticalHeader()->hide();
    QHeaderView* header = view->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setStretchLastSection(true);
    const QFontMetrics metrics = view->fontMetrics();
    const QString hand = QStringLiteral("10♥ 10♠ 10♦ 10♣ D♠");
    const std::array<QString, RoundLogModel::Columns> widest{
        TimeWords(QDateTime(QDate(2026, 12, 28), QTime(23, 58)).toMSecsSinceEpoch()),
        Text(Zloty).arg(990),
        hand,
        hand,
        hand,
        Text(KindWords.at(4)),
        Text(Zloty).arg(-990),
        Text(Zloty).arg(99990)};
    int total = 0;
    for (int c = 0; c < RoundLogModel::Columns; ++c) {
        const QString title = model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        const int width = std::max(metrics.horizontalAdvance(widest.at(static_cast<std::size_t>(c))),
                                   header->fontMetrics().horizontalAdvance(title));
        header->resizeSection(c, width + 16);
        total += width + 16;
    }
    return view;
}

QString ExportFileName(const QDate& day)
{
    return Text(ExportName).arg(day.toString(Qt::ISODate));
}

void SetExportChooser(ExportChooser chooser)
{
    Chooser() = std::move(chooser);
}

QString WriteRecordCsv(const scores::history::RecordPlace& place, const QString& target)
{
    using scores::history::ReadEnd;
    const std::string path = QFile::encodeName(target).toStdString();
    std::string temporary = path + ".XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return WriteCause(errno);
    std::FILE* out = fdopen(fd, "w");
    if (!out) {
        const int error = errno;
        close(fd);
        unlink(temporary.c_str());
        return WriteCause(error);
    }
    static std::array<char, 1 << 16> buffer{};
    std::setvbuf(out, buffer.data(), _IOFBF, buffer.size());
    // As `wirtola --history` prints it, row by row as it is read: memory stays the same
    // whatever the record's length.
    scores::history::WriteCsvHeader(out);
    const ReadEnd end = place.refusal != scores::profile::WriteFailure::None ? ReadEnd::Refused
        : place.path.empty()
        ? ReadEnd::Whole
        : scores::history::ReadHistory(place.path, [out](const Entry& e) { scores::history::WriteCsvRow(out, e); });
    int error = 0;
    if (std::fflush(out) != 0 || std::ferror(out))
        error = errno != 0 ? errno : EIO;
    else if (fsync(fd) != 0)
        error = errno;
    if (std::fclose(out) != 0 && error == 0)
        error = errno;
    if (end == ReadEnd::Whole && error == 0 && rename(temporary.c_str(), path.c_str()) != 0)
        error = errno;
    if (end != ReadEnd::Whole || error != 0) {
        unlink(temporary.c_str());
        if (end != ReadEnd::Whole) {
            return Text(RecordUnreadable).arg(Text(ReadEndCause(end)));
        }
        return WriteCause(error);
    }
    // The rename stands once the folder is on disk too.
    const int folder =
        open(QFile::encodeName(QFileInfo(target).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
    return {};
}

QString ExportRecord(QWidget* parent, const scores::history::RecordPlace& place)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    const QString suggested = QDir(folder).filePath(ExportFileName(QDate::currentDate()));
    const QString target = Chooser()
        ? Chooser()(parent, suggested)
        : QFileDialog::getSaveFileName(parent, Text(ExportCaption), suggested, Text(CsvFilter));
    if (target.isEmpty())
        return {};
    const QString failure = WriteRecordCsv(place, target);
    if (!failure.isEmpty()) {
        boxes::ShowError(Text(ExportFailed).arg(QDir::toNativeSeparators(target), failure));
        return {};
    }
    return target;
}

const char* ReadEndCause(scores::history::ReadEnd end)
{
    using scores::history::ReadEnd;
    switch (end) {
    case ReadEnd::Damaged:
        return QT_TRANSLATE_NOOP("Wirtola", "plik jest uszkodzony");
    case ReadEnd::NotOurs:
        return QT_TRANSLATE_NOOP("Wirtola", "to nie jest historia rozdań Wirtoli");
    case ReadEnd::Newer:
        return QT_TRANSLATE_NOOP("Wirtola", "zapisała ją nowsza wersja gry");
    case ReadEnd::Refused:
        return QT_TRANSLATE_NOOP("Wirtola", "to dowiązanie, plik innego użytkownika albo nie plik");
    case ReadEnd::Whole:
    case ReadEnd::Failed:
        break;
    }
    return QT_TRANSLATE_NOOP("Wirtola", "nie można jej otworzyć");
}
