#include "kit/widget_maker.h"

#include <QGroupBox>
#include <QPushButton>
#include <QStyleFactory>

#include "kit/flat_button_style.h"
#include "kit/form_kit.h"

namespace zhavik {

WidgetMaker::WidgetMaker()
    : button_style_(std::make_unique<FlatButtonStyle>()),
      // The classic frame draws its caption on the border line, so that the first row of
      // buttons, 20 pixels down, stands clear of the line. Other styles put the caption
      // above the line, which then runs along the buttons' top edge.
      frame_style_(QStyleFactory::create(QStringLiteral("Windows"))) {}

WidgetMaker::~WidgetMaker() = default;

QPushButton* WidgetMaker::make_button(QWidget* parent, const QString& name, const QString& caption,
                                      const QFont& font, const QColor& colour) const {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setFont(font);
  button->setStyle(button_style_.get());
  set_button_colour(button, colour);
  return button;
}

QGroupBox* WidgetMaker::make_frame(QWidget* parent, const QString& name,
                                   const QString& caption) const {
  auto* frame = new QGroupBox(caption, parent);
  frame->setObjectName(name);
  frame->setFont(song_font(10.5, true));
  frame->setStyle(frame_style_.get());
  set_colour(frame, QPalette::WindowText, QColor(0, 0, 255));
  return frame;
}

}  // namespace zhavik
