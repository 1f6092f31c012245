// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/state_machine_dialog.h"

#include <QActionGroup>
#include <QEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

#include "ui/dialogs/dialog_message.h"
#include "ui/held_press.h"
#include "ui/qt_values.h"
#include "ui/resources.h"
#include "ui/sketch_painter.h"
#include "ui/state_ex_dialog.h"

namespace pelkor {

namespace {

// The drawing surface: shows the editor's sketch inside a one-pixel frame and hands the
// mouse to the editor.
class SketchSurface : public QWidget {
 public:
  SketchSurface(StateMachineEditor& editor, QWidget* parent) : QWidget(parent), editor_(editor) {
    setObjectName("surface");
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Mid));
    painter.setRenderHint(QPainter::Antialiasing);
    PaintSketch(painter, editor_.sketch());
  }
  void resizeEvent(QResizeEvent*) override { editor_.ResizeSurface(width(), height()); }
  void mousePressEvent(QMouseEvent* event) override {
    heldPress_.Flush();
    if (event->button() != Qt::LeftButton)
      return;
    const Point point = ToPoint(event->position().toPoint());
    if (editor_.PressCompletesArc(point)) {
      heldPress_.Hold([this, point] {
        editor_.Press(point);
        update();
      });
      return;
    }
    editor_.Press(point);
    update();
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    editor_.Move(ToPoint(event->position().toPoint()));
    update();
  }
  void mouseDoubleClickEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton)
      return;
    editor_.DoubleClick(ToPoint(event->position().toPoint()), heldPress_.Drop());
    update();
  }
  // Before the pointer can reach a button, a tool or a menu.
  void leaveEvent(QEvent*) override { heldPress_.Flush(); }

 private:
  StateMachineEditor& editor_;
  HeldPress heldPress_{this};
};

StateDialogValues RunStateExDialog(QWidget* parent, const StateDialogValues& values) {
  StateExDialog dialog(values, parent);
  dialog.exec();
  return dialog.values();
}

}  // namespace

StateMachineDialog::StateMachineDialog(const StateMachine& machine, EditorUi& arcNames,
                                       QWidget* parent)
    : QDialog(parent),
      arcNames_(arcNames),
      editor_(machine, *this),
      stateDialog_(RunStateExDialog) {
  InitDesktopResources();
  setWindowTitle("ステートマシン");
  setSizeGripEnabled(true);

  auto* menuBar = new QMenuBar(this);
  QMenu* toolMenu = menuBar->addMenu("ツール");
  toolMenu->setObjectName("toolMenu");
  client_ = new QWidget(this);
  client_->installEventFilter(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(menuBar);
  layout->addWidget(client_);

  toolBar_ = new QToolBar(client_);
  toolBar_->setIconSize(QSize(16, 16));
  auto* group = new QActionGroup(this);
  QAction* arc = AddTool("arcTool", "アーク", "接続", ":/icons/arc.svg", MachineTool::kArc);
  QAction* state = AddTool("stateTool", "ステート", "ステートマシン", ":/icons/machine_state.svg",
                           MachineTool::kState);
  QAction* eraser =
      AddTool("eraserTool", "消しゴム", "消しゴム", ":/icons/eraser.svg", MachineTool::kEraser);
  for (QAction* action : {arc, state, eraser}) {
    group->addAction(action);
    toolMenu->addAction(action);
  }
  toolBar_->addActions({state, arc, eraser});
  connect(toolMenu, &QMenu::aboutToShow, this, &StateMachineDialog::ShowTool);

  QMenu* editMenu = menuBar->addMenu("編集");
  editMenu->setObjectName("editMenu");
  const auto addEdit = [&](const char* name, const QString& text, QKeySequence key, auto edit) {
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    action->setShortcut(key);
    connect(action, &QAction::triggered, this, [this, edit] {
      (editor_.*edit)();
      surface_->update();
    });
    editMenu->addAction(action);
    addAction(action);  // the key works with the menu closed
  };
  addEdit("undo", "元に戻す", QKeySequence::Undo, &StateMachineEditor::Undo);
  addEdit("deleteArc", "削除", QKeySequence::Delete, &StateMachineEditor::DeleteSelectedArc);

  surface_ = new SketchSurface(editor_, client_);
  okButton_ = new QPushButton("OK", client_);
  okButton_->setObjectName("ok");
  okButton_->setDefault(true);
  cancelButton_ = new QPushButton("キャンセル", client_);
  cancelButton_->setObjectName("cancel");
  for (QPushButton* button : {okButton_, cancelButton_})
    button->setFixedSize(75, 24);
  connect(okButton_, &QPushButton::clicked, this, &StateMachineDialog::accept);
  connect(cancelButton_, &QPushButton::clicked, this, &StateMachineDialog::reject);

  setMinimumSize(240, 200);
  resize(640, 480);
}

QAction* StateMachineDialog::AddTool(const char* name, const QString& text, const QString& toolTip,
                                     const QString& icon, MachineTool tool) {
  auto* action = new QAction(QIcon(icon), text, this);
  action->setObjectName(name);
  action->setToolTip(toolTip);
  action->setCheckable(true);
  connect(action, &QAction::triggered, this, [this, tool] {
    editor_.ChooseTool(tool);
    ShowTool();
    surface_->update();
  });
  tools_.emplace_back(action, tool);
  return action;
}

void StateMachineDialog::ShowTool() {
  for (const auto& [action, tool] : tools_)
    action->setChecked(tool == editor_.tool());
}

bool StateMachineDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == client_ && event->type() == QEvent::Resize)
    LayOut();
  return QDialog::eventFilter(watched, event);
}

void StateMachineDialog::LayOut() {
  const StateMachineDialogLayout layout =
      LayOutStateMachineDialog(client_->width(), client_->height());
  toolBar_->setGeometry(0, 0, client_->width(), 32);
  const Rect& s = layout.surface;
  surface_->setGeometry(s.left, s.top, s.right - s.left, s.bottom - s.top);
  okButton_->move(ToQPoint(layout.ok));
  cancelButton_->move(ToQPoint(layout.cancel));
}

void StateMachineDialog::accept() {
  editor_.Accept();
  QDialog::accept();
}

void StateMachineDialog::reject() {
  editor_.Cancel();
  QDialog::reject();
}

std::optional<std::string> StateMachineDialog::ChooseArcName(const std::vector<std::string>& names,
                                                             const std::string& preset) {
  return arcNames_.ChooseArcPort(names, preset);
}

StateDialogValues StateMachineDialog::EditState(const StateDialogValues& values) {
  return stateDialog_(this, values);
}

void StateMachineDialog::Warn(const std::string& text) {
  ShowDialogMessage(this, ToQString(text));
}

}  // namespace pelkor
