// The stage search.
#include "tools/replayplan/stage_search.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>

#include "game/play_frame.h"
#include "tools/replayplan/goal_map.h"
#include "game/host/input_script.h"

namespace torv {

namespace {

// A move: its input on the first frame, then on the others (taps press once).
struct Move {
  const char* first;
  const char* rest;
};

constexpr Move kMoves[] = {
    {"-", "-"},   {"R", "R"},     {"L", "L"},     {"RS", "RS"}, {"LS", "LS"}, {"J", "J"},
    {"RJ", "RJ"}, {"LJ", "LJ"},   {"RSJ", "RSJ"}, {"LSJ", "LSJ"},
    {"A", "-"},   {"UA", "-"},    {"DA", "-"},    {"C", "-"},   {"A", "A"},   {"RA", "R"}, {"LA", "L"},
};

FrameInput input_of(const char* keys) {
  FrameInput in;
  input_from_keys(keys, &in);
  return in;
}

// A state kept in the beam, and how it was reached.
struct Node {
  GameState state;
  int parent;  // index in the previous layer
  int move;
};

// A state reached in this step, before the beam keeps or drops it.
struct Candidate {
  int parent;
  int move;
  int score;  // lower is better
  int cell;   // the player's cell
};

// What makes two states the same for the search.
struct Key {
  int32_t x, y, jump_frames, rise_fall, riding, ridden, attack_state, pose, kind, mode, score, fire, ice;
  uint64_t world;  // the grid's fingerprint mixed with which objects are still alive
  bool operator==(const Key& o) const {
    return x == o.x && y == o.y && jump_frames == o.jump_frames && rise_fall == o.rise_fall &&
           riding == o.riding && ridden == o.ridden && attack_state == o.attack_state && pose == o.pose &&
           kind == o.kind && mode == o.mode && score == o.score && fire == o.fire && ice == o.ice &&
           world == o.world;
  }
};

struct KeyHash {
  size_t operator()(const Key& k) const {
    size_t h = 1469598103934665603ull;
    for (int32_t v : {k.x, k.y, k.jump_frames, k.rise_fall, k.riding, k.ridden, k.attack_state, k.pose, k.kind,
                      k.mode, k.score, k.fire, k.ice}) {
      h = (h ^ static_cast<uint32_t>(v)) * 1099511628211ull;
    }
    return h ^ k.world;
  }
};

Key key_of(const GameState& s) {
  const PlayerState& p = s.player;
  uint64_t world = s.grid.fingerprint();
  for (size_t i = 0; i < s.objects.size(); ++i) {
    if (!s.objects[i].alive) world ^= (i + 1) * 0x9E3779B97F4A7C15ull;
  }
  return {p.x, p.y, std::max(p.jump_frames, -1), p.rise_fall, p.riding, p.ridden, p.attack_state,
          p.pose_timer > 0, p.attack_kind, p.attack_mode, s.progress.score, s.progress.fire_ammo,
          s.progress.ice_ammo, world};
}

}  // namespace

SearchResult search_stage(const GameState& start, SimServices& services, const SearchOptions& options) {
  SearchResult result;
  const GoalMap map(start);
  auto measure = [&](const GameState& s) {
    const int d = map.distance(s);
    return d < 0 ? 1 << 20 : d;
  };

  const int limit = options.frame_limit > 0 ? options.frame_limit : start.player.time_left;
  const int move_count = static_cast<int>(std::size(kMoves));
  std::vector<FrameInput> firsts, rests;
  for (const Move& m : kMoves) {
    firsts.push_back(input_of(m.first));
    rests.push_back(input_of(m.rest));
  }

  std::vector<std::vector<std::pair<int, int>>> layers;  // (parent, move) per kept node
  std::vector<Node> beam;
  beam.push_back({start, -1, -1});
  layers.push_back({{-1, -1}});
  std::unordered_set<Key, KeyHash> seen;
  seen.insert(key_of(start));
  result.best_distance = measure(start);

  // Plays one move from a state. Answers the frame (0-based) at which the goal was
  // reached, -1 while playing on, -2 when a life was lost.
  auto play_move = [&](GameState& s, int m) {
    for (int f = 0; f < options.move_frames; ++f) {
      step_play_frame(s, f == 0 ? firsts[static_cast<size_t>(m)] : rests[static_cast<size_t>(m)], 0, services);
      ++result.explored;
      apply_time_out(s.player);
      if (s.player.status == kStatusGoal) return f;
      if (s.player.status != kStatusPlaying) return -2;
    }
    return -1;
  };
  auto rebuild = [&](int depth, int parent, int m, int last_frames) {
    std::vector<int> moves = {m};
    for (int layer = depth; layer > 0; --layer) {
      const auto& link = layers[static_cast<size_t>(layer)][static_cast<size_t>(parent)];
      moves.push_back(link.second);
      parent = link.first;
    }
    std::reverse(moves.begin(), moves.end());
    for (size_t i = 0; i < moves.size(); ++i) {
      const int frames = i + 1 == moves.size() ? last_frames : options.move_frames;
      for (int k = 0; k < frames; ++k) {
        result.frames.push_back(k == 0 ? firsts[static_cast<size_t>(moves[i])] : rests[static_cast<size_t>(moves[i])]);
      }
    }
    result.found = true;
  };

  GameState scratch;
  std::vector<Candidate> candidates;
  for (int depth = 0; depth * options.move_frames < limit && !beam.empty(); ++depth) {
    // Every move from every kept state, played in one scratch state; only the
    // score and the way back are remembered (a state is tens of kilobytes).
    candidates.clear();
    for (size_t b = 0; b < beam.size(); ++b) {
      for (int m = 0; m < move_count; ++m) {
        scratch = beam[b].state;
        const int outcome = play_move(scratch, m);
        if (outcome >= 0) {
          rebuild(depth, static_cast<int>(b), m, outcome + 1);
          return result;
        }
        if (outcome == -2 || !seen.insert(key_of(scratch)).second) continue;
        const int cell = (scratch.player.x / kCellSize) * kGridRows + scratch.player.y / kCellSize;
        candidates.push_back({static_cast<int>(b), m, measure(scratch), cell});
      }
    }
    // Keep the closest, and among equals the first found; their states are
    // played again from their parents. A few states per cell at most, so that the
    // beam keeps different ways forward instead of many copies of one.
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
      if (a.score != b.score) return a.score < b.score;
      return a.parent != b.parent ? a.parent < b.parent : a.move < b.move;
    });
    const int per_cell = std::max(2, options.beam_width / 50);
    std::unordered_map<int, int> in_cell;
    std::vector<Node> next;
    next.reserve(static_cast<size_t>(options.beam_width));
    std::vector<std::pair<int, int>> layer;
    size_t keep = 0;
    for (const Candidate& c : candidates) {
      if (static_cast<int>(next.size()) >= options.beam_width) break;
      if (in_cell[c.cell]++ >= per_cell) continue;
      next.push_back({beam[static_cast<size_t>(c.parent)].state, c.parent, c.move});
      play_move(next.back().state, c.move);
      layer.emplace_back(c.parent, c.move);
      ++keep;
    }
    if (keep > 0) result.best_distance = std::min(result.best_distance, candidates.front().score);
    layers.push_back(std::move(layer));
    beam = std::move(next);
    if (options.verbose && depth % 50 == 0) {
      const PlayerState& lead = beam.empty() ? start.player : beam.front().state.player;
      std::fprintf(stderr, "  depth %d frames %d kept %zu best %d explored %d, leader at (%d, %d)\n", depth,
                   (depth + 1) * options.move_frames, beam.size(), result.best_distance, result.explored, lead.x,
                   lead.y);
    }
  }
  return result;
}

}  // namespace torv
