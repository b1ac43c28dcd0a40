#include "product_table.h"

namespace torv {

ProductTable::ProductTable() {
  for (int i = 0; i < 256; ++i)
    for (int j = 0; j < 256; ++j) table_[i][j] = static_cast<uint8_t>(i * j / 255);
}

}  // namespace torv
