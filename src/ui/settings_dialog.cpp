// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings_dialog.h"

#include <QAbstractSpinBox>
#include <QButtonGroup>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/dialogs/dialog_buttons.h"
#include "ui/dialogs/dialog_message.h"
#include "ui/log_font.h"
#include "ui/qt_values.h"

namespace pelkor {

namespace {

constexpr int kColourPage = 0;
constexpr int kSpeedPage = 1;

// The grid size: an edit that takes any text (the page checks it) with arrows that run from
// 1 to 128.
class GridSizeSpin : public QAbstractSpinBox {
 public:
  explicit GridSizeSpin(QWidget* parent) : QAbstractSpinBox(parent) {}

  void setNumber(int value) { lineEdit()->setText(QString::number(value)); }
  void stepBy(int steps) override { setNumber(StepGridSpin(ToStdString(text()), steps)); }

 protected:
  StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
};

// The font dialog opened at the sheet's font; what it showed at first, with the choice.
std::optional<SettingsDialog::FontAnswer> RunFontDialog(QWidget* parent, const QFont& initial) {
  QFontDialog dialog(parent);
  dialog.setOption(QFontDialog::DontUseNativeDialog);
  // A face this system lacks opens as the face that draws it, so that its style shows too.
  QFont opening = initial;
  if (!QFontDatabase::hasFamily(initial.family()))
    opening.setFamily(QFontInfo(initial).family());
  dialog.setCurrentFont(opening);
  const QFont shown = dialog.currentFont();
  if (dialog.exec() != QDialog::Accepted)
    return std::nullopt;
  return SettingsDialog::FontAnswer{shown, dialog.selectedFont()};
}

int Channel(const ColourChannels& channels, int index) {
  return index == 0 ? channels.red : index == 1 ? channels.green : channels.blue;
}

}  // namespace

SettingsDialog::SettingsDialog(const Settings& settings, QWidget* parent)
    : QDialog(parent), sheet_(settings), fontChooser_(RunFontDialog) {
  setWindowTitle("プロパティシート");
  pages_ = new QTabWidget(this);
  pages_->setObjectName("pages");
  pages_->addTab(MakeColourPage(), "その１");
  pages_->addTab(MakeSpeedPage(), "その２");
  connect(pages_, &QTabWidget::currentChanged, this, &SettingsDialog::PageChanged);

  QWidget* buttons = MakeOkCancelButtons(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages_);
  layout->addWidget(buttons);

  objectList_->setCurrentRow(0);
}

QWidget* SettingsDialog::MakeColourPage() {
  auto* page = new QWidget(this);
  auto* objects = new QGroupBox("オブジェクト", page);
  objectList_ = new QListWidget(objects);
  objectList_->setObjectName("objectList");
  for (const int number : kColourListNumbers)
    objectList_->addItem(ToQString(std::string(ColourLabel(number))));
  connect(objectList_, &QListWidget::currentRowChanged, this, &SettingsDialog::LoadEntry);
  auto* objectsLayout = new QVBoxLayout(objects);
  objectsLayout->addWidget(objectList_);

  auto* grid = new QGridLayout;
  const char* const names[] = {"red", "green", "blue"};
  const char* const labels[] = {"R", "G", "B"};
  for (int channel = 0; channel < 3; ++channel) {
    auto* slider = new QSlider(Qt::Horizontal, page);
    slider->setObjectName(QString(names[channel]) + "Slider");
    slider->setRange(kColourChannelRange.low, kColourChannelRange.high);
    auto* edit = new QLineEdit(page);
    edit->setObjectName(QString(names[channel]) + "Edit");
    edit->setFixedWidth(48);
    connect(slider, &QSlider::valueChanged, this, &SettingsDialog::SlidersMoved);
    connect(edit, &QLineEdit::textEdited, this, [this, channel] { ChannelTyped(channel); });
    grid->addWidget(new QLabel(labels[channel], page), channel, 0);
    grid->addWidget(slider, channel, 1);
    grid->addWidget(edit, channel, 2);
    sliders_[channel] = slider;
    channelEdits_[channel] = edit;
  }

  // A number out of range is refused as it is typed; the slider keeps the last good one.
  channelRefusal_ = new QLabel(ToQString(RangeMessage(kColourChannelRange)), page);
  channelRefusal_->setObjectName("channelRefusal");
  channelRefusal_->setStyleSheet("color: #c00000");
  channelRefusal_->setWordWrap(true);
  channelRefusal_->hide();

  sample_ = new QFrame(page);
  sample_->setObjectName("colourSample");
  sample_->setFrameShape(QFrame::Box);
  sample_->setFixedSize(57, 40);
  sample_->setAutoFillBackground(true);
  auto* fontButton = new QPushButton("フォント設定", page);
  fontButton->setObjectName("fontButton");
  connect(fontButton, &QPushButton::clicked, this, &SettingsDialog::ChooseFont);
  auto* sampleRow = new QHBoxLayout;
  sampleRow->addWidget(sample_);
  sampleRow->addStretch();
  sampleRow->addWidget(fontButton);

  auto* gridSizeEdit = new GridSizeSpin(page);
  gridSizeEdit->setObjectName("gridSizeEdit");
  gridSizeEdit->setNumber(sheet_.gridSize);
  gridSizeEdit->setFixedWidth(72);
  gridSizeEdit_ = gridSizeEdit;
  auto* defaultButton = new QPushButton("デフォルト", page);
  defaultButton->setObjectName("defaultButton");
  connect(defaultButton, &QPushButton::clicked, this, &SettingsDialog::RestoreDefaults);
  auto* gridRow = new QHBoxLayout;
  gridRow->addWidget(new QLabel("エディット幅", page));
  gridRow->addWidget(gridSizeEdit);
  gridRow->addStretch();
  gridRow->addWidget(defaultButton);

  auto* right = new QVBoxLayout;
  right->addLayout(grid);
  right->addWidget(channelRefusal_);
  right->addSpacing(8);
  right->addLayout(sampleRow);
  right->addStretch();
  right->addLayout(gridRow);
  auto* layout = new QHBoxLayout(page);
  layout->addWidget(objects);
  layout->addLayout(right, 1);
  return page;
}

QWidget* SettingsDialog::MakeSpeedPage() {
  auto* page = new QWidget(this);
  speedEdit_ = new QLineEdit(QString::number(sheet_.timer), page);
  speedEdit_->setObjectName("speedEdit");
  speedEdit_->setFixedWidth(80);
  auto* speedRow = new QHBoxLayout;
  speedRow->addWidget(new QLabel("速度(ms)", page));
  speedRow->addWidget(speedEdit_);
  speedRow->addStretch();

  auto* group = new QGroupBox("シフトレジスタのデータ進行方向", page);
  auto* groupLayout = new QHBoxLayout(group);
  directions_ = new QButtonGroup(this);
  const char* const names[] = {"leftRadio", "autoRadio", "rightRadio"};
  const char* const texts[] = {"左に固定", "自動", "右に固定"};
  for (int direction = 0; direction < 3; ++direction) {
    auto* radio = new QRadioButton(texts[direction], group);
    radio->setObjectName(names[direction]);
    directions_->addButton(radio, direction);
    groupLayout->addWidget(radio);
  }
  if (QAbstractButton* current = directions_->button(sheet_.shiftLine))
    current->setChecked(true);
  connect(directions_, &QButtonGroup::idClicked, this,
          [this](int direction) { sheet_.shiftLine = direction; });

  auto* layout = new QVBoxLayout(page);
  layout->addLayout(speedRow);
  layout->addWidget(group);
  layout->addStretch();
  return page;
}

int SettingsDialog::SelectedColourNumber() const {
  const int row = std::max(objectList_->currentRow(), 0);
  return kColourListNumbers[static_cast<std::size_t>(row)];
}

void SettingsDialog::LoadEntry() {
  const ColourChannels channels = SplitColour(sheet_.colours[SelectedColourNumber()]);
  for (int channel = 0; channel < 3; ++channel) {
    const QSignalBlocker blocker(sliders_[channel]);
    sliders_[channel]->setValue(Channel(channels, channel));
    channelEdits_[channel]->setText(QString::number(Channel(channels, channel)));
  }
  ShowChannelRefusal();
  ShowSample();
}

// The colour table follows the sliders, whether dragged or set from a typed number, so the
// sample always shows what OK hands back.
void SettingsDialog::SlidersMoved() {
  for (int channel = 0; channel < 3; ++channel) {
    const int value = sliders_[channel]->value();
    const std::optional<int> typed =
        ParseNumberInRange(ToStdString(channelEdits_[channel]->text()), kColourChannelRange);
    if (typed != value)
      channelEdits_[channel]->setText(QString::number(value));
  }
  sheet_.colours[SelectedColourNumber()] =
      JoinChannels({sliders_[0]->value(), sliders_[1]->value(), sliders_[2]->value()});
  ShowChannelRefusal();
  ShowSample();
}

void SettingsDialog::ChannelTyped(int channel) {
  if (const std::optional<int> value =
          ParseNumberInRange(ToStdString(channelEdits_[channel]->text()), kColourChannelRange)) {
    sliders_[channel]->setValue(*value);
  }
  ShowChannelRefusal();
}

void SettingsDialog::ShowChannelRefusal() {
  const bool refused = std::any_of(channelEdits_.begin(), channelEdits_.end(), [](QLineEdit* e) {
    return !ParseNumberInRange(ToStdString(e->text()), kColourChannelRange);
  });
  channelRefusal_->setVisible(refused);
}

void SettingsDialog::ShowSample() {
  QPalette palette = sample_->palette();
  palette.setColor(QPalette::Window,
                   QColor(sliders_[0]->value(), sliders_[1]->value(), sliders_[2]->value()));
  sample_->setPalette(palette);
}

void SettingsDialog::ChooseFont() {
  if (const std::optional<FontAnswer> answer = fontChooser_(this, ToQFont(sheet_.font)))
    sheet_.font =
        ChosenFont(sheet_.font, ToFontChoice(answer->shown), ToFontChoice(answer->chosen));
}

void SettingsDialog::RestoreDefaults() {
  RestoreSheetDefaults(sheet_);
  static_cast<GridSizeSpin*>(gridSizeEdit_)->setNumber(sheet_.gridSize);
  LoadEntry();
}

bool SettingsDialog::ReadPage(int page) {
  struct Field {
    QWidget* widget;
    QString text;
    NumberRange range;
    int* target;
  };
  std::vector<Field> fields;
  if (page == kColourPage) {
    for (QLineEdit* edit : channelEdits_)
      fields.push_back({edit, edit->text(), kColourChannelRange, nullptr});
    fields.push_back({gridSizeEdit_, gridSizeEdit_->text(), kGridSizeRange, &sheet_.gridSize});
  } else {
    fields.push_back({speedEdit_, speedEdit_->text(), kSpeedRange, &sheet_.timer});
  }
  for (const Field& field : fields) {
    const std::optional<int> value = ParseNumberInRange(ToStdString(field.text), field.range);
    if (!value) {
      const QSignalBlocker blocker(pages_);
      pages_->setCurrentIndex(page);
      shownPage_ = page;
      ShowDialogMessage(this, ToQString(RangeMessage(field.range)));
      field.widget->setFocus();
      return false;
    }
    if (field.target != nullptr)
      *field.target = *value;
  }
  return true;
}

void SettingsDialog::PageChanged(int page) {
  if (ReadPage(shownPage_))
    shownPage_ = page;
}

void SettingsDialog::accept() {
  if (ReadPage(kColourPage) && ReadPage(kSpeedPage))
    QDialog::accept();
}

}  // namespace pelkor
