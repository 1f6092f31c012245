// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/print_commands.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "ui/dialogs/dialog_message.h"
#include "ui/module_printing.h"
#include "ui/print_scale_dialog.h"
#include "ui/qt_values.h"
#include "workspace/workspace.h"

namespace pelkor {

PrintCommands::PrintCommands(Workspace& workspace, QWidget* dialogParent)
    : workspace_(workspace), dialogParent_(dialogParent) {}

PrintCommands::~PrintCommands() = default;

QPrinter& PrintCommands::printer() {
  if (printer_ == nullptr)
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

QString PrintCommands::OutputFileOffered() const {
  // Only the name's last part, so that the file stays in the design folder.
  const std::filesystem::path name(workspace_.library().currentInstance().name + ".pdf");
  return ToQString((workspace_.designFolder() / name.filename()).string());
}

void PrintCommands::OfferOutputFile() {
  QPrinter& target = printer();
  // Naming a ".pdf" file turns the printer to PDF output; a printer chosen before is kept.
  const bool toPrinter = target.outputFormat() == QPrinter::NativeFormat;
  const QString printerName = target.printerName();
  target.setOutputFileName(OutputFileOffered());
  if (toPrinter)
    target.setPrinterName(printerName);
}

void PrintCommands::PrintOn(QPrinter& target) {
  const std::string& name = workspace_.library().currentInstance().name;
  target.setDocName(ToQString(name));
  if (PrintPicture(target, workspace_.PictureDrawing(scale_.zoomLevel), name, scale_))
    return;
  const QString file = target.outputFileName();
  ShowDialogMessage(dialogParent_, target.outputFormat() == QPrinter::PdfFormat && !file.isEmpty()
                                       ? QString("%1に書き込めませんでした").arg(file)
                                       : QString("印刷を開始できませんでした"));
}

void PrintCommands::Print() {
  if (!AskPrintScale(dialogParent_, scale_))
    return;
  OfferOutputFile();
  QPrintDialog dialog(&printer(), dialogParent_);
  if (dialog.exec() == QDialog::Accepted)
    PrintOn(printer());
}

void PrintCommands::Preview() {
  if (!AskPrintScale(dialogParent_, scale_))
    return;
  QPrintPreviewDialog preview(&printer(), dialogParent_);
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                   [this](QPrinter* target) { PrintOn(*target); });
  preview.exec();
}

void PrintCommands::PageSetup() {
  QPageSetupDialog dialog(&printer(), dialogParent_);
  dialog.exec();
}

}  // namespace pelkor
