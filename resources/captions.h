#pragma once
// The program's own texts, character for character (half-width katakana included). UTF-8.

namespace zdz::text {

inline constexpr char kAppTitle[] = "Zoduzazu";
inline constexpr char kStoreApp[] = "Zazedor";
inline constexpr char kStoreSection[] = "Zazedor";
inline constexpr char kChimeFile[] = "Ruvazu.wav";
inline constexpr char kChimeName[] = " Ruvazu.wav";

// Clock window menus.
inline constexpr char kMenFile[] = "ﾌｧｲﾙ(&F)";
inline constexpr char kMenTascIn[] = "ﾀｽｸﾄﾚｲに入れる(&T)";
inline constexpr char kMenTascOut[] = "ﾀｽｸトレイから出す(&T)";
inline constexpr char kMenEnd[] = "プログラム終了(&X)";
inline constexpr char kMenSet[] = "設定(&S)";
inline constexpr char kMenOption[] = "オプション(&O)";
inline constexpr char kMenReg[] = "レジストリ削除(&D)";
inline constexpr char kMenVer[] = "ﾊﾞｰｼﾞｮﾝ情報(&H)";
inline constexpr char kMenVerJ[] = "ﾊﾞｰｼﾞｮﾝ情報(&V)";

// Options dialog.
inline constexpr char kOptionCaption[] = "各種設定";
inline constexpr char kOk[] = "O　K";
inline constexpr char kCancel[] = "ｷｬﾝｾﾙ";
inline constexpr char kFrmDisp[] = "表示形式";
inline constexpr char kOpt12[] = "１２時間表示";
inline constexpr char kOpt24[] = "２４時間表示";
inline constexpr char kFrmStup[] = "ｽﾀｰﾄｱｯﾌﾟ";
inline constexpr char kOptT[] = "ﾀｽｸﾄﾚｲ格納";
inline constexpr char kOptW[] = "ｳｨﾝﾄﾞｳ起動";
inline constexpr char kFrmAlarm[] = "時報設定（.wavﾌｧｲﾙ）";
inline constexpr char kChkAlarm[] = "時報セット";
inline constexpr char kBtnFile[] = "参照";
inline constexpr char kOff[] = "OFF";
inline constexpr char kOn[] = "ON";
inline constexpr char kTest[] = "Test";
inline constexpr char kStop[] = "Stop";
inline constexpr char kCuckooLabel[] = "鳩時計：";
inline constexpr char kWavDialogTitle[] = "WAVE FILEの指定";
inline constexpr char kWavFilter[] = "ウェイブ ファイル (*.wav)|*.wav|";

// Version dialog.
inline constexpr char kAboutCaptionSuffix[] = "のﾊﾞｰｼﾞｮﾝ情報";
inline constexpr char kSysInfoButton[] = "ｼｽﾃﾑ情報(&S)...";
inline constexpr char kCopyrightHolder[] = "著作権者";
inline constexpr char kMakerCopyright[] = "Copyright (C) 2026 Zoduzazu Project";
inline constexpr char kMakerCompany[] = "Zoduzazu Project";
inline constexpr char kMakerTrademark[] = "Zoduzazu";
inline constexpr char kDisclaimer[] =
    "このソフトウェアは日本の著作権法および国際条約により保護されています。"
    "著作者の許可なく、このソフトウェアの全部または一部を複製、頒布、譲渡することは、"
    "著作権の侵害となります。";
inline constexpr char kNoSysInfo[] = "現時点ではｼｽﾃﾑ情報を使用できません";

// Settings that could not be stored or removed, and a start that cannot go on.
inline constexpr char kNotSaved[] = "設定を保存できませんでした。";
inline constexpr char kNotDeleted[] = "設定を削除できませんでした。";
inline constexpr char kNoSpace[] = "ディスクの空き領域が足りません。";
inline constexpr char kNotPermitted[] = "設定の保存先に書き込む権限がありません。";
inline constexpr char kWriteFailed[] = "設定の保存先に書き込めません。";
inline constexpr char kStartStoreFailed[] = "zoduzazu: cannot keep the settings: ";
inline constexpr char kStartNoDisplay[] = "zoduzazu: cannot open the display: ";

}  // namespace zdz::text
