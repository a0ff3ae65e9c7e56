#include "computer/search.h"

#include "computer/search_helpers.h"

#include <algorithm>

namespace palisade {

namespace {

bool isMate(int score) { return score > kMateBound || score < -kMateBound; }

// The first moves of the lines to the front of the root's moves, in the lines'
// order; the other moves keep theirs.
void bringToFront(MoveList& rootMoves, const std::vector<SearchLine>& lines)
{
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        const auto found = std::find(rootMoves.begin(), rootMoves.end(), line->moves.front());
        if (found != rootMoves.end()) std::rotate(rootMoves.begin(), found, found + 1);
    }
}

// A line among lines sorted best first, after those that score as well; at
// most `wanted` are kept.
void insertLine(std::vector<SearchLine>& lines, SearchLine line, std::size_t wanted)
{
    const auto place =
        std::find_if(lines.begin(), lines.end(), [&](const SearchLine& kept) { return kept.score < line.score; });
    lines.insert(place, std::move(line));
    if (lines.size() > wanted) lines.pop_back();
}

// A search stopped within a depth keeps the lines of the depth before, unless
// a move beat the first one before the stop: then the lines of the unfinished
// depth lead, fewer but all of that depth.
void adoptStoppedDepth(SearchReport& report, std::vector<SearchLine> found)
{
    if (found.empty()) return;
    if (report.lines.empty() || found.front().moves.front() != report.lines.front().moves.front()) {
        report.lines = std::move(found);
    }
    report.best = report.lines.front().moves.front();
    report.score = report.lines.front().score;
}

} // namespace

// Deeper and deeper searches of the root until a limit or the stop: the
// report holds the lines of the deepest depth finished.
void Searcher::deepen(MoveList& rootMoves, SearchReport& report)
{
    const std::size_t wanted = std::clamp<std::size_t>(static_cast<std::size_t>(std::max(1, limits_->multiPv)), 1,
                                                       rootMoves.size());
    for (int depth = firstDepth(); depth <= limits_->maxDepth && depth < kMaxPly; depth = nextDepth(depth)) {
        bringToFront(rootMoves, report.lines);
        std::vector<SearchLine> found = searchRoot(rootMoves, depth, wanted);
        if (aborted_) {
            adoptStoppedDepth(report, std::move(found));
            break;
        }
        report.lines = std::move(found);
        report.best = report.lines.front().moves.front();
        report.score = report.lines.front().score;
        report.depth = depth;
        finishedDepth_.store(depth, std::memory_order_relaxed);
        if (limits_->onIteration) {
            finishReport(report);
            limits_->onIteration(report);
        }
        if (isMate(report.score) || rootMoves.size() == 1) break;
    }
}

// Every second helper searches a depth beyond the others; the first one keeps
// to the leader's depth, which measured best with two threads.
int Searcher::depthsAhead() const { return helperNumber_ > 0 && helperNumber_ % 2 == 0 ? 1 : 0; }

int Searcher::firstDepth() const { return 1 + depthsAhead(); }

// Never behind the depth the leader is searching.
int Searcher::nextDepth(int depth) const
{
    if (leaderDepth_ == nullptr) return depth + 1;
    return std::max(depth + 1, leaderDepth_->load(std::memory_order_relaxed) + 1 + depthsAhead());
}

void Searcher::finishReport(SearchReport& report) const
{
    report.nodes = nodes_ + (helpers_ != nullptr ? helpers_->nodes() : 0);
    report.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_);
    if (report.lines.empty() && report.best) report.lines.push_back({report.score, {*report.best}});
}

// The root's moves in order, the best of the last depth first. Returns the
// best `wanted` moves with their exact scores, best first: a move is searched
// in full only when it may beat the last of those kept so far. When the search
// stops midway, those searched in full before the stop.
std::vector<SearchLine> Searcher::searchRoot(MoveList& rootMoves, int depth, std::size_t wanted)
{
    const int beta = kInfiniteScore;
    std::vector<SearchLine> found;
    for (const Move move : rootMoves) {
        const bool full = found.size() < wanted;
        const int alpha = full ? -kInfiniteScore : found.back().score;
        board_->make(move);
        keys_.push_back(board_->boardKey());
        int score;
        if (full) {
            score = -negamax(depth - 1, -beta, -alpha, 1);
        } else {
            score = -negamax(depth - 1, -alpha - 1, -alpha, 1);
            if (score > alpha && score < beta && !aborted_) score = -negamax(depth - 1, -beta, -alpha, 1);
        }
        keys_.pop_back();
        board_->unmake();
        if (aborted_) break;
        if (score > alpha) insertLine(found, lineAfter(move, score), wanted);
    }
    if (!aborted_) {
        const SearchLine& best = found.front();
        table_->store({board_->key(), best.score, static_cast<std::int16_t>(depth), Bound::Exact, best.moves.front()});
    }
    return found;
}

SearchLine Searcher::lineAfter(Move move, int score) const
{
    SearchLine line{score, {move}};
    line.moves.insert(line.moves.end(), lines_[1].begin(), lines_[1].begin() + lineLengths_[1]);
    return line;
}

} // namespace palisade
