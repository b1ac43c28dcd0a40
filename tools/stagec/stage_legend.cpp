// The map legend: one character per tile code.
#include "tools/stagec/stage_legend.h"

namespace stagec {

const std::vector<LegendEntry>& legend() {
  // Objects hang where the loader puts them: 11-pixel slimes 12 below the cell
  // top, 24-pixel spike walkers 11 below, everything else at the cell top.
  static const std::vector<LegendEntry> table = {
      {'.', 0, "", 0, 24, 24, "empty"},
      {'#', 1, "br0124.png", 0, 24, 24, "breakable brick (head from below, close attack from above)"},
      {'=', 2, "br0224.png", 0, 24, 24, "plain block"},
      {'%', 3, "br0324.png", 0, 24, 24, "wooden crate, burnt by a fire shot"},
      {'M', 4, "brfire.png", 0, 24, 24, "fire block (deadly; an ice shot turns it into a plain block)"},
      {'^', 5, "brhari.png", 0, 24, 24, "spikes (deadly, not solid)"},
      {'h', 6, "", 0, 24, 24, "hidden block (appears when hit from below)"},
      {'H', 7, "", 0, 24, 24, "hidden block with an extra life above it"},
      {'w', 8, "seisui.png", 0, 24, 24, "holy water"},
      {'L', 9, "1UP.png", 0, 24, 24, "extra life"},
      {'s', 10, "slim01.png", 12, 24, 11, "green slime: walks, falls off ledges"},
      {'r', 11, "rslim01.png", 12, 24, 11, "red slime: walks, turns at ledges"},
      {'y', 12, "yslim01.png", 12, 24, 11, "yellow slime: bobs up and down 48 pixels"},
      {'X', 13, "brhari2.png", 0, 24, 24, "spike block flying left and right between walls"},
      {'V', 14, "brhari2.png", 0, 24, 24, "spike block flying up and down between walls"},
      {'Z', 15, "brhari2.png", 0, 24, 24, "spike block bouncing diagonally"},
      {'~', 16, "bar.png", 0, 48, 4, "platform: left and right between walls"},
      {'u', 17, "bar.png", 0, 48, 4, "lift: rises, wraps from the top of the stage to the bottom"},
      {'d', 18, "bar.png", 0, 48, 4, "lift: sinks, wraps from the bottom of the stage to the top"},
      {'>', 19, "bar.png", 0, 48, 4, "platform: swings 48 pixels each way, right first"},
      {'v', 20, "bar.png", 0, 48, 4, "platform: bobs 48 pixels each way, down first"},
      {'_', 21, "bar.png", 0, 48, 4, "platform that falls once stood on"},
      {'\\', 22, "bar.png", 0, 48, 4, "platform: diagonal, down-right first"},
      {'/', 23, "bar.png", 0, 48, 4, "platform: diagonal, down-left first"},
      {'f', 24, "fireitem.png", 0, 24, 24, "fire shots +5"},
      {'F', 25, "fireitem15.png", 0, 24, 24, "fire shots +15"},
      {'i', 26, "iceitem.png", 0, 24, 24, "ice shots +5"},
      {'I', 27, "iceitem15.png", 0, 24, 24, "ice shots +15"},
      {'1', 28, "item.png", 0, 24, 24, "item block: fire shots +5"},
      {'2', 29, "item.png", 0, 24, 24, "item block: fire shots +15"},
      {'3', 30, "item.png", 0, 24, 24, "item block: ice shots +5"},
      {'4', 31, "item.png", 0, 24, 24, "item block: ice shots +15"},
      {'5', 32, "item.png", 0, 24, 24, "item block: holy water"},
      {'6', 33, "item.png", 0, 24, 24, "item block: extra life"},
      {'G', 34, "goal.png", 0, 24, 24, "goal"},
      {'<', 35, "bar.png", 0, 48, 4, "platform: swings 48 pixels each way, left first"},
      {'A', 36, "bar.png", 0, 48, 4, "platform: bobs 48 pixels each way, up first"},
      {'B', 37, "redbr.png", 0, 24, 24, "indestructible block"},
      {'S', 38, "brhari2.png", 11, 24, 24, "spike walker: walks, falls off ledges"},
      {'R', 39, "brhari2.png", 11, 24, 24, "spike walker: walks, turns at ledges"},
      {'Y', 40, "brhari2.png", 11, 24, 24, "spike walker: bobs up and down 48 pixels"},
  };
  return table;
}

const LegendEntry* find_symbol(char symbol) {
  for (const LegendEntry& e : legend())
    if (e.symbol == symbol) return &e;
  return nullptr;
}

const LegendEntry* find_code(int code) {
  for (const LegendEntry& e : legend())
    if (e.code == code) return &e;
  return nullptr;
}

bool code_is_solid(int code) { return (code >= 1 && code <= 4) || (code >= 28 && code <= 33) || code == 37; }

bool code_is_marker(int code) {
  return (code >= 10 && code <= 23) || code == 35 || code == 36 || (code >= 38 && code <= 40);
}

}  // namespace stagec
