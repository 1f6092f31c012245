// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/view_widget.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include "edit/key_codes.h"
#include "view/view_navigation.h"
#include "workspace/workspace.h"

namespace pelkor {

namespace {

Point PointOf(const QPointF& position) {
  return {static_cast<int>(position.x()), static_cast<int>(position.y())};
}

// The view's key code for a Qt key: the ones its rules know, and 0 for any other.
int KeyCode(int key) {
  switch (key) {
    case Qt::Key_Backspace:
      return kBackspaceKey;
    case Qt::Key_Control:
      return kCtrlKey;
    case Qt::Key_Escape:
      return kEscapeKey;
    case Qt::Key_Left:
      return kLeftKey;
    case Qt::Key_Up:
      return kUpKey;
    case Qt::Key_Right:
      return kRightKey;
    case Qt::Key_Down:
      return kDownKey;
    case Qt::Key_Delete:
      return kDeleteKey;
    default:
      return 0;
  }
}

void SetBar(QScrollBar* bar, const ScrollBarState& state) {
  bar->setRange(state.minimum, state.LastPosition());
  bar->setPageStep(state.page);
  bar->setValue(state.position);
}

}  // namespace

ViewWidget::ViewWidget(Workspace& workspace, QWidget* parent)
    : QAbstractScrollArea(parent), workspace_(workspace) {
  setObjectName("view");
  setAcceptDrops(true);
  viewport()->setMouseTracking(true);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);  // the back buffer covers everything
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
          [this](int action) { OnScrollAction(Qt::Horizontal, action); });
  connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
          [this](int action) { OnScrollAction(Qt::Vertical, action); });
  // The view's tooltips are plain white, whatever the desktop's tooltip colour.
  setStyleSheet("QToolTip { background-color: white; color: black; border: 1px solid gray; }");
  tooltipDelay_.setSingleShot(true);
  tooltipDelay_.setInterval(100);
  connect(&tooltipDelay_, &QTimer::timeout, this, &ViewWidget::ShowPendingTooltip);
}

void ViewWidget::UpdateScrollBars() {
  updatingScrollBars_ = true;
  SetBar(horizontalScrollBar(), HorizontalScrollBar(workspace_.view()));
  SetBar(verticalScrollBar(), VerticalScrollBar(workspace_.view()));
  updatingScrollBars_ = false;
}

void ViewWidget::OnScrollAction(Qt::Orientation orientation, int action) {
  const ScrollAxis axis =
      orientation == Qt::Horizontal ? ScrollAxis::kHorizontal : ScrollAxis::kVertical;
  QScrollBar* bar = orientation == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
  ScrollRequest request;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      request = ScrollRequest::kLineBack;
      break;
    case QAbstractSlider::SliderSingleStepAdd:
      request = ScrollRequest::kLineForward;
      break;
    case QAbstractSlider::SliderPageStepSub:
      request = ScrollRequest::kPageBack;
      break;
    case QAbstractSlider::SliderPageStepAdd:
      request = ScrollRequest::kPageForward;
      break;
    case QAbstractSlider::SliderMove:
      request = ScrollRequest::kThumbTrack;
      break;
    default:
      return;
  }
  const int thumb = bar->sliderPosition();
  // After Qt has moved the bar its own way, so that it ends on the view's position.
  QTimer::singleShot(0, this,
                     [this, axis, request, thumb] { workspace_.ScrollView(axis, request, thumb); });
}

void ViewWidget::scrollContentsBy(int, int) {
  // Scrolling is the view state's; the picture is painted anew.
}

void ViewWidget::SetTooltip(const QString& text) {
  tooltipText_ = text;
  if (text.isEmpty()) {
    tooltipDelay_.stop();
    QToolTip::hideText();
  } else {
    tooltipDelay_.start();
  }
}

void ViewWidget::ShowPendingTooltip() {
  if (tooltipText_.isEmpty())
    return;
  QString text = tooltipText_.toHtmlEscaped().replace('\n', "<br>");
  // Long texts wrap at 300 pixels.
  if (QFontMetrics(QToolTip::font()).horizontalAdvance(tooltipText_) > 300)
    text = "<table width=\"300\"><tr><td>" + text + "</td></tr></table>";
  QToolTip::showText(QCursor::pos(), text, viewport(), {}, 10000);
}

void ViewWidget::paintEvent(QPaintEvent*) {
  workspace_.PaintView(frame_);
  replay_.Render(frame_.picture, backBuffer_);
  QPainter painter(viewport());
  painter.drawImage(0, 0, backBuffer_);
  replay_.Paint(painter, frame_.overlay);
  replay_.Paint(painter, workspace_.HoverFrameDrawing());
  const InteractionState& interaction = workspace_.interaction();
  if (interaction.selectingRectangle) {
    QPen band(Qt::black, 1, Qt::DotLine);
    painter.setPen(band);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(QPoint(interaction.anchor.x, interaction.anchor.y),
                           QPoint(interaction.rectangleCorner.x, interaction.rectangleCorner.y))
                         .normalized());
  }
}

void ViewWidget::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  workspace_.ResizeView(viewport()->width(), viewport()->height());
}

void ViewWidget::mousePressEvent(QMouseEvent* event) {
  heldPress_.Flush();
  const Point p = PointOf(event->position());
  if (event->button() == Qt::LeftButton) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (workspace_.PressCompletesArc(p))
      heldPress_.Hold([this, p, ctrl] { workspace_.MousePress(p, ctrl); });
    else
      workspace_.MousePress(p, ctrl);
  } else if (event->button() == Qt::MiddleButton) {
    workspace_.MiddleButtonPress(p);
  }
}

void ViewWidget::mouseMoveEvent(QMouseEvent* event) {
  workspace_.MouseMove(PointOf(event->position()), event->modifiers() & Qt::ControlModifier);
}

void ViewWidget::mouseReleaseEvent(QMouseEvent* event) {
  const Point p = PointOf(event->position());
  switch (event->button()) {
    case Qt::LeftButton:
      workspace_.MouseRelease(p);
      break;
    case Qt::RightButton:
      heldPress_.Flush();
      workspace_.RightButtonRelease(p);
      break;
    case Qt::MiddleButton:
      workspace_.MiddleButtonRelease(p);
      break;
    default:
      break;
  }
}

void ViewWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton)
    return;
  workspace_.MouseDoubleClick(PointOf(event->position()), heldPress_.Drop());
}

bool ViewWidget::event(QEvent* event) {
  // Delete and Backspace reach the tools as keys, which end a drag first, rather than the
  // menu's 削除.
  if (event->type() == QEvent::ShortcutOverride) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
      event->accept();
      return true;
    }
  }
  return QAbstractScrollArea::event(event);
}

void ViewWidget::wheelEvent(QWheelEvent* event) {
  const QPoint angle = event->angleDelta();
  const bool sideways = angle.y() == 0 && angle.x() != 0;  // a tilted wheel or a touchpad
  const QPoint pointer = event->position().toPoint();
  workspace_.TurnWheel({sideways ? angle.x() : angle.y(),
                        {pointer.x(), pointer.y()},
                        (event->modifiers() & Qt::ControlModifier) != 0,
                        sideways || (event->modifiers() & Qt::ShiftModifier) != 0});
  event->accept();
}

void ViewWidget::keyPressEvent(QKeyEvent* event) {
  heldPress_.Flush();
  const int code = KeyCode(event->key());
  if (code == 0 && event->modifiers() != Qt::NoModifier) {
    QAbstractScrollArea::keyPressEvent(event);
    return;
  }
  workspace_.KeyDown(code);
}

void ViewWidget::keyReleaseEvent(QKeyEvent* event) {
  if (!event->isAutoRepeat())
    workspace_.KeyUp(KeyCode(event->key()));
}

void ViewWidget::leaveEvent(QEvent* event) {
  heldPress_.Flush();  // before the pointer can reach a tool button or a menu
  QAbstractScrollArea::leaveEvent(event);
  SetTooltip({});
}

void ViewWidget::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls())
    event->acceptProposedAction();
}

void ViewWidget::dropEvent(QDropEvent* event) {
  std::vector<std::filesystem::path> paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile())
      paths.emplace_back(url.toLocalFile().toStdString());
  }
  if (!paths.empty()) {
    event->acceptProposedAction();
    emit filesDropped(paths);
  }
}

}  // namespace pelkor
