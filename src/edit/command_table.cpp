// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit/command_table.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace pelkor {

namespace {

using C = CommandId;

// The menu texts, help texts and tooltips of the original resources; the standard commands
// keep the standard Japanese texts of the framework they came from.
const std::vector<CommandInfo>& Table() {
  // clang-format off
  static const std::vector<CommandInfo> table = {
      // File
      {C::kNew, "新規作成\tCtrl+N(&N)", "新規にファイルを作成", "新規作成", {"Ctrl+N"}, "new"},
      {C::kOpen, "開く...\tCtrl+O(&O)", "既存のファイルを開く", "開く", {"Ctrl+O"}, "open"},
      {C::kSave, "上書き保存\tCtrl+S(&S)", "アクティブなドキュメントを上書き保存", "上書き保存", {"Ctrl+S"}, "save"},
      {C::kSaveAs, "名前を付けて保存(&A)...", "アクティブなドキュメントを名前を付けて保存", "", {}, ""},
      {C::kSaveAll, "一括保存", "一括保存", "", {}, ""},
      {C::kExportBsp, "DRAVUファイルを出力", "DRAVUファイルを出力", "", {}, ""},
      {C::kLoadModuleFile, "モジュールを読み込む...", "モジュールを読み込みます", "", {}, ""},
      {C::kPrint, "印刷...\tCtrl+P(&P)", "アクティブなドキュメントを印刷", "印刷", {"Ctrl+P"}, "print"},
      {C::kPrintPreview, "印刷プレビュー(&V)", "印刷イメージを表示", "", {}, ""},
      {C::kPrintSetup, "プリンタの設定(&R)...", "プリンタおよびプリンタ オプションの変更", "", {}, ""},
      {C::kRecentFile, "最近使ったファイル", "このドキュメントを開く", "", {}, ""},
      {C::kExit, "アプリケーションの終了(&X)", "アプリケーションを終了し、ファイルの保存を指示", "", {}, ""},
      // Edit
      {C::kUndo, "元に戻す\tCtrl+Z(&U)", "直前に行った動作を元に戻す", "", {"Ctrl+Z", "Alt+Backspace"}, ""},
      {C::kRedo, "やり直し\tCtrl+Y(&R)", "直前に元に戻した動作をやり直す", "", {"Ctrl+Y", "Ctrl+Shift+Z"}, ""},
      {C::kCut, "切り取り\tCtrl+X(&T)", "選択範囲を切り取ってクリップボードに移動", "", {"Ctrl+X", "Shift+Del"}, ""},
      {C::kCopy, "コピー\tCtrl+C(&C)", "選択範囲をコピーしてクリップボードに保存", "", {"Ctrl+C", "Ctrl+Ins"}, ""},
      {C::kPaste, "貼り付け\tCtrl+V(&P)", "クリップボードの内容を挿入", "", {"Ctrl+V", "Shift+Ins"}, ""},
      {C::kSelectAll, "すべて選択\tCtrl+A(&A)", "モジュールのオブジェクトをすべて選択", "", {"Ctrl+A"}, ""},
      {C::kModuleManager, "モジュールマネージャ", "モジュールマネージャ", "", {}, ""},
      {C::kDelete, "削除", "削除", "", {"Del"}, ""},
      {C::kAlign, "整列", "整列", "", {}, ""},
      {C::kEditPrimitive, "編集", "プリミティブの編集", "", {}, ""},
      {C::kLoadModule, "モジュール読み込み", "モジュール読み込み", "", {}, ""},
      // View
      {C::kToolBar, "ツール バー(&T)", "ツール バーの表示/非表示", "", {}, "", true},
      {C::kStatusBar, "ステータス バー(&S)", "ステータス バーの表示/非表示", "", {}, "", true},
      {C::kOutputLog, "アウトプット", "アウトプット表示", "", {}, "", true},
      {C::kShowObjectIds, "オブジェクトIDを表示", "オブジェクトIDを表示", "", {}, "", true},
      {C::kModuleTree, "モジュールツリー表示", "モジュールツリーを表示", "", {}, "", true},
      {C::kWaveform, "波形", "シミュレーションの波形を表示", "", {}, "", true},
      {C::kBreakpointsDock, "ブレークポイント", "ブレークポイントの一覧を表示", "", {}, "", true},
      {C::kGridSnap, "グリッドに合わせる", "置く・動かすオブジェクトをグリッドのマスの中央に合わせる", "", {}, "", true},
      {C::kShowSinkVerdicts, "照合結果を表示", "ケムマキの横に照合の合否を表示", "", {}, "", true},
      {C::kOutputDialog, "アウトプットダイアログ", "アウトプットダイアログ", "アウトプットダイアログ", {}, "output", true},
      // Tools
      {C::kShiftRegisterTool, "シフトレジスタ", "シフトレジスタ", "シフトレジスタ", {"R"}, "shift_register", true},
      {C::kStateMachineTool, "ステートマシン", "ステートマシン", "ステートマシン", {"S"}, "state_machine", true},
      {C::kCounterTool, "カウンタ", "カウンタ", "カウンタ", {"C"}, "counter", true},
      {C::kSourceTool, "ウージ", "ソーストランジション", "ソーストランジション", {"I"}, "source", true},
      {C::kSinkTool, "ケムマキ", "シンクトランジション", "シンクトランジション", {"O"}, "sink", true},
      {C::kArcTool, "アーク", "アーク", "アーク", {"A"}, "arc", true},
      {C::kModuleTool, "モジュール", "モジュール", "モジュール", {"M"}, "module", true},
      {C::kCheck, "コンパイル", "チェック", "チェック", {"F7"}, "check", true},
      {C::kStop, "停止", "シミュレーションの終了", "シミュレーションの終了", {"Shift+F5"}, "stop"},
      {C::kStep, "ステップ実行", "ステップ実行", "ステップ実行", {"F10"}, "step"},
      {C::kStepBack, "1ステップ戻る", "シミュレーションを1ステップ前の状態に戻す", "1ステップ戻る", {"Ctrl+Shift+F10"}, "step_back"},
      {C::kRewind, "先頭に戻る", "シミュレーションをチェック直後の状態に戻す", "", {}, ""},
      {C::kRun, "実行", "アニメーション実行", "アニメーション実行", {"F5"}, "run", true},
      {C::kRunWithoutAnimation, "アニメーションなし実行", "アニメーションなし実行", "アニメーション無し実行", {}, "run_fast", true},
      {C::kPause, "一時停止", "一時停止", "一時停止", {"Pause"}, "pause"},
      {C::kStopAtMismatch, "不一致で停止", "ケムマキが期待と異なる値を受け取ったステップで一時停止",
       "", {}, "", true},
      {C::kToggleBreakpoint, "ブレークポイント", "オブジェクトのブレークポイントを設定・解除", "", {"F9"}, ""},
      {C::kExplainStop, "停止理由", "トークンを持ったまま動けないオブジェクトとその理由を表示", "", {}, ""},
      // Edit tools and the view
      {C::kEraserTool, "消しゴム", "消しゴム", "消しゴム", {}, "eraser", true},
      {C::kMoveTool, "移動", "移動", "移動", {}, "move", true},
      {C::kZoomIn, "拡大", "拡大", "ビューの拡大", {"Ctrl++", "Ctrl+="}, "zoom_in"},
      {C::kZoomOut, "縮小", "縮小", "ビューの縮小", {"Ctrl+-"}, "zoom_out"},
      {C::kZoomToFit, "全体表示", "モジュールのオブジェクト全体を表示", "", {"Ctrl+0"}, ""},
      {C::kUpperModule, "モジュールの選択", "上位モジュールへ移動", "上位モジュールへ移動", {}, "up"},
      // Settings and help
      {C::kSettings, "設定", "pelkorの設定", "", {}, ""},
      {C::kWheelZooms, "ホイールで拡大・縮小", "手前に回すと拡大、奥に回すと縮小", "", {}, "", true},
      {C::kWheelZoomsReversed, "ホイールで拡大・縮小（逆向き）", "奥に回すと拡大、手前に回すと縮小", "", {}, "", true},
      {C::kWheelScrolls, "ホイールでスクロール、Ctrl+ホイールで拡大・縮小", "ホイールでスクロール（Shiftで横）、Ctrl+ホイールで拡大・縮小", "", {}, "", true},
      {C::kAbout, "バージョン情報 pelkor(&A)...", "プログラム情報、バージョン、著作権を表示", "バージョン情報", {}, "about"},
  };
  // clang-format on
  return table;
}

using Items = std::vector<std::optional<CommandId>>;
constexpr std::nullopt_t kSeparator = std::nullopt;

}  // namespace

std::span<const CommandInfo> Commands() {
  return Table();
}

const CommandInfo& CommandInfoOf(CommandId id) {
  const auto& table = Table();
  auto it = std::find_if(table.begin(), table.end(),
                         [id](const CommandInfo& info) { return info.id == id; });
  if (it == table.end())
    throw std::logic_error("a command without an entry in the command table");
  return *it;
}

std::span<const MenuInfo> MainMenu() {
  static const std::vector<MenuInfo> menu = {
      {"ファイル(&F)",
       Items{C::kNew, C::kOpen, C::kSave, C::kSaveAs, kSeparator, C::kSaveAll, C::kExportBsp,
             C::kLoadModuleFile, kSeparator, C::kPrint, C::kPrintPreview, C::kPrintSetup,
             kSeparator, C::kRecentFile, kSeparator, C::kExit}},
      {"編集(&E)", Items{C::kUndo, C::kRedo, kSeparator, C::kCut, C::kCopy, C::kPaste, C::kDelete,
                         kSeparator, C::kSelectAll, kSeparator, C::kModuleManager}},
      {"表示(&V)",
       Items{C::kToolBar, C::kStatusBar, C::kOutputLog, C::kShowObjectIds, C::kModuleTree,
             C::kWaveform, C::kBreakpointsDock, C::kShowSinkVerdicts, kSeparator, C::kGridSnap}},
      {"ツール", Items{C::kShiftRegisterTool, C::kStateMachineTool, C::kCounterTool, C::kSourceTool,
                       C::kSinkTool, C::kArcTool, C::kModuleTool, C::kCheck, C::kStop, C::kStep,
                       C::kStepBack, C::kRewind, C::kRun, C::kRunWithoutAnimation, C::kPause,
                       C::kStopAtMismatch, C::kExplainStop, C::kToggleBreakpoint}},
      {"エディット", Items{C::kEraserTool, C::kMoveTool, C::kZoomIn, C::kZoomOut, C::kZoomToFit,
                           C::kUpperModule}},
      {"設定",
       Items{C::kSettings, kSeparator, C::kWheelZooms, C::kWheelZoomsReversed, C::kWheelScrolls}},
      {"ヘルプ(&H)", Items{C::kAbout}},
  };
  return menu;
}

std::string MenuLabel(std::string_view menuText) {
  const std::size_t tab = menuText.find('\t');
  if (tab == std::string_view::npos)
    return std::string(menuText);
  // The key after the tab is shown from the command's shortcuts; a mnemonic after it stays.
  std::string label(menuText.substr(0, tab));
  const std::size_t mnemonic = menuText.find("(&", tab);
  if (mnemonic != std::string_view::npos)
    label += menuText.substr(mnemonic);
  return label;
}

bool ShortcutOnlyInView(const CommandInfo& info) {
  return !info.shortcuts.empty() &&
         std::all_of(info.shortcuts.begin(), info.shortcuts.end(),
                     [](std::string_view key) { return key.size() == 1 || key == "Del"; });
}

std::span<const std::optional<CommandId>> MainToolBar() {
  static const Items toolbar = {C::kNew,
                                C::kOpen,
                                C::kSave,
                                kSeparator,
                                C::kShiftRegisterTool,
                                C::kStateMachineTool,
                                C::kCounterTool,
                                C::kSourceTool,
                                C::kSinkTool,
                                C::kArcTool,
                                C::kModuleTool,
                                kSeparator,
                                C::kMoveTool,
                                C::kEraserTool,
                                kSeparator,
                                C::kOutputDialog,
                                C::kZoomIn,
                                C::kZoomOut,
                                C::kUpperModule,
                                kSeparator,
                                C::kCheck,
                                C::kRun,
                                C::kRunWithoutAnimation,
                                C::kStep,
                                C::kStepBack,
                                C::kPause,
                                C::kStop,
                                kSeparator,
                                C::kPrint,
                                C::kAbout};
  return toolbar;
}

}  // namespace pelkor
