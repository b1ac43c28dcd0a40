// The 256x256 product table of the blending code: entry [i][j] = floor(i * j / 255).
// Every blend in the software back-ends and the string caches reads it, so the one
// builder here is the only definition of the rounding.
#pragma once

#include <cstdint>

namespace torv {

class ProductTable {
public:
  ProductTable();
  const uint8_t* Row(int i) const { return table_[i]; }
  uint8_t operator()(int i, int j) const { return table_[i][j]; }

private:
  uint8_t table_[256][256];
};

}  // namespace torv
