#pragma once

// The statistics window: the record of play told in numbers and as the fund's course, for the
// game under way and for all time. Not modal; it follows every round while it is open.

#include "scores/History.h"
#include "scores/Tally.h"

#include <QWidget>

#include <vector>

class QLabel;
class QTableWidget;

// The fund over the rounds: a line, with each loan and reward marked by a letter as well as a
// shape. A screen reader hears the course in words, as its description.
class FundPlot : public QWidget {
    Q_OBJECT
public:
    explicit FundPlot(QWidget* parent = nullptr);
    void SetPoints(const std::vector<session::history::FundPoint>& points);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<session::history::FundPoint> points_;
};

// "Fundusz od 3000 do 4250 zł w 38 rozdaniach, najwyżej 5100 zł", with the loans and rewards.
QString FundCourseWords(const session::history::Tally& tally);

class StatisticsWindow : public QWidget {
    Q_OBJECT
public:
    explicit StatisticsWindow(QWidget* parent = nullptr);

    // The record's running totals; shown at once while the window is open.
    void SetTotals(const session::history::Tallies& tallies);
    // Shows the window, or brings it forward.
    void Show();

    QTableWidget* Summary; // a row per measure; columns: this game, all time
    QTableWidget* Classes; // a row per hand class: dealt, chance in a deal, final
    FundPlot* Plot;
    QLabel* Course; // the plot in words

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Refill();

    session::history::Tallies tallies_;
    bool stale_ = true;
    bool placed_ = false;
};
