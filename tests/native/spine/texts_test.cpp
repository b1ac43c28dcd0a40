#include <gtest/gtest.h>
#include <iconv.h>

#include <map>
#include <string>

#include "game/game_texts.h"
#include "game/key_names.h"
#include "tests/native/cp932_iconv.h"

namespace torv {
namespace {

// UTF-8 to code page 932 by the C library, independently of the byte escapes.
std::string to_cp932(const std::string& utf8) {
  iconv_t cd = test::open_to_cp932("UTF-8");
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
  std::string in = utf8;
  std::string out(in.size() * 2 + 4, '\0');
  char* src = in.data();
  char* dst = out.data();
  size_t src_left = in.size(), dst_left = out.size();
  EXPECT_NE(iconv(cd, &src, &src_left, &dst, &dst_left), static_cast<size_t>(-1)) << utf8;
  iconv_close(cd);
  out.resize(out.size() - dst_left);
  return out;
}

TEST(GameTexts, AreTheShiftJisBytesOfTheirTexts) {
  const struct {
    const char* bytes;
    const char* utf8;
  } cases[] = {
      {text::kAlreadyRunning, "既に起動しています"},
      {text::kGameCreateFailed, "ゲームクラスの作成に失敗しました"},
      {text::kDllLoadFailed, "DLLがロード出来ませんでした"},
      {text::kDrawInitFailed, "描画DLLの初期化が出来ませんでした"},
      {text::kInitNg, "初期化NG"},
      {text::kMenuFont, "ＭＳ ゴシック"},
      {text::kTitleStart, "スタート"},
      {text::kTitleContinueStage, "続きから(ファイル%d) ステージ%d"},
      {text::kTitleContinueEmpty, "続きから(ファイル%d) データ無し"},
      {text::kTitleKeyConfig, "キー設定"},
      {text::kTitleExit, "終了"},
      {text::kRowDash, "ダッシュ"},
      {text::kRowJump, "ジャンプ"},
      {text::kRowAttack, "攻撃"},
      {text::kRowAttackSwitch, "攻撃変更"},
      {text::kRowPause, "一時停止"},
      {text::kColumnKeyboard, "キーボード"},
      {text::kColumnPad, "パッド"},
  };
  for (const auto& c : cases) EXPECT_EQ(std::string(c.bytes), to_cp932(c.utf8)) << c.utf8;
}

TEST(KeyNames, NamedKeysAndEmptyOthers) {
  KeyNameTable names;
  for (auto& entry : names) entry.fill('?');
  build_key_names(names);
  std::map<int, std::string> expected = {
      {8, "BackSpace"}, {9, "TAB"},      {12, "Clear"},     {13, "Enter"},       {16, "Shift"},
      {17, "Ctrl"},     {19, "Pause"},   {20, "CAPS"},      {21, "カナ"},        {25, "漢字"},
      {27, "ESC"},      {28, "変換"},    {29, "無変換"},    {32, "Space"},       {33, "PageUp"},
      {34, "PageDown"}, {35, "End"},     {36, "Home"},      {37, "←"},          {38, "↑"},
      {39, "→"},       {40, "↓"},      {44, "PrintScreen"}, {45, "Insert"},    {46, "Delete"},
      {91, "Windows左"}, {92, "Windows右"}, {93, "Application"}, {106, "テンキー *"},
      {107, "テンキー +"}, {109, "テンキー -"}, {110, "テンキー ."}, {111, "テンキー /"},
      {144, "NumLock"}, {145, "ScrollLock"}, {186, ":"}, {187, ";"}, {188, ","}, {189, "-"},
      {190, "."},       {191, "/"},      {192, "@"},        {219, "["},          {220, "\\"},
      {221, "]"},       {222, "^"},      {226, "\\"},
  };
  for (int d = 0; d <= 9; ++d) {
    expected['0' + d] = std::string(1, static_cast<char>('0' + d));
    expected[96 + d] = "テンキー " + std::to_string(d);
  }
  for (char letter = 'A'; letter <= 'Z'; ++letter) expected[letter] = std::string(1, letter);
  for (int f = 1; f <= 24; ++f) expected[111 + f] = "F" + std::to_string(f);
  for (int code = 0; code < 256; ++code) {
    auto it = expected.find(code);
    const std::string want = it == expected.end() ? "" : to_cp932(it->second);
    EXPECT_EQ(std::string(names[code].data()), want) << "code " << code;
    EXPECT_LE(want.size(), 15u);
  }
}

}  // namespace
}  // namespace torv
