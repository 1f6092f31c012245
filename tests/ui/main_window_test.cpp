#include <QtTest>

#include "ui/main_window.h"

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheApplicationTitle() {
    pelkor::MainWindow window;
    QCOMPARE(window.windowTitle(), QString("pelkor"));
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
