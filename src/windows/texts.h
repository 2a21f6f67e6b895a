#pragma once

// Every text the user sees, in one place, exactly as the program must show it.
namespace Texts {

inline constexpr char kProduct[] = "ZUVORAK";
inline constexpr char kErrorTitle[] = "エラーメッセージ";

// Main window
inline constexpr char kMenuFile[] = "ファイル(&F)";
inline constexpr char kMenuCapture[] = "加工前のファイルを開く(&G)";
inline constexpr char kMenuOpenModel[] = "加工後のファイル開く(&O)";
inline constexpr char kMenuSave[] = "加工ファイルを上書き保存(&S)";
inline constexpr char kMenuSaveAs[] = "加工ファイルを名前を付けて保存(&A)";
inline constexpr char kMenuSaveBitmap[] = "ビットマップを名前を付けて保存(&B)";
inline constexpr char kMenuExport[] = "書き出し(&E)";
inline constexpr char kMenuTurntable[] = "回転アニメーション(&T)";
inline constexpr char kMenuExit[] = "終了(&X)";
inline constexpr char kMenuRecentFiles[] = "最近使ったファイル(&R)";
// "%1" is the entry's number, "%2" the file's path.
inline constexpr char kMenuRecentFile[] = "&%1 %2";
// "%1" is the file's path.
inline constexpr char kRecentFileMissing[]
    = "ファイル %1 が見つかりません。最近使ったファイルの一覧から外しました。";
inline constexpr char kMenuDoOver[] = "やり直し(&R)";
inline constexpr char kMenuQuarterTurn[] = "９０度回転(&D)";
inline constexpr char kMenuMirror[] = "左右反転(&E)";
inline constexpr char kMenuEdit[] = "編集(&U)";
inline constexpr char kUndo[] = "元に戻す";
inline constexpr char kRedo[] = "再実行";
inline constexpr char kMenuColourDepths[] = "色ごとの奥行き(&C)";
inline constexpr char kMenuBrightnessDepths[] = "明るさで奥行き(&B)";
inline constexpr char kMenuView[] = "表示(&V)";
inline constexpr char kMenuLargeView[] = "拡大表示(&L)";
inline constexpr char kMenuCentre[] = "中央に置く(&C)";
inline constexpr char kMenuHelp[] = "ヘルプ(&H)";
inline constexpr char kMenuHelpContents[] = "目次";
inline constexpr char kMenuAbout[] = "バージョン情報";

inline constexpr char kTurnHeading[] = "回転";
inline constexpr char kPositionHeading[] = "表示位置";
inline constexpr char kUp[] = "上";
inline constexpr char kDown[] = "下";
inline constexpr char kLeft[] = "左";
inline constexpr char kRight[] = "右";
inline constexpr char kFrontView[] = "正面";
inline constexpr char kAddDepth[] = "奥行きをつける";
inline constexpr char kAnimation[] = "アニメーション";
inline constexpr char kStopAnimation[] = "アニメを止める";
// Tooltips of the buttons whose caption does not say all; "%1" is the direction, "%2" a number.
inline constexpr char kTurnTip[] = "%1へ %2 度回す";
inline constexpr char kMoveTip[] = "モデルを%1へ %2 ピクセル動かす";
inline constexpr char kFrontViewTip[] = "正面から見る（回転の角度を 0 に戻す）";
inline constexpr char kAnimationTip[] = "上下左右に %1 度まで揺らして見せる。もう一度押すと止まる";
inline constexpr char kDepthSliderTip[] = "奥行きをつけるときの奥行き（%1～%2）";

// What the undo and redo commands name.
inline constexpr char kStepImport[] = "取りこみ";
inline constexpr char kStepDepth[] = "奥行き";
inline constexpr char kStepQuarterTurn[] = "９０度回転";
inline constexpr char kStepMirror[] = "左右反転";
inline constexpr char kStepMove[] = "表示位置";
inline constexpr char kStepCentre[] = "中央に置く";
inline constexpr char kStepColourDepth[] = "色ごとの奥行き";
inline constexpr char kStepBrightnessDepth[] = "明るさで奥行き";

inline constexpr char kSaveChangesQuestion[] = "変更を保存しますか？";
inline constexpr char kSaveChanges[] = "保存";
inline constexpr char kDiscardChanges[] = "保存しない";
inline constexpr char kCancel[] = "キャンセル";
inline constexpr char kNothingImported[]
    = "指定範囲に取りこめる点がありません。\n元に戻すで前のモデルに戻ります。";

// Export submenu and its dialogs; "%1" is a count or a size, "%2" and "%3" too. The kinds'
// own names are in the export library's table of kinds.
inline constexpr char kMenuExportKind[] = "%1(&%2)";
inline constexpr char kExportCaption[] = "書き出し - %1";
inline constexpr char kFilterExportKind[] = "%1 (*.%2)";
inline constexpr char kOptionsCaption[] = "%1 の設定";
inline constexpr char kPlyBinary[] = "バイナリ（リトルエンディアン）(&B)";
inline constexpr char kPlyAscii[] = "テキスト（ASCII）(&T)";
inline constexpr char kPixelSize[] = "1 ピクセルの幅(&P):";
inline constexpr char kDepthScale[] = "奥行き 1 あたりの高さ(&D):";
inline constexpr char kInkHeight[] = "いちばん奥の点の高さ(&I):";
inline constexpr char kBaseThickness[] = "台の厚さ(&B):";
inline constexpr char kReverse[] = "奥の点ほど高くする(&R)";
inline constexpr char kColourGroups[] = "色の数(&C):";
inline constexpr char kNozzle[] = "ノズルの幅(&N):";
inline constexpr char kThicken[] = "線を太くする(&W):";
inline constexpr char kSlicer[] = "スライサー(&L):";
// In the order of the export library's Slicer.
inline constexpr const char *kSlicers[]
    = {"PrusaSlicer / SuperSlicer", "Bambu Studio / OrcaSlicer", "Cura", "標準 3MF"};
inline constexpr char kPrintFindings[]
    = "ノズル %2 mm より細い線の柱: %1 本　柱の高さと線の幅の比の最大: %3";
inline constexpr char kPrintWarning[]
    = "細い線や、幅に比べて高すぎる柱は、うまく印刷できないことがあります。\n"
      "「線を太くする」を使うか、奥行きを小さくしてください。";
inline constexpr char kMillimetres[] = " mm";
inline constexpr char kSolidSize[] = "大きさ: 横 %1 mm × 縦 %2 mm × 高さ %3 mm";
// Each count shows only when it is above 0, after the others with a wide space between.
inline constexpr char kSolidSnapped[] = "格子に合わせた点: %1 個";
inline constexpr char kSolidDropped[] = "重なって省いた点: %1 個";
inline constexpr char kSolidNonFinite[] = "座標が有限でない点: %1 個";
inline constexpr char kSolidCountsSeparator[] = "　";
inline constexpr char kSolidRefused[] = "この設定では書き出せません。";
inline constexpr char kSolidTooThick[]
    = "この設定では厚さが %1 km を超えます。奥行き 1 あたりの高さを小さくしてください。";
inline constexpr char kSolidNoFinitePoint[] = "このモデルには座標が有限の点がありません。";
inline constexpr char kTooLargeForFloats[] = "このモデルの座標はこの形式には大きすぎます。";
inline constexpr char kSolidTooWide[]
    = "このモデルの点は %1 ピクセルを超えて広がっているため、書き出せません。";
inline constexpr char kGroupPoints[] = "%1 点";
inline constexpr char kPointsLeftOut[]
    = "座標が有限でない点、または範囲を超える点 %1 個は書き出していません。";
inline constexpr char kReasonCannotExport[] = "このモデルは書き出せません。";

// Depth by colour and by brightness; "%1" and "%2" are the depth's limits.
inline constexpr char kColourDepthsCaption[] = "色ごとの奥行き";
inline constexpr char kDepthGroups[] = "色の数(&N):";
inline constexpr char kColourDepthsHint[]
    = "奥行き（%1～%2）を入れた色の点がすべてその奥行きになります。空欄の色の点はそのままです。";
inline constexpr char kDepthColumn[] = "奥行き";
inline constexpr char kLeaveDepth[] = "そのまま";
inline constexpr char kBrightnessDepthsCaption[] = "明るさで奥行き";
inline constexpr char kBlackDepth[] = "黒の奥行き(&K):";
inline constexpr char kWhiteDepth[] = "白の奥行き(&W):";
inline constexpr char kBrightnessDepthsHint[]
    = "黒と白の奥行き（%1～%2）を決めると、どの点も色の明るさに比例してその間の奥行きになります。";

// Capture window
inline constexpr char kMenuOpenPicture[] = "開く(&O)";
inline constexpr char kMenuImport[] = "取りこみ(&L)";
inline constexpr char kMenuReduce[] = "縮小して取りこむ(&S)";
inline constexpr char kMenuSelectAll[] = "全体を選択(&A)";
inline constexpr char kSelectionSize[] = "%1 × %2 ピクセル";
inline constexpr char kSelectionTooLarge[] = "指定範囲が大きすぎます";
inline constexpr char kSelectionTooLargeDetail[]
    = "選択は %1 × %2 ピクセル、取りこめるのは %3 × %3 ピクセルまでです。"
      "大きな範囲は「縮小して取りこむ」で取りこめます。";

// Save and open dialogs
inline constexpr char kSaveModelCaption[] = "ファイルの保存";
inline constexpr char kSaveBitmapCaption[] = "ビットマップファイルの保存";
inline constexpr char kOpenCaption[] = "開く";
inline constexpr char kSaveButton[] = "保存";
inline constexpr char kDefaultFileName[] = "title1";
inline constexpr char kOverwriteQuestion[] = " ファイルは既に存在します。上書きしますか？";
inline constexpr char kSavedCaptionSuffix[] = " - ZUVORAK";
inline constexpr char kOpenedCaptionSuffix[] = "- ZUVORAK";

// Large view; "%1" is a number of pixels.
inline constexpr char kLargeViewCaption[] = "ZUVORAK 拡大表示";
inline constexpr char kMenuPointSize[] = "点の大きさ(&P)";
inline constexpr char kMenuPixels[] = "&%1 ピクセル";
inline constexpr char kMenuShading[] = "奥行きの濃淡(&S)";

// Turntable animation file
inline constexpr char kTurntableFileCaption[] = "回転アニメーションの書き出し";
inline constexpr char kTurntableWebPFilter[] = "アニメーション WebP (*.webp)";
inline constexpr char kTurntableGifFilter[] = "アニメーション GIF (*.gif)";
inline constexpr char kTurntableFolderFilter[] = "PNG 連番画像の新しいフォルダー (*/)";
inline constexpr char kTurntableOptionsCaption[] = "回転アニメーションの設定";
inline constexpr char kTurntableMotion[] = "動き(&M):";
inline constexpr char kTurntableFullTurn[] = "一回転";
inline constexpr char kTurntableSwing[] = "アニメーションの揺れ (36 コマ)";
inline constexpr char kTurntableFrames[] = "コマ数(&N):";
inline constexpr char kTurntableSize[] = "大きさ(&Z):";
inline constexpr char kTurntableDelay[] = "1 コマの時間(&T):";
inline constexpr char kTurntablePointSize[] = "点の大きさ(&P):";
inline constexpr char kTurntableShading[] = "奥行きの濃淡(&S)";
inline constexpr char kTurntableAboutCentre[] = "モデルの中心で回す(&C)";
inline constexpr char kPixelsSuffix[] = " ピクセル";
inline constexpr char kMillisecondsSuffix[] = " ミリ秒";
inline constexpr char kTurntableProgress[] = "回転アニメーションを書き出しています…";
inline constexpr char kNothingToDraw[]
    = "このモデルには描ける点（座標が有限で範囲内の点）がありません。";

// Remembered choices; "%1" is the settings file's path.
inline constexpr char kSettingsNotKept[]
    = "設定ファイル %1 "
      "は通常のファイルではないため、設定は読み書きしません。今回は初期設定で動きます。";

// Help
inline constexpr char kHelpCaption[] = "ZUVORAK ヘルプ";
inline constexpr char kHelpMissing[] = "ヘルプファイル %1 が見つかりません。";

// Version box
inline constexpr char kAboutCaption[] = "バージョン情報";
inline constexpr char kAboutVersion[] = "バージョン3.0";

// Why a file could not be used; "%1" is the file's path, "%2" the reason.
inline constexpr char kCannotReadFile[] = "ファイル %1 を読み込めません。\n%2";
inline constexpr char kCannotWriteFile[] = "ファイル %1 に書き込めません。\n%2";
inline constexpr char kReasonNotFound[] = "ファイルが見つかりません。";
inline constexpr char kReasonNotRegularFile[] = "通常のファイルではありません。";
inline constexpr char kReasonTooLarge[]
    = "画像が大きすぎます。縦横 %1 ピクセル、読み込みに %2 MB までの画像を開けます。";
inline constexpr char kReasonTruncated[] = "ファイルが途中で切れています。";
inline constexpr char kReasonTooManyScans[] = "JPEG のスキャンの数が上限の %1 を超えています。";
inline constexpr char kReasonUnreadable[] = "画像として読み込めません。";
inline constexpr char kReasonWriteFailed[] = "書き込みに失敗しました。";
inline constexpr char kReasonCannotOpen[] = "ファイルを開けません。";
inline constexpr char kReasonReadFailed[] = "読み込みに失敗しました。";
// Why the system refused, by its error number.
inline constexpr char kSystemNoSpace[] = "ディスクに空きがありません。";
inline constexpr char kSystemQuotaExceeded[] = "ディスクの使用量が割り当ての上限に達しています。";
inline constexpr char kSystemFileTooLarge[] = "ファイルの大きさが上限を超えます。";
inline constexpr char kSystemAccessDenied[] = "アクセスが許可されていません。";
inline constexpr char kSystemNotPermitted[] = "この操作は許可されていません。";
inline constexpr char kSystemReadOnly[] = "読み取り専用のドライブです。";
inline constexpr char kSystemNameTooLong[] = "ファイル名が長すぎます。";
inline constexpr char kSystemNoSuchEntry[] = "ファイルまたはフォルダーが見つかりません。";
inline constexpr char kSystemNotFolder[] = "パスの途中にフォルダーでないものがあります。";
inline constexpr char kSystemIsFolder[] = "ファイルではなくフォルダーです。";
inline constexpr char kSystemInputOutput[] = "ディスクの読み書きでエラーが起きました。";
inline constexpr char kSystemTooManyOpen[] = "開いているファイルが多すぎます。";
inline constexpr char kSystemNoMemory[] = "メモリーが足りません。";
inline constexpr char kSystemBusy[] = "ファイルが使用中です。";
inline constexpr char kSystemLinkLoop[] = "シンボリックリンクが多すぎます。";
// Why a model file is refused; "%1" is the count of points the file states.
inline constexpr char kReasonNoPointCount[] = "点の数が書かれていません。";
inline constexpr char kReasonNegativePointCount[] = "点の数 %1 が負の値です。";
inline constexpr char kReasonTooManyPoints[] = "点の数 %1 が上限の %2 を超えています。";
inline constexpr char kReasonPointsMissing[] = "%1 個の点のデータがそろっていません。";

} // namespace Texts
