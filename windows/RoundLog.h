#pragma once

// The log of rounds: the record's rows newest first, read a page at a time as the player
// scrolls, so that a record of a million rounds is never read whole. Every row is one sentence
// to a screen reader. And the record saved as CSV where the player chooses.

#include "scores/History.h"

#include <QAbstractTableModel>

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

class QDate;
class QTableView;
class QWidget;

// Why the record could not be read whole, in the player's words (to go through Text()); the
// log and --history say it alike.
const char* ReadEndCause(scores::history::ReadEnd end);

// Up to `count` rows of the record before the row `beforeId` (History::FromNewest: from the
// newest), newest first.
using LogPages = std::function<std::vector<scores::history::Entry>(std::int64_t beforeId, int count)>;

class RoundLogModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Time, Stake, Dealt, Drawn, Computer, Outcome, Money, Fund, Columns };
    // Rows read at a time: a few screens' worth, one quick query however deep in the record.
    static constexpr int PageRows = 300;

    explicit RoundLogModel(QObject* parent = nullptr);

    // Reads from `pages` again from the newest row: another record, or one started afresh.
    void SetPages(LogPages pages);
    // The rows recorded since the newest one shown, put at the top.
    void Follow();

    // The row as a screen reader hears it, in one sentence.
    QString Sentence(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    // A row as the log keeps it: a few dozen bytes, so that even a whole record scrolled
    // through stays small.
    struct Row {
        std::int64_t id = 0;
        std::int64_t time = 0;
        std::int32_t stake = 0;
        std::int32_t moved = 0;
        std::int32_t fund = 0;
        std::array<std::uint8_t, 15> cards{}; // dealt, after the draw, the computer's; NoCard where none
        scores::history::Kind kind = scores::history::Kind::Round;
        scores::history::Result result = scores::history::Result::Unknown;
    };
    static Row Kept(const scores::history::Entry& entry);
    QString Hand(const Row& row, int hand, bool inWords) const;
    QString Cell(const Row& row, int column) const;

    LogPages pages_;
    std::deque<Row> rows_;
    bool more_ = false;
};

// The table of the log: every cell reached by the arrows, Tab leaving it.
QTableView* MakeRoundLogView(QWidget* parent, RoundLogModel* model);

// "wirtola-historia-2026-12-08.csv" in Polish, "wirtola-history-2026-12-08.csv" in English.
QString ExportFileName(const QDate& day);
// Where the export goes: the desktop's save dialog, unless a test stands in for it. An empty
// answer is a cancelled save.
using ExportChooser = std::function<QString(QWidget* parent, const QString& suggested)>;
void SetExportChooser(ExportChooser chooser);
// Writes the record at `place` to `target` as `wirtola --history` prints it, whole or not at
// all (a temporary file beside it, flushed and renamed). Returns the failure's words, or "".
QString WriteRecordCsv(const scores::history::RecordPlace& place, const QString& target);
// Asks where, writes there, and tells a failure in a box. Returns the file written, or "".
QString ExportRecord(QWidget* parent, const scores::history::RecordPlace& place);
