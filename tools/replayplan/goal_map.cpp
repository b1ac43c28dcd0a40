// The gravity-aware distance map.
#include "tools/replayplan/goal_map.h"

#include <deque>

#include "game/moving_objects.h"

namespace torv {

namespace {
// Frames the platforms are run to see where they go: a wrapping lift crosses the
// whole stage at 2 pixels a frame in 1440 frames.
constexpr int kPlatformFrames = 1500;

class QuietServices : public SimServices {
public:
  void play_sound(Effect) override {}
  int image_width(int) override { return 24; }
  int image_height(int) override { return 48; }
  void reload_background(const std::string&) override {}
  uint32_t clock_ms() override { return 0; }
};
}  // namespace

GoalMap::GoalMap(const GameState& stage)
    : grid_(stage.grid),
      platform_floor_(static_cast<size_t>(kGridColumns * kGridRows), 0),
      distance_(static_cast<size_t>(kGridColumns * kGridRows * (kJumpCells + 1)), -1) {
  // Where the platforms travel, with the player out of reach above the stage.
  GameState run = stage;
  run.player.x = 0;
  run.player.y = -100000;
  stop_riding(run.player);
  QuietServices quiet;
  for (int frame = 0; frame < kPlatformFrames; ++frame) {
    update_objects(run, quiet);
    for (const MovingObject& o : run.objects) {
      if (!o.alive || !is_platform(o.type) || o.y < 1) continue;
      const int row = (o.y - 1) / kCellSize;  // the cell the rider stands in
      for (int column = o.x / kCellSize; column <= (o.x + o.w - 1) / kCellSize; ++column) {
        if (WorldGrid::in_grid(column, row)) platform_floor_[static_cast<size_t>(column * kGridRows + row)] = 1;
      }
    }
  }

  // Backwards from the goal over the moves a player has (see step()): every state
  // from which one move lands in a state already measured is one further away.
  std::deque<int> queue;
  for (int c = 0; c < kGridColumns; ++c) {
    for (int r = 0; r < kGridRows; ++r) {
      if (grid_.tile(c, r) != kTileGoal) continue;
      for (int b = 0; b <= kJumpCells; ++b) {
        distance_[static_cast<size_t>(slot(c, r, b))] = 0;
        queue.push_back(slot(c, r, b));
      }
    }
  }
  constexpr Move kMoves[] = {Move::kLeft, Move::kRight, Move::kUp, Move::kDown};
  while (!queue.empty()) {
    const int target = queue.front();
    queue.pop_front();
    const int cell = target / (kJumpCells + 1);
    const int c2 = cell / kGridRows, r2 = cell % kGridRows;
    const int d = distance_[static_cast<size_t>(target)];
    for (Move move : kMoves) {
      // The one cell from which this move leads into (c2, r2).
      const int c = move == Move::kLeft ? c2 + 1 : move == Move::kRight ? c2 - 1 : c2;
      const int r = move == Move::kUp ? r2 + 1 : move == Move::kDown ? r2 - 1 : r2;
      if (!WorldGrid::in_grid(c, r) || !open(c, r)) continue;
      for (int b = 0; b <= kJumpCells; ++b) {
        int& nd = distance_[static_cast<size_t>(slot(c, r, b))];
        if (nd >= 0 || step(c, r, b, move) != target) continue;
        nd = d + 1;
        queue.push_back(slot(c, r, b));
      }
    }
  }
}

int GoalMap::step(int column, int row, int budget, Move move) const {
  const int have = supported(column, row) ? kJumpCells : budget;
  int c = column, r = row, left = have;
  switch (move) {
    case Move::kLeft: c -= 1; break;    // sideways keeps the budget
    case Move::kRight: c += 1; break;
    case Move::kUp:                     // rising spends it
      if (have == 0) return -1;
      r -= 1;
      left = have - 1;
      break;
    case Move::kDown:                   // falling ends the jump
      r += 1;
      left = 0;
      break;
  }
  if (!WorldGrid::in_grid(c, r) || !open(c, r)) return -1;
  return slot(c, r, supported(c, r) ? kJumpCells : left);
}

bool GoalMap::open(int column, int row) const {
  const int code = grid_.tile(column, row);
  if (code == kTileSpikes) return false;
  return !grid_.solid(column, row) || code == kTileBreakable || code == kTileBurnable;
}

bool GoalMap::supported(int column, int row) const {
  if (WorldGrid::in_grid(column, row) && platform_floor_[static_cast<size_t>(column * kGridRows + row)]) return true;
  const int below = grid_.tile(column, row + 1);
  return grid_.solid(column, row + 1) && below != kTileFire;
}

int GoalMap::distance(int column, int row, int budget) const {
  if (!WorldGrid::in_grid(column, row) || budget < 0) return -1;
  if (budget > kJumpCells) budget = kJumpCells;
  return distance_[static_cast<size_t>(slot(column, row, budget))];
}

int GoalMap::distance(const GameState& state) const {
  const PlayerState& p = state.player;
  const int column = (p.x + kPlayerSize / 2) / kCellSize;
  const int row = (p.y + kPlayerSize / 2) / kCellSize;
  int budget = 0;
  if (supported(column, row) || p.riding) {
    budget = kJumpCells;
  } else if (p.jump_frames > 0) {
    budget = (p.jump_frames * 4 + kCellSize - 1) / kCellSize;  // 4 pixels a frame of fast rise
  }
  return distance(column, row, budget);
}

}  // namespace torv
