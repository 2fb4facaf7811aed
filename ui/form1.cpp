#include "ui/form1.h"

#include <QFrame>
#include <QLayout>

#include "kit/form_kit.h"
#include "kit/twips.h"
#include "ui/batch_view.h"
#include "ui/browser_view.h"
#include "ui/query_panel.h"
#include "ui/window_icon.h"

namespace zhavik {

Form1::Form1(QWidget* parent) : QMainWindow(parent) {
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
  single_view_ = new QFrame(client);
  single_view_->setObjectName(QStringLiteral("Frame2"));
  place_in_twips(single_view_, 60, 60, 9495, 8235);
  // The query panel begins where the browser ends, on a whole pixel (6600 twips are 440
  // pixels), so that its widgets land on the pixels they would have in Frame2 itself.
  browser_view_ = new BrowserView(book_, maker_, single_view_);
  place_in_twips(browser_view_, 0, 0, 9495, 6600);
  query_panel_ = new QueryPanel(book_, maker_, single_view_);
  place_in_twips(query_panel_, 0, 6600, 9495, 1635);
  connect(browser_view_, &BrowserView::character_chosen, query_panel_, &QueryPanel::query);

  batch_view_ = new BatchView(book_, maker_, client);
  place_in_twips(batch_view_, 60, 120, 9495, 8175);

  news_strip_ = new news::NewsStrip(client);
  build_file_menu();
  build_help_menu();
  set_tab_order();
}

Form1::~Form1() {
  // The buttons and frames draw with styles that go with this object: they go first.
  delete takeCentralWidget();
}

void Form1::set_code_book(CodeBook book) {
  book_ = std::move(book);
}

void Form1::set_word_table_file(const std::filesystem::path& path) {
  batch_view_->set_word_table_file(path);
}

void Form1::set_batch_text_colour(const QColor& colour) {
  batch_view_->set_text_colour(colour);
}

void Form1::Command1_Click(int Index) {
  browser_view_->Command1_Click(Index);
}

void Form1::set_tab_order() {
  // The result boxes first, then the query, the browser from the bottom up, the batch view;
  // the news strip is last. The swatches only show colours and take no focus.
  QList<QWidget*> order = query_panel_->tab_order();
  order.append(browser_view_->tab_order());
  order.append(batch_view_->tab_order());
  order.append(news_strip_->page_view());
  for (qsizetype i = 1; i < order.size(); ++i)
    setTabOrder(order[i - 1], order[i]);
}

}  // namespace zhavik
