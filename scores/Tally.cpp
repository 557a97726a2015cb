#include "scores/Tally.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace scores::history {

namespace {

// A record is a file anyone may edit: its numbers are taken as they come, without overflowing.
std::int32_t Clamped(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

std::int64_t Span(const FundPoint& p, std::int64_t width)
{
    return p.round / width;
}

// Of one span's points, the first, lowest, highest and last round points and the first loan and
// the first reward, in their order.
void Reduce(std::vector<FundPoint>& points, std::size_t from)
{
    if (points.size() - from <= 4) {
        return;
    }
    std::size_t first = points.size();
    std::size_t last = first;
    std::size_t lowest = first;
    std::size_t highest = first;
    std::size_t loan = first;
    std::size_t reward = first;
    for (std::size_t i = from; i < points.size(); ++i) {
        const FundPoint& p = points[i];
        if (p.mark == Kind::Loan) {
            loan = std::min(loan, i);
        } else if (p.mark == Kind::Reward) {
            reward = std::min(reward, i);
        } else {
            first = std::min(first, i);
            last = i;
            if (lowest == points.size() || p.fund < points[lowest].fund) {
                lowest = i;
            }
            if (highest == points.size() || p.fund > points[highest].fund) {
                highest = i;
            }
        }
    }
    std::size_t kept = from;
    for (std::size_t i = from; i < points.size(); ++i) {
        if (i == first || i == last || i == lowest || i == highest || i == loan || i == reward) {
            points[kept++] = points[i];
        }
    }
    points.resize(kept);
}

// The state's bytes: whole numbers of eight bytes, little-endian, after a mark of the format.
// WTL2 counts the draws; totals kept as WTL1 are counted again from the rows.
constexpr std::string_view StateMark = "WTL2";

class Writer {
public:
    void Put(std::int64_t value)
    {
        auto bits = static_cast<std::uint64_t>(value);
        for (int i = 0; i < 8; ++i, bits >>= 8) {
            bytes_ += static_cast<char>(bits & 0xff);
        }
    }
    std::string bytes_{StateMark};
};

class Reader {
public:
    explicit Reader(std::string_view bytes)
        : bytes_(bytes)
        , ok_(bytes.starts_with(StateMark))
        , at_(StateMark.size())
    {
    }
    // The next number when it lies within [low, high]; otherwise the reading has failed.
    std::int64_t Get(std::int64_t low = std::numeric_limits<std::int64_t>::min(),
                     std::int64_t high = std::numeric_limits<std::int64_t>::max())
    {
        if (!ok_ || bytes_.size() - at_ < 8) {
            ok_ = false;
            return low;
        }
        std::uint64_t bits = 0;
        for (int i = 7; i >= 0; --i) {
            bits = bits << 8 | static_cast<unsigned char>(bytes_[at_ + static_cast<std::size_t>(i)]);
        }
        at_ += 8;
        const auto value = static_cast<std::int64_t>(bits);
        ok_ = ok_ && value >= low && value <= high;
        return ok_ ? value : low;
    }
    bool Whole() const { return ok_ && at_ == bytes_.size(); }

private:
    std::string_view bytes_;
    bool ok_;
    std::size_t at_;
};

constexpr std::int64_t Int32Min = INT32_MIN;
constexpr std::int64_t Int32Max = INT32_MAX;
constexpr std::int64_t AnyCount = std::numeric_limits<std::int64_t>::max();

// Every number of a tally but its course, with the range a stored one must lie in.
template <typename T, typename Visit>
void EachNumber(T& t, Visit&& visit)
{
    visit(t.rounds, 0, AnyCount);
    visit(t.won, 0, AnyCount);
    visit(t.lost, 0, AnyCount);
    visit(t.tied, 0, AnyCount);
    visit(t.biggestWin, 0, Int32Max);
    visit(t.biggestLoss, 0, Int32Max);
    visit(t.longestWinningRun, 0, AnyCount);
    visit(t.longestLosingRun, 0, AnyCount);
    visit(t.loans, 0, AnyCount);
    visit(t.rewards, 0, AnyCount);
    visit(t.bestClass, -1, 9);
    for (auto& c : t.bestHand) {
        visit(c.rank, 0, 13);
        visit(c.suit, 0, 3);
    }
    for (auto& n : t.dealt) {
        visit(n, 0, AnyCount);
    }
    for (auto& n : t.final) {
        visit(n, 0, AnyCount);
    }
    for (auto* d :
         {&t.draws, &t.drawsByClass[0], &t.drawsByClass[1], &t.drawsByClass[2], &t.drawsByClass[3], &t.drawsByClass[4],
          &t.drawsByClass[5], &t.drawsByClass[6], &t.drawsByClass[7], &t.drawsByClass[8], &t.drawsByClass[9]}) {
        visit(d->judged, 0, AnyCount);
        visit(d->best, 0, AnyCount);
        visit(d->givenAway, 0, AnyCount);
    }
    visit(t.courseSpan, 1, AnyCount);
}

// A sum of counts from a file anyone may edit: it stops at the largest number, never wraps.
std::int64_t Plus(std::int64_t sum, std::int64_t more)
{
    return sum > std::numeric_limits<std::int64_t>::max() - more ? std::numeric_limits<std::int64_t>::max()
                                                                 : sum + more;
}

} // namespace

void Tallier::AddPoint(Tally& t, Course& course, const FundPoint& point)
{
    std::vector<FundPoint>& points = t.fund;
    const std::int64_t span = Span(point, t.courseSpan);
    if (span != course.span) {
        course.span = span;
        course.spanStart = points.size();
    }
    points.push_back(point);
    Reduce(points, course.spanStart);
    if (points.size() > CoursePoints) {
        Compact(t, course);
    }
}

void Tallier::Compact(Tally& t, Course& course)
{
    // Twice the rounds per span until the course is half its bound: each doubling at least
    // halves the spans, and a span keeps at most six points.
    while (t.fund.size() > CoursePoints / 2 && t.courseSpan < std::numeric_limits<std::int64_t>::max() / 2) {
        std::vector<FundPoint> points = std::move(t.fund);
        t.fund.clear();
        t.courseSpan *= 2;
        course = Course{};
        for (const FundPoint& p : points) {
            const std::int64_t span = Span(p, t.courseSpan);
            if (span != course.span) {
                course.span = span;
                course.spanStart = t.fund.size();
            }
            t.fund.push_back(p);
            Reduce(t.fund, course.spanStart);
        }
    }
}

void Tallier::Count(Tally& t, Runs& runs, Course& course, const Entry& e)
{
    if (t.fund.empty()) {
        AddPoint(t, course, {.round = 0, .fund = Clamped(std::int64_t{e.fund} - e.moved), .mark = Kind::Round});
    }
    ++t.rounds;
    // A tie ends both runs: neither side won it.
    runs.winning = e.result == Result::Won ? runs.winning + 1 : 0;
    runs.losing = e.result == Result::Lost ? runs.losing + 1 : 0;
    t.won += e.result == Result::Won;
    t.lost += e.result == Result::Lost;
    t.tied += e.result == Result::Tied;
    t.longestWinningRun = std::max(t.longestWinningRun, runs.winning);
    t.longestLosingRun = std::max(t.longestLosingRun, runs.losing);
    t.biggestWin = std::max(t.biggestWin, e.moved);
    t.biggestLoss = std::max(t.biggestLoss, Clamped(-std::int64_t{e.moved}));
    if (e.dealtClass < t.dealt.size()) {
        ++t.dealt[e.dealtClass];
    }
    if (e.playerClass < t.final.size()) {
        ++t.final[e.playerClass];
        if (static_cast<int>(e.playerClass) > t.bestClass) {
            t.bestClass = e.playerClass;
            t.bestHand = e.player;
        }
    }
    AddPoint(t, course, {.round = t.rounds, .fund = e.fund, .mark = Kind::Round});
    CountVerdict(t, e);
}

void Tallier::CountVerdict(Tally& t, const Entry& e)
{
    if (!e.Judged()) {
        return;
    }
    // As good as the best: the same choice, or one the advice expects as much of.
    const bool best = e.kept == e.best || e.keptExpected >= e.bestExpected;
    const std::int64_t givenAway = best ? 0 : e.bestExpected - e.keptExpected;
    const auto count = [&](Tally::Draws& d) {
        ++d.judged;
        d.best += best;
        d.givenAway = Plus(d.givenAway, givenAway);
    };
    count(t.draws);
    if (e.dealtClass < t.drawsByClass.size()) {
        count(t.drawsByClass[e.dealtClass]);
    }
}

void Tallier::AddVerdict(const Entry& e)
{
    if (e.kind != Kind::Round) {
        return;
    }
    CountVerdict(tallies_.all, e);
    CountVerdict(tallies_.game, e);
}

void Tallier::Add(const Entry& e)
{
    switch (e.kind) {
    case Kind::Round:
        Count(tallies_.all, allRuns_, allCourse_, e);
        Count(tallies_.game, gameRuns_, gameCourse_, e);
        break;
    case Kind::Loan:
    case Kind::Reward: {
        const auto mark = [&e](Tally& t, Course& course) {
            t.loans += e.kind == Kind::Loan;
            t.rewards += e.kind == Kind::Reward;
            AddPoint(t, course, {.round = t.rounds, .fund = e.fund, .mark = e.kind});
        };
        mark(tallies_.all, allCourse_);
        tallies_.game = Tally{};
        gameRuns_ = Runs{};
        gameCourse_ = Course{};
        mark(tallies_.game, gameCourse_); // the new game opens with it
        break;
    }
    case Kind::NewGame:
    case Kind::Carried:
    case Kind::Unknown:
        break;
    }
}

std::string Tallier::Saved() const
{
    Writer out;
    const auto put = [&out](const auto& value, std::int64_t, std::int64_t) { out.Put(value); };
    for (const Tally* t : {&tallies_.game, &tallies_.all}) {
        EachNumber(*t, put);
        out.Put(static_cast<std::int64_t>(t->fund.size()));
        for (const FundPoint& p : t->fund) {
            out.Put(p.round);
            out.Put(p.fund);
            out.Put(static_cast<std::int64_t>(p.mark));
        }
    }
    for (const Runs& r : {allRuns_, gameRuns_}) {
        out.Put(r.winning);
        out.Put(r.losing);
    }
    for (const Course& c : {allCourse_, gameCourse_}) {
        out.Put(static_cast<std::int64_t>(c.spanStart));
        out.Put(c.span);
    }
    return out.bytes_;
}

bool Tallier::Restore(std::string_view bytes)
{
    Reader in(bytes);
    Tallier read;
    const auto get = [&in](auto& value, std::int64_t low, std::int64_t high) {
        value = static_cast<std::remove_reference_t<decltype(value)>>(in.Get(low, high));
    };
    for (Tally* t : {&read.tallies_.game, &read.tallies_.all}) {
        EachNumber(*t, get);
        // Never sized by the bytes beyond the course's own bound.
        const std::int64_t points = in.Get(0, static_cast<std::int64_t>(CoursePoints));
        for (std::int64_t i = 0; i < points; ++i) {
            FundPoint p;
            p.round = in.Get(0, AnyCount);
            p.fund = static_cast<std::int32_t>(in.Get(Int32Min, Int32Max));
            p.mark = static_cast<Kind>(in.Get(0, static_cast<std::int64_t>(Kind::Reward)));
            t->fund.push_back(p);
        }
    }
    for (Runs* r : {&read.allRuns_, &read.gameRuns_}) {
        r->winning = in.Get(0, AnyCount);
        r->losing = in.Get(0, AnyCount);
    }
    const std::int64_t sizes[] = {static_cast<std::int64_t>(read.tallies_.all.fund.size()),
                                  static_cast<std::int64_t>(read.tallies_.game.fund.size())};
    int which = 0;
    for (Course* c : {&read.allCourse_, &read.gameCourse_}) {
        c->spanStart = static_cast<std::size_t>(in.Get(0, sizes[which++]));
        c->span = in.Get(-1, AnyCount);
    }
    if (!in.Whole()) {
        return false;
    }
    *this = std::move(read);
    return true;
}

Tallies TallyUp(const std::vector<Entry>& entries)
{
    Tallier tallier;
    for (const Entry& e : entries) {
        tallier.Add(e);
    }
    return tallier.tallies();
}

} // namespace scores::history
