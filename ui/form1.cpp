#include "form1.h"

#include <QFrame>
#include <QGroupBox>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleFactory>
#include <QTimer>

#include "flat_button_style.h"
#include "form_kit.h"
#include "page_view.h"
#include "twips.h"
#include "window_icon.h"

Form1::Form1(QWidget* parent)
    : QMainWindow(parent),
      button_style_(std::make_unique<FlatButtonStyle>()),
      // The classic frame draws its caption on the border line, so that the first row of
      // buttons, 20 pixels down, stands clear of the line. Other styles put the caption
      // above the line, which then runs along the buttons' top edge.
      frame_style_(QStyleFactory::create(QStringLiteral("Windows"))) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Zhavik"));
  setWindowIcon(window_icon());

  // The client area below the menu bar. Every widget keeps its place, so the window keeps
  // its size.
  auto* client = new QWidget(this);
  client->setFont(window_default_font());
  client->setFixedSize(twips_to_pixels(9645), twips_to_pixels(8745));
  setCentralWidget(client);
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  // Both views share one place; start-up shows one of them.
  Frame2 = new QFrame(client);
  Frame2->setObjectName(QStringLiteral("Frame2"));
  place_in_twips(Frame2, 60, 60, 9495, 8235);
  build_browser(Frame2);
  build_query_panel(Frame2);

  Frame3 = new QFrame(client);
  Frame3->setObjectName(QStringLiteral("Frame3"));
  place_in_twips(Frame3, 60, 120, 9495, 8175);
  build_batch_view(Frame3);

  news = new zhavik::news::NewsStrip(client);
  build_menus();
  set_tab_order();

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(100);
  connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
  Timer1->start();
}

Form1::~Form1() {
  // The buttons and frames draw with styles that go with this object: they go first.
  delete takeCentralWidget();
}

void Form1::set_code_book(zhavik::CodeBook book) {
  book_ = std::move(book);
}

QPushButton* Form1::make_button(QWidget* parent, const QString& name, const QString& caption,
                                const QFont& font, const QColor& colour) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setFont(font);
  button->setStyle(button_style_.get());
  set_button_colour(button, colour);
  return button;
}

QGroupBox* Form1::make_frame(QWidget* parent, const QString& name, const QString& caption) {
  auto* frame = new QGroupBox(caption, parent);
  frame->setObjectName(name);
  frame->setFont(song_font(10.5, true));
  frame->setStyle(frame_style_.get());
  set_colour(frame, QPalette::WindowText, QColor(0, 0, 255));
  return frame;
}

void Form1::set_tab_order() {
  // The result boxes first, then the query, the browser from the bottom up, the batch view;
  // the news strip is last. The swatches only show colours and take no focus.
  QList<QWidget*> order = {Text1[4], Text1[3], Text1[2], Text1[1], Command4, Text1[0]};
  order.append(QList<QWidget*>(Command3.begin(), Command3.end()));
  order.append(QList<QWidget*>(Command2.begin(), Command2.end()));
  order.append(QList<QWidget*>(Command1.begin(), Command1.end()));
  order.append({RichTextBox1[0], RichTextBox1[1]});
  order.append(QList<QWidget*>(Command6.begin(), Command6.end()));
  order.append(news->page_view());
  for (qsizetype i = 1; i < order.size(); ++i)
    setTabOrder(order[i - 1], order[i]);
}
