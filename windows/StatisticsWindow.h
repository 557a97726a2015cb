#pragma once

// The statistics window: the record of play told in numbers and as the fund's course, for the
// game under way and for all time. Not modal; it follows every round while it is open.

#include "scores/History.h"
#include "scores/Tally.h"
#include "windows/RoundLog.h"

#include <QRectF>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <vector>

class QLabel;
class QPushButton;
class QTabWidget;
class QTableView;
class QTableWidget;

// The fund over the rounds: a line, with each loan and reward marked by a letter as well as a
// shape. A screen reader hears the course in words, as its description.
class FundPlot : public QWidget {
    Q_OBJECT
public:
    explicit FundPlot(QWidget* parent = nullptr);
    void SetPoints(const std::vector<scores::history::FundPoint>& points);
    QSize sizeHint() const override;
    // What the axes say, as painted at the plot's size: the funds (with their unit), the rounds'
    // numbers and the rounds' axis's name.
    QStringList AxisLabels() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Tick {
        double value = 0;
        QString label;
    };
    struct Layout {
        QRectF area; // where the line goes, inside the labels
        double bottom = 0;
        double top = 1;
        double rounds = 1;
        std::vector<Tick> fundTicks;
        std::vector<Tick> roundTicks;
        QString roundsName;
    };
    Layout Arrange() const;
    static std::vector<double> Ticks(double from, double to, int count);

    std::vector<scores::history::FundPoint> points_;
};

// The fund's course for this game and for all time: first, last, lowest and highest, and where
// each loan and reward fell ("pożyczka po 38. rozdaniu").
QString FundCourseWords(const scores::history::Tallies& tallies);

// What the window needs of the record besides its totals: its rows for the log, where it is
// for an export, and how to set it aside for a new one.
struct RecordLink {
    LogPages pages;
    std::function<scores::history::RecordPlace()> place;
    std::function<void()> startAfresh; // after the player has agreed
};

class StatisticsWindow : public QWidget {
    Q_OBJECT
public:
    explicit StatisticsWindow(QWidget* parent = nullptr);

    // The record's running totals; shown at once while the window is open.
    void SetTotals(const scores::history::Tallies& tallies);
    // Shows the window, or brings it forward. The first time, where the platform lets a window
    // choose its place (X11), beside this window on its screen; under Wayland the compositor places it.
    void Show();
    void PlaceBeside(const QWidget* companion) { companion_ = companion; }
    // The record behind the log and its buttons; the log reads it from its newest row.
    void SetRecord(RecordLink link);
    // A row was recorded: the log shows it at the top (at once while the window is open).
    void FollowRecord();
    // The record was started again: the log reads it anew from its newest row.
    void ReloadRecord();

    QTableWidget* Summary; // a row per measure; columns: this game, all time
    QTableWidget* Classes; // a row per hand class: dealt, chance in a deal, final
    // How the player drew against the advice's best, in all and by the dealt hand's class:
    // the share that was the best and the money the others gave away, this game and all games.
    QTableWidget* Draws;
    FundPlot* Plot;
    QLabel* Course;    // the plot in words
    QTabWidget* Pages; // the numbers above, then the log
    RoundLogModel* LogModel;
    QTableView* Log; // the rounds, newest first
    QLabel* LogNote; // where the last export went
    QPushButton* ExportButton;
    QPushButton* FreshButton;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Refill();
    void Place();
    void ExportClick();
    void FreshClick();

    QWidget* numbers_ = nullptr; // the first page's contents, inside its scroll area
    scores::history::Tallies tallies_;
    bool stale_ = true;
    bool placed_ = false;
    const QWidget* companion_ = nullptr;
    RecordLink link_;
    bool logStale_ = false;
};
