#include <QApplication>
#include <QCommandLineParser>
#include <filesystem>

#include "files/settings_location.h"
#include "ui/main_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("pelkor");
  QApplication::setApplicationVersion("1.03");
  QCommandLineParser parser;
  parser.setApplicationDescription("ビットシリアルペトリネットのエディタとシミュレータ");
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument("design", "開く設計ファイル (.dtn)", "[DESIGN.dtn]");
  parser.process(app);

  pelkor::MainWindow window(pelkor::SettingsFilePath(pelkor::ExecutableDirectory()));
  window.show();
  if (!parser.positionalArguments().isEmpty()) {
    // Resolved against the folder the program was started from.
    const std::filesystem::path design(parser.positionalArguments().front().toStdString());
    window.OpenDesign(std::filesystem::absolute(design));
  }
  return QApplication::exec();
}
