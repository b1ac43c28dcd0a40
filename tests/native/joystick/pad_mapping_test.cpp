#include "joystick/pad_mapping.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

TEST(AxisDirection, CentredInsideAQuarterOfTheRangeAndSignedOutside) {
  struct Case {
    int32_t value, min, max;
    int direction;
  };
  const Case cases[] = {
      // DirectInput range set by the module: dead zone -250 .. +250.
      {0, -1000, 1000, 0},       {250, -1000, 1000, 0},     {251, -1000, 1000, 1},
      {-250, -1000, 1000, 0},    {-251, -1000, 1000, -1},   {1000, -1000, 1000, 1},
      {-1000, -1000, 1000, -1},
      // An unsigned range (0 .. 65535, centre 32767.5): the zone is 8191.875 wide each way.
      {32767, 0, 65535, 0},      {40959, 0, 65535, 0},      {40960, 0, 65535, 1},
      {24576, 0, 65535, 0},      {24575, 0, 65535, -1},     {0, 0, 65535, -1},
      {65535, 0, 65535, 1},
      // The widest range does not overflow.
      {INT32_MIN, INT32_MIN, INT32_MAX, -1}, {INT32_MAX, INT32_MIN, INT32_MAX, 1},
      {0, INT32_MIN, INT32_MAX, 0},
      // A range that is empty or reversed reads as centred.
      {5, 3, 3, 0},              {900, 1000, -1000, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(torv::axis_direction(c.value, c.min, c.max), c.direction)
        << c.value << " in " << c.min << ".." << c.max;
  }
}

TEST(PovDirection, EightPositionsAndCentred) {
  struct Case {
    uint32_t pov;
    int dx, dy;
  };
  const Case cases[] = {
      {0, 0, -1},     {4500, 1, -1},  {9000, 1, 0},   {13500, 1, 1}, {18000, 0, 1},
      {22500, -1, 1}, {27000, -1, 0}, {31500, -1, -1}, {35999, 0, -1}, {2249, 0, -1},
      {2250, 1, -1},  {0xFFFF, 0, 0}, {0xFFFFFFFF, 0, 0}, {36000, 0, 0},
  };
  for (const Case& c : cases) {
    int dx = 9, dy = 9;
    torv::pov_direction(c.pov, &dx, &dy);
    EXPECT_EQ(dx, c.dx) << c.pov;
    EXPECT_EQ(dy, c.dy) << c.pov;
  }
}

TEST(PackXy, XInTheLowHalfYInTheHighHalfBothSigned) {
  struct Case {
    int32_t x, y;
  };
  const Case cases[] = {{0, 0}, {-1, 0}, {1, 0}, {0, -1}, {0, 1}, {-1, -1}, {1, 1}, {-1, 1}};
  for (const Case& c : cases) {
    const int64_t v = torv::pack_xy(c.x, c.y);
    // How the game splits it.
    EXPECT_EQ(static_cast<int32_t>(static_cast<uint32_t>(v & 0xFFFFFFFF)), c.x);
    EXPECT_EQ(static_cast<int32_t>(v >> 32), c.y);
  }
  EXPECT_EQ(torv::pack_xy(-1, 0), int64_t{0xFFFFFFFF});
  EXPECT_EQ(torv::pack_xy(0, -1), static_cast<int64_t>(0xFFFFFFFF00000000ull));
}

// A pad the test moves by hand; `attached` false reads as unplugged.
class FakePad : public torv::IPadSource {
public:
  explicit FakePad(torv::PadState* state, bool* attached, int* polls)
      : state_(state), attached_(attached), polls_(polls) {}
  bool Poll(torv::PadState* out) override {
    ++*polls_;
    if (!*attached_) return false;
    *out = *state_;
    return true;
  }

private:
  torv::PadState* state_;
  bool* attached_;
  int* polls_;
};

class PadReader : public testing::Test {
protected:
  void SetUp() override { reader_.SetSource(std::make_unique<FakePad>(&state_, &attached_, &polls_)); }
  int X() { return static_cast<int32_t>(static_cast<uint32_t>(reader_.GetJoyXY() & 0xFFFFFFFF)); }
  int Y() { return static_cast<int32_t>(reader_.GetJoyXY() >> 32); }

  torv::PadState state_;
  bool attached_ = true;
  int polls_ = 0;
  torv::CPadReader reader_;
};

TEST_F(PadReader, AxesGiveDirectionsAndTheHatStandsInWhileAnAxisIsCentred) {
  struct Case {
    int32_t x, y;
    uint32_t pov;
    int want_x, want_y;
  };
  const Case cases[] = {
      {0, 0, torv::kPovCentred, 0, 0},  {-900, 0, torv::kPovCentred, -1, 0}, {0, 700, torv::kPovCentred, 0, 1},
      {800, -800, torv::kPovCentred, 1, -1}, {100, -100, torv::kPovCentred, 0, 0},
      {0, 0, 9000, 1, 0},               {0, 0, 31500, -1, -1},
      {-900, 0, 9000, -1, 0},  // the stick wins over the hat on the same axis
      {0, 900, 0, 0, 1},
      {-900, 0, 18000, -1, 1},  // and each axis is decided on its own
  };
  for (const Case& c : cases) {
    state_.x = c.x;
    state_.y = c.y;
    state_.pov = c.pov;
    EXPECT_EQ(X(), c.want_x) << c.x << "," << c.y << " hat " << c.pov;
    EXPECT_EQ(Y(), c.want_y) << c.x << "," << c.y << " hat " << c.pov;
  }
}

TEST_F(PadReader, ButtonsReadTheHighBitAndTheLowestHeldIsReported) {
  EXPECT_EQ(reader_.GetJoy(), -1);
  state_.buttons[5] = 0x80;
  state_.buttons[3] = 0x01;  // only the high bit means held
  state_.buttons[127] = 0xFF;
  EXPECT_EQ(reader_.GetJoy(), 5);
  EXPECT_NE(reader_.GetJoyBtn(5), 0);
  EXPECT_EQ(reader_.GetJoyBtn(3), 0);
  EXPECT_NE(reader_.GetJoyBtn(127), 0);
  for (int outside : {-1, 128, 255, 1000, INT_MIN}) EXPECT_EQ(reader_.GetJoyBtn(outside), 0) << outside;
  state_.buttons[5] = 0;
  EXPECT_EQ(reader_.GetJoy(), 127);
}

TEST_F(PadReader, EveryQueryPollsThePadAfresh) {
  reader_.GetJoyXY();
  reader_.GetJoyBtn(0);
  reader_.GetJoy();
  EXPECT_EQ(polls_, 3);
  EXPECT_EQ(reader_.GetJoyBtn(500), 0);
  EXPECT_EQ(polls_, 3) << "a button number no pad has needs no poll";
}

TEST_F(PadReader, AnUnpluggedPadReadsCentredAndReleasedAndComesBack) {
  state_.x = -1000;
  state_.buttons[0] = 0x80;
  EXPECT_EQ(X(), -1);
  attached_ = false;
  EXPECT_EQ(reader_.GetJoyXY(), 0);
  EXPECT_EQ(reader_.GetJoyBtn(0), 0);
  EXPECT_EQ(reader_.GetJoy(), -1);
  attached_ = true;
  EXPECT_EQ(X(), -1);
  EXPECT_EQ(reader_.GetJoy(), 0);
}

TEST(PadReaderWithoutPad, AnswersNothingHeld) {
  torv::CPadReader reader;
  EXPECT_FALSE(reader.HasSource());
  EXPECT_EQ(reader.GetJoyXY(), 0);
  for (int b = 0; b < 256; ++b) ASSERT_EQ(reader.GetJoyBtn(b), 0) << b;
  EXPECT_EQ(reader.GetJoy(), -1);
}

}  // namespace
