#include "common/pvector.h"

#include <gtest/gtest.h>

namespace {

// Counts live instances so ownership mistakes show up as a wrong count.
struct Tracked {
  static int live;
  int value;
  explicit Tracked(int v) : value(v) { ++live; }
  ~Tracked() { --live; }
};
int Tracked::live = 0;

TEST(PVector, OwnsWhatItHoldsAndReleasesItOnEveryPath) {
  Tracked::live = 0;
  {
    pvector<Tracked> v;
    EXPECT_EQ(v.GetSize(), 0);
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(v.Add(new Tracked(i)));
    EXPECT_EQ(v.GetSize(), 5);
    EXPECT_EQ(v[3]->value, 3);

    v.SetAt(3, new Tracked(30));  // deletes the old element
    EXPECT_EQ(Tracked::live, 5);
    EXPECT_EQ(v[3]->value, 30);

    v.clear();
    EXPECT_EQ(v.GetSize(), 0);
    EXPECT_EQ(Tracked::live, 0);

    v.Add(new Tracked(7));  // usable again after clear
    v.Add(new Tracked(8));
    EXPECT_EQ(v[1]->value, 8);
  }
  EXPECT_EQ(Tracked::live, 0);  // the destructor deletes the rest
}

}  // namespace
