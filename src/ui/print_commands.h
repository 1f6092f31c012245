// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "view/print_layout.h"

class QPrinter;
class QString;
class QWidget;

namespace pelkor {

class Workspace;

// Printing the module shown: the print dialog, its preview and the page setup share one printer
// and one choice of scale, so what the user chose stays for the session.
class PrintCommands {
 public:
  PrintCommands(Workspace& workspace, QWidget* dialogParent);
  ~PrintCommands();
  PrintCommands(const PrintCommands&) = delete;
  PrintCommands& operator=(const PrintCommands&) = delete;

  // Each asks for the scale first; nothing is printed when the user cancels a dialog.
  void Print();
  void Preview();
  void PageSetup();

  QPrinter& printer();
  const PrintScale& scale() const { return scale_; }

 private:
  // The output file the print dialog offers: the module shown, as a PDF in the design folder.
  QString OutputFileOffered() const;
  void OfferOutputFile();
  void PrintOn(QPrinter& target);

  Workspace& workspace_;
  QWidget* dialogParent_;
  std::unique_ptr<QPrinter> printer_;  // made when first used
  PrintScale scale_;
};

}  // namespace pelkor
