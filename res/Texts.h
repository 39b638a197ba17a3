#pragma once
// Every text a user sees. Sources are UTF-8; the Windows build turns them into code page 932
// (-fexec-charset=CP932), the bytes the ANSI calls expect.
namespace kuvella::texts {

inline constexpr char kAppTitle[] = "Kuvella";
inline constexpr char kMainCaption[] = "Kuvella 1.2";
inline constexpr char kTipActive[] = "Kuvella";
inline constexpr char kTipPaused[] = "Kuvella(休憩中)";

inline constexpr char kMenuSettings[] = "設定(&S)";
inline constexpr char kMenuAbout[] = "バージョン情報(&A)...";
inline constexpr char kMenuExit[] = "終了(&X)";

inline constexpr char kFontName[] = "ＭＳ Ｐゴシック";

inline constexpr char kErrTimer[] = "タイマーを取得できません";
inline constexpr char kErrMenu[] = "システム リソースが足りません";
inline constexpr char kErrWriteFmt[] = " に書き込めません";   // after the path
inline constexpr char kErrNotIntegerTail[] = "' は整数ではありません";  // after "'" and the text

inline constexpr char kWaveTitle[] = "WAVファイル";
// The filter's "|" separators become NULs when the dialog is filled in.
inline constexpr char kWaveFilter[] = "WAVサウンド (*.wav)|*.wav";
inline constexpr char kWaveDefExt[] = "wav";

inline constexpr char kDefaultSound[] = "snap.wav";
inline constexpr char kReadme[] = "readme.txt";
inline constexpr char kIniSection[] = "Setting";
inline constexpr char kKeyLevel[] = "MagneticLevel";
inline constexpr char kKeySoundFile[] = "SoundFile";
inline constexpr char kKeySoundEnable[] = "SoundEnable";

// The description in the settings window.
inline constexpr const char* kMemoLines[] = {
    "Kuvella君を有効にするとウィンドウを移動した時、近く（有効範囲",
    "内のウィンドウにピッタリくっつきます。",
    "",
    "不具合の報告やご要望は：",
    "　readme.txt の連絡先までお寄せください",
    "最新情報は：",
    "　readme.txt をご覧ください",
};

}  // namespace kuvella::texts
