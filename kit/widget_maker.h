#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <memory>

class QGroupBox;
class QPushButton;
class QStyle;
class QWidget;

namespace zhavik {

class FlatButtonStyle;

// Makes the window's coloured flat buttons and captioned frames. They draw with styles this
// object owns, so the widgets it made must be deleted before it is.
class WidgetMaker {
 public:
  WidgetMaker();
  ~WidgetMaker();
  WidgetMaker(const WidgetMaker&) = delete;
  WidgetMaker& operator=(const WidgetMaker&) = delete;

  QPushButton* make_button(QWidget* parent, const QString& name, const QString& caption,
                           const QFont& font, const QColor& colour) const;
  QGroupBox* make_frame(QWidget* parent, const QString& name, const QString& caption) const;

 private:
  std::unique_ptr<FlatButtonStyle> button_style_;
  std::unique_ptr<QStyle> frame_style_;
};

}  // namespace zhavik
