// How far each place of a stage is from its goal for a player who can only rise by
// jumping: the search's sense of direction. Places are cells with an upward budget
// (how many more cells the player can still rise before falling), so a high ledge
// counts as far when there is nothing to jump from below it.
#pragma once

#include <vector>

#include "game/game_state.h"

namespace torv {

class GoalMap {
public:
  // Cells a jump rises; a plain jump lifts the player's box five cells.
  static constexpr int kJumpCells = 5;

  // Builds the map for a stage just put in play. Platforms count as floor
  // wherever they travel (found by running the stage's objects for a while);
  // breakable and burnable blocks count as open.
  explicit GoalMap(const GameState& stage);

  // Moves from (column, row) with budget upward cells left to the nearest goal
  // cell; -1 when the goal cannot be reached from there.
  int distance(int column, int row, int budget) const;

  // The distance for a game state: the player's middle cell, with a full budget on
  // the ground, what its jump has left while rising, none while falling.
  int distance(const GameState& state) const;

  bool supported(int column, int row) const;

private:
  enum class Move { kLeft, kRight, kUp, kDown };
  bool open(int column, int row) const;
  // Where a move from (column, row) with budget leads, as a slot; -1 if blocked.
  int step(int column, int row, int budget, Move move) const;
  static int slot(int column, int row, int budget) {
    return (column * kGridRows + row) * (kJumpCells + 1) + budget;
  }

  const WorldGrid& grid_;
  std::vector<char> platform_floor_;  // cells a platform carries the player through
  std::vector<int> distance_;
};

}  // namespace torv
