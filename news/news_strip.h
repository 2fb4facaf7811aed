#pragma once

class QFrame;
class QLabel;
class QTextBrowser;
class QTimer;
class QWidget;

// The news strip along the bottom edge of the window. It starts hidden and stays so until
// a news page worth showing has been loaded.
struct NewsStrip {
  QFrame* gg_Picture1 = nullptr;  // the strip
  QFrame* gg_Picture2 = nullptr;  // the page face: the page and its hide button
  QTextBrowser* gg_WebBrowser1 = nullptr;
  QLabel* gg_Picture3 = nullptr;  // the hide button
  QLabel* gg_Label1 = nullptr;    // the link that brings the page back
  QTimer* gg_Timer2 = nullptr;    // paces the news sequence
};

// Builds the strip inside `client`, the window's client area.
NewsStrip build_news_strip(QWidget* client);
