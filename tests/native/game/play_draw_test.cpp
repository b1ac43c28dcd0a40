#include "game/play_draw.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include "game/camera.h"
#include "game/game_texts.h"
#include "game/play_texts.h"
#include "play_fakes.h"
#include "tests/native/cp932_iconv.h"

namespace torv {
namespace {

using test::DrawCall;
using test::FakeServices;
using test::RecordingCanvas;

// Decodes Shift-JIS with the C library's converter, independently of the game.
std::string sjis_to_utf8(const std::string& sjis) {
  iconv_t cd = test::open_from_cp932("UTF-8");
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
  std::string in = sjis;
  std::string out(in.size() * 4 + 4, '\0');
  char* src = in.data();
  char* dst = out.data();
  size_t src_left = in.size(), dst_left = out.size();
  const size_t r = iconv(cd, &src, &src_left, &dst, &dst_left);
  iconv_close(cd);
  EXPECT_NE(r, static_cast<size_t>(-1)) << "not valid Shift-JIS";
  out.resize(out.size() - dst_left);
  return out;
}

TEST(PlayTexts, AreTheShiftJisOfTheirJapaneseTexts) {
  struct Case {
    const char* sjis;
    const char* utf8;
  };
  const Case cases[] = {
      {text::kStatusLine1, "Life:%03d 聖水:%02d 残り時間:%03d 攻撃モード:"},
      {text::kStatusFire, "炎 X %03d"},
      {text::kStatusIce, "氷 X %03d"},
      {text::kStatusClose, "近距離"},
      {text::kPauseResume, "再開"},
      {text::kPauseSave, "セーブ(ファイル%d (左右キーで切り替え))"},
      {text::kPauseToTitle, "タイトルへ戻る"},
      {text::kPauseSaved, "セーブ完了！ ▽"},
  };
  for (const Case& c : cases) EXPECT_EQ(sjis_to_utf8(c.sjis), c.utf8);
}

class DrawTest : public testing::Test {
protected:
  void SetUp() override {
    state = test::state_on(test::flat_stage(), services, 1000);
    update_camera(state.player);
  }
  FakeServices services;
  RecordingCanvas canvas{services};
  GameState state;
};

TEST_F(DrawTest, StatusBarLines) {
  struct Case {
    int lives, holy, frames, mode, fire, ice, score, stage, fps;
    const char* title;
    const char* line1;
    const char* line2;
  };
  const Case cases[] = {
      {5, 7, 18000, kModeFire, 15, 0, 1234, 3, 60, "Forest", "Life:005 聖水:07 残り時間:300 攻撃モード:炎 X 015",
       "FPS:60/60 Point:000001234 Stage0003:Forest"},
      {5, 7, 59, kModeIce, 15, 999, 0, 1, 61, "", "Life:005 聖水:07 残り時間:000 攻撃モード:氷 X 999",
       "FPS:61/60 Point:000000000 Stage0001:"},
      {99, 0, 60, kModeClose, 0, 0, 2000000000, 12, 9, "100%d %s", "Life:099 聖水:00 残り時間:001 攻撃モード:近距離",
       "FPS:09/60 Point:2000000000 Stage0012:100%d %s"},
  };
  for (const Case& c : cases) {
    state.progress.lives = c.lives;
    state.progress.holy_water = c.holy;
    state.player.time_left = c.frames;
    state.player.attack_mode = c.mode;
    state.progress.fire_ammo = c.fire;
    state.progress.ice_ammo = c.ice;
    state.progress.score = c.score;
    state.progress.stage_number = c.stage;
    state.progress.stage_title = c.title;
    EXPECT_EQ(sjis_to_utf8(status_line1(state)), c.line1);
    EXPECT_EQ(status_line2(state, c.fps), c.line2);
  }
}

TEST_F(DrawTest, StatusBarIsDrawnAtTheBottomWithTwoWhiteUncachedLines) {
  draw_status_bar(canvas, state, 60);
  ASSERT_EQ(canvas.calls.size(), 3u);
  const DrawCall& bar = canvas.calls[0];
  EXPECT_EQ(bar.kind, DrawCall::kImageFast);
  EXPECT_EQ(bar.image, kImageStatusBar);
  EXPECT_EQ(bar.x, 0);
  EXPECT_EQ(bar.y, 480 - 48);
  EXPECT_EQ(bar.w, 640);
  EXPECT_EQ(bar.h, 48);
  EXPECT_TRUE(bar.keyed);
  const uint32_t white = canvas.rgb(255, 255, 255);
  for (int i = 1; i <= 2; ++i) {
    const DrawCall& line = canvas.calls[static_cast<size_t>(i)];
    EXPECT_EQ(line.kind, DrawCall::kTextSimple);
    EXPECT_EQ(line.x, 6);
    EXPECT_EQ(line.y, i == 1 ? 442 : 460);
    EXPECT_EQ(line.colour, white);
    EXPECT_FALSE(line.cached);
  }
  EXPECT_EQ(canvas.calls[1].text, status_line1(state));
  EXPECT_EQ(canvas.calls[2].text, status_line2(state, 60));
}

TEST_F(DrawTest, AProtectedPlayerIsDrawnOnlyOnEvenFrames) {
  for (int protection : {0, 88, 89, 1}) {
    canvas.calls.clear();
    state.player.protection_timer = protection;
    draw_frame(canvas, state, 3, 60);
    int player_draws = 0;
    for (const DrawCall& c : canvas.of_kind(DrawCall::kImage)) player_draws += c.w == 16 && c.h == 16;
    EXPECT_EQ(player_draws, protection % 2 == 0 ? 1 : 0) << protection;
    // The frame is bracketed and uses the 14-pixel font.
    EXPECT_EQ(canvas.calls.front().kind, DrawCall::kFont);
    EXPECT_EQ(canvas.calls.front().font_height, 14);
    EXPECT_EQ(canvas.calls.front().text, text::kMenuFont);
    EXPECT_EQ(canvas.calls[1].kind, DrawCall::kBegin);
    EXPECT_EQ(canvas.calls.back().kind, DrawCall::kEnd);
  }
}

TEST_F(DrawTest, WorldDrawsTheHalfSpeedBackgroundAndOnlyKnownVisibleTiles) {
  state.player.camera_x = 100;
  state.player.camera_y = 50;
  // Column 4 (x 96..119) is the first visible one, 4 + 27 = 31 the last; rows 2..20.
  state.grid.set_tile(4, 2, kTileBreakable);
  state.grid.set_tile(31, 20, kTileGoal);
  state.grid.set_tile(3, 5, kTileBreakable);   // left of the view
  state.grid.set_tile(32, 5, kTileBreakable);  // right of the view
  state.grid.set_tile(10, 21, kTileBreakable); // below the view
  state.grid.set_tile(10, 5, kTileHidden);     // no image
  state.grid.set_tile(11, 5, 41);              // unknown codes
  state.grid.set_tile(12, 5, 106);
  state.grid.set_tile(13, 5, 255);
  for (int column = 0; column < kGridColumns; ++column) state.grid.set_tile(column, test::kFloorRow, kTileEmpty);
  state.grid.set_tile(31, 20, kTileGoal);
  draw_world(canvas, state);
  const std::vector<DrawCall> calls = canvas.of_kind(DrawCall::kImageFast);
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].image, kImageBackground);
  EXPECT_EQ(calls[0].src_x, 50);
  EXPECT_EQ(calls[0].src_y, 25);
  EXPECT_EQ(calls[0].w, 640);
  EXPECT_EQ(calls[0].h, 432);
  EXPECT_FALSE(calls[0].keyed);
  EXPECT_EQ(calls[1].image, kTileBreakable);
  EXPECT_EQ(calls[1].x, 4 * 24 - 100);
  EXPECT_EQ(calls[1].y, 2 * 24 - 50);
  EXPECT_TRUE(calls[1].keyed);
  EXPECT_EQ(calls[2].image, kTileGoal);
  EXPECT_EQ(calls[2].x, 31 * 24 - 100);
  EXPECT_EQ(calls[2].y, 20 * 24 - 50);
}

TEST_F(DrawTest, ObjectsAlternateTheirTwoFramesByTheFrameCounter) {
  MovingObject o;
  o.type = kRedSlime;
  o.x = state.player.camera_x + 100;
  o.y = state.player.camera_y + 100;
  o.w = 24;
  o.h = 11;
  o.alive = 1;
  state.objects = {o};
  MovingObject dead = o;
  dead.alive = 0;
  MovingObject away = o;
  away.x += 640;
  state.objects.push_back(dead);
  state.objects.push_back(away);
  struct Case {
    int counter;
    bool frame_a;
  };
  for (Case c : {Case{0, true}, Case{14, true}, Case{15, false}, Case{30, false}, Case{31, true}, Case{44, true},
                 Case{45, false}, Case{60, false}}) {
    canvas.calls.clear();
    draw_objects(canvas, state, c.counter);
    ASSERT_EQ(canvas.calls.size(), 1u) << c.counter;
    EXPECT_EQ(canvas.calls[0].image, (c.frame_a ? kImageObjectFrameA : kImageObjectFrameB) + kRedSlime) << c.counter;
    EXPECT_EQ(canvas.calls[0].x, 100);
    EXPECT_EQ(canvas.calls[0].y, 100);
    EXPECT_EQ(canvas.calls[0].w, 24);
    EXPECT_EQ(canvas.calls[0].h, 11);
  }
}

TEST_F(DrawTest, PlayerSpriteFollowsTheAttack) {
  struct Case {
    int state, kind, pose, anim;
    int image;
  };
  for (Case c : {Case{kAttackNone, -1, 0, 3, kImagePlayerWalk + 3}, Case{kAttackShotPose, 5, 9, 0, 100},
                 Case{kAttackShotPose, -1, 9, 0, 94}, Case{kAttackClose, -1, 50, 2, kImagePlayerClose},
                 Case{kAttackClose, -1, -1, 6, kImagePlayerWalk + 6}}) {
    state.player.attack_state = c.state;
    state.player.attack_kind = c.kind;
    state.player.pose_timer = c.pose;
    state.player.anim_frame = c.anim;
    EXPECT_EQ(player_image(state.player), c.image);
  }
  state.player.attack_state = kAttackShotPose;
  state.player.attack_kind = 6;
  state.player.shot_x = state.player.camera_x + 40;
  state.player.shot_y = state.player.camera_y + 30;
  canvas.calls.clear();
  draw_player(canvas, state, 42);
  ASSERT_EQ(canvas.calls.size(), 2u);
  EXPECT_EQ(canvas.calls[0].image, kImageAttackPose + 6);
  EXPECT_EQ(canvas.calls[0].alpha, 42);
  EXPECT_EQ(canvas.calls[1].image, kImageShots + 6);
  EXPECT_EQ(canvas.calls[1].x, 40);
  EXPECT_EQ(canvas.calls[1].y, 30);
  EXPECT_EQ(canvas.calls[1].w, 8);  // "freezer_u.png" in the fake
  EXPECT_EQ(canvas.calls[1].h, 18);
  EXPECT_EQ(canvas.calls[1].alpha, 42);
}

}  // namespace
}  // namespace torv
