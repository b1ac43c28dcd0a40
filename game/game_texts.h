// The game's fixed Japanese texts as Shift-JIS (code page 932) bytes, the form in
// which Windows shows them. Each constant carries its text in a comment; the tests
// check these bytes against an independent conversion.
#pragma once

namespace torv::text {

// 既に起動しています (second-instance box)
inline constexpr char kAlreadyRunning[] = "\x8A\xF9\x82\xC9\x8BN\x93\xAE\x82\xB5\x82\xC4\x82\xA2\x82\xDC\x82\xB7";
// ゲームクラスの作成に失敗しました (start-up failure box)
inline constexpr char kGameCreateFailed[] = "\x83Q\x81[\x83\x80\x83N\x83\x89\x83X\x82\xCC\x8D\xEC\x90\xAC\x82\xC9\x8E\xB8\x94s\x82\xB5\x82\xDC\x82\xB5\x82\xBD";
// DLLがロード出来ませんでした (an entry point is missing)
inline constexpr char kDllLoadFailed[] = "DLL\x82\xAA\x83\x8D\x81[\x83h\x8Fo\x97\x88\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD";
// 描画DLLの初期化が出来ませんでした (no drawing mode started)
inline constexpr char kDrawInitFailed[] = "\x95`\x89\xE6" "DLL\x82\xCC\x8F\x89\x8A\xFA\x89\xBB\x82\xAA\x8Fo\x97\x88\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD";
// 初期化NG (a sound or image did not load)
inline constexpr char kInitNg[] = "\x8F\x89\x8A\xFA\x89\xBBNG";
// ＭＳ ゴシック (font face of every screen)
inline constexpr char kMenuFont[] = "\x82l\x82r \x83S\x83V\x83" "b\x83N";
// スタート
inline constexpr char kTitleStart[] = "\x83X\x83^\x81[\x83g";
// 続きから(ファイル%d) ステージ%d (slot + 1, stage number)
inline constexpr char kTitleContinueStage[] = "\x91\xB1\x82\xAB\x82\xA9\x82\xE7(\x83t\x83@\x83" "C\x83\x8B%d) \x83X\x83" "e\x81[\x83W%d";
// 続きから(ファイル%d) データ無し (slot + 1)
inline constexpr char kTitleContinueEmpty[] = "\x91\xB1\x82\xAB\x82\xA9\x82\xE7(\x83t\x83@\x83" "C\x83\x8B%d) \x83" "f\x81[\x83^\x96\xB3\x82\xB5";
// キー設定
inline constexpr char kTitleKeyConfig[] = "\x83L\x81[\x90\xDD\x92\xE8";
// 終了
inline constexpr char kTitleExit[] = "\x8FI\x97\xB9";
// ダッシュ
inline constexpr char kRowDash[] = "\x83_\x83" "b\x83V\x83\x85";
// ジャンプ
inline constexpr char kRowJump[] = "\x83W\x83\x83\x83\x93\x83v";
// 攻撃
inline constexpr char kRowAttack[] = "\x8DU\x8C\x82";
// 攻撃変更
inline constexpr char kRowAttackSwitch[] = "\x8DU\x8C\x82\x95\xCF\x8DX";
// 一時停止
inline constexpr char kRowPause[] = "\x88\xEA\x8E\x9E\x92\xE2\x8E~";
// キーボード
inline constexpr char kColumnKeyboard[] = "\x83L\x81[\x83{\x81[\x83h";
// パッド
inline constexpr char kColumnPad[] = "\x83p\x83" "b\x83h";
// カナ
inline constexpr char kKeyKana[] = "\x83J\x83i";
// 漢字
inline constexpr char kKeyKanji[] = "\x8A\xBF\x8E\x9A";
// 変換
inline constexpr char kKeyConvert[] = "\x95\xCF\x8A\xB7";
// 無変換
inline constexpr char kKeyNonConvert[] = "\x96\xB3\x95\xCF\x8A\xB7";
// ←
inline constexpr char kKeyLeft[] = "\x81\xA9";
// ↑
inline constexpr char kKeyUp[] = "\x81\xAA";
// →
inline constexpr char kKeyRight[] = "\x81\xA8";
// ↓
inline constexpr char kKeyDown[] = "\x81\xAB";
// Windows左
inline constexpr char kKeyWindowsLeft[] = "Windows\x8D\xB6";
// Windows右
inline constexpr char kKeyWindowsRight[] = "Windows\x89" "E";
// テンキー %d (digit 0 to 9)
inline constexpr char kKeyNumPadFormat[] = "\x83" "e\x83\x93\x83L\x81[ %d";
// テンキー  (followed by * + - . /)
inline constexpr char kKeyNumPadPrefix[] = "\x83" "e\x83\x93\x83L\x81[ ";

}  // namespace torv::text
