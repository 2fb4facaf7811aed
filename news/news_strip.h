#pragma once

class QFrame;
class QLabel;
class QTimer;
class QWidget;

namespace zhavik::news {
class PageView;
}

// The news strip along the bottom edge of the window. It starts hidden and stays so until
// a news page worth showing has been loaded.
struct NewsStrip {
  QFrame* gg_Picture1 = nullptr;  // the strip
  QFrame* gg_Picture2 = nullptr;  // the page face: the page and its hide button
  zhavik::news::PageView* gg_WebBrowser1 = nullptr;
  QLabel* gg_Picture3 = nullptr;  // the hide button
  QLabel* gg_Label1 = nullptr;    // the link that brings the page back
  QTimer* gg_Timer2 = nullptr;    // paces the news sequence
};

// Builds the strip inside `client`, the window's client area.
NewsStrip build_news_strip(QWidget* client);

// The sizes the news sequence gives the strip's inner controls once the page has loaded
// (step 11 of the sequence), in twips and single precision, from the strip's size and the
// hide button's width: the page face covers the strip, the hide button stands at its right
// edge over its full height, the page view reaches 1200 twips past the page face's right
// and bottom edges, and the link is centred with 100 twips on either side.
struct StripLayout {
  float page_width, page_height;               // gg_Picture2
  float hide_button_left, hide_button_height;  // gg_Picture3
  float browser_width, browser_height;         // gg_WebBrowser1
  float link_width, link_left;                 // gg_Label1
};
StripLayout gg_layout(float strip_width, float strip_height, float hide_button_width);
