// The play screens' texts as the Shift-JIS (code page 932) bytes the drawing
// module expects, written as byte escapes so that no compiler option changes them.
// Each is preceded by the text and its meaning. (The font face is text::kMenuFont.)
#pragma once

namespace torv::text {

// "Life:%03d 聖水:%02d 残り時間:%03d 攻撃モード:" (lives, holy water, seconds left; the attack mode follows)
inline constexpr char kStatusLine1[] = "Life:%03d \x90\xb9\x90\x85:%02d \x8e\x63\x82\xe8\x8e\x9e\x8a\xd4:%03d \x8d\x55\x8c\x82\x83\x82\x81\x5b\x83\x68:";

// "炎 X %03d" (fire mode with its ammunition)
inline constexpr char kStatusFire[] = "\x89\x8a X %03d";

// "氷 X %03d" (ice mode with its ammunition)
inline constexpr char kStatusIce[] = "\x95\x58 X %03d";

// "近距離" (close-range mode)
inline constexpr char kStatusClose[] = "\x8b\xdf\x8b\x97\x97\xa3";

// "再開" (pause menu: resume)
inline constexpr char kPauseResume[] = "\x8d\xc4\x8a\x4a";

// "セーブ(ファイル%d (左右キーで切り替え))" (pause menu: save to file %d (switch with left and right))
inline constexpr char kPauseSave[] = "\x83\x5a\x81\x5b\x83\x75(\x83\x74\x83\x40\x83\x43\x83\x8b%d (\x8d\xb6\x89\x45\x83\x4c\x81\x5b\x82\xc5\x90\xd8\x82\xe8\x91\xd6\x82\xa6))";

// "タイトルへ戻る" (pause menu: back to the title)
inline constexpr char kPauseToTitle[] = "\x83\x5e\x83\x43\x83\x67\x83\x8b\x82\xd6\x96\xdf\x82\xe9";

// "セーブ完了！ ▽" (the save confirmation)
inline constexpr char kPauseSaved[] = "\x83\x5a\x81\x5b\x83\x75\x8a\xae\x97\xb9\x81\x49 \x81\xa4";

// Plain ASCII texts.
inline constexpr char kStatusLine2[] = "FPS:%02d/60 Point:%09d Stage%04d:%s";
inline constexpr char kPauseTitle[] = " - PAUSE - ";
inline constexpr char kGameOverText[] = "G A M E    O V E R";
inline constexpr char kAllClearText[] = "A L L  C L E A R!!";

}  // namespace torv::text
