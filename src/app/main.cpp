// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QCommandLineParser>
#include <filesystem>

#include "files/recovery_store.h"
#include "files/settings_location.h"
#include "ui/draw_list_painter.h"
#include "ui/main_window.h"
#include "ui/qt_translations.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  pelkor::InstallFontSubstitutions();
  pelkor::InstallQtTranslations(app);
  QApplication::setApplicationName("pelkor");
  QApplication::setApplicationVersion("1.03");
  QCommandLineParser parser;
  parser.setApplicationDescription("ビットシリアルペトリネットのエディタとシミュレータ");
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument("design", "開く設計ファイル (.dtn)", "[DESIGN.dtn]");
  const QCommandLineOption settingsOption(
      "settings", "設定ファイル (既定: 実行ファイルの横の pelkor.ini)", "FILE");
  parser.addOption(settingsOption);
  parser.process(app);

  const std::filesystem::path settings =
      parser.isSet(settingsOption)
          ? std::filesystem::absolute(parser.value(settingsOption).toStdString())
          : pelkor::SettingsFilePath(pelkor::ExecutableDirectory());
  pelkor::MainWindow window(settings);
  window.show();
  // A restored design is not dropped for the one named on the command line.
  window.workspace().EnableBreakpointStore(pelkor::BreakpointFolderPath());
  const bool restored = window.StartRecovery(pelkor::RecoveryFolderPath());
  if (!restored && !parser.positionalArguments().isEmpty()) {
    // Resolved against the folder the program was started from.
    const std::filesystem::path design(parser.positionalArguments().front().toStdString());
    window.OpenDesign(std::filesystem::absolute(design));
  }
  return QApplication::exec();
}
