#pragma once

#include <QFrame>
#include <QString>
#include <memory>

#include "news/is_online.h"

class QLabel;
class QTimer;

namespace zhavik::news {

class PageView;

// The news strip along the bottom edge of the window (the frame gg_Picture1 itself). It
// starts hidden. Once per run, after five ticks of gg_Timer2 on line, it asks the news
// server for its page, sending the first line of gg.jl; when the page has loaded it fits its
// controls to the strip and shows itself only if the page's body holds a marquee. Then the
// timer stops for good. Ticks while off line count for nothing.
//
// Shown, it has two faces: the page face gg_Picture2 (the page view gg_WebBrowser1 and the
// hide button gg_Picture3), and under it the link gg_Label1 that brings the page back. The
// link's caption follows the pointer: arrowed over the link, blank over the strip's margin.
class NewsStrip : public QFrame {
 public:
  // Builds the strip at its place inside `client`, the window's client area.
  explicit NewsStrip(QWidget* client);
  ~NewsStrip() override;

  // Where the news request goes and what it carries: the news server's scheme and host,
  // the folder that holds gg.jl, and the program whose name is the id. By default the
  // built-in server and the running program; tests point them elsewhere.
  struct Source {
    QString host;
    QString program_folder;
    QString program_path;
  };
  void set_source(Source source);
  // The connectivity check; none counts as off line.
  void set_online_check(std::unique_ptr<OnlineCheck> check);

  // One tick of gg_Timer2, and the step the sequence has reached.
  void gg_Timer2_Timer();
  int gg_Step() const { return step_; }

  // The page view, the last stop of the window's tab order.
  QWidget* page_view() const;

  // The strip's two faces and its link.
  void gg_Label1_Click();
  void gg_Label1_MouseMove();
  void gg_Picture1_MouseMove();
  void gg_Picture3_Click();

 private:
  void send_request();
  void fit_to_strip();
  void check_page();
  bool eventFilter(QObject* watched, QEvent* event) override;

  // The strip's parts; their object names are the controls' names.
  QFrame* page_face_ = nullptr;       // gg_Picture2: the page view and the hide button
  PageView* page_view_ = nullptr;     // gg_WebBrowser1
  QLabel* hide_button_ = nullptr;     // gg_Picture3
  QLabel* link_ = nullptr;            // gg_Label1: brings the page back
  QTimer* sequence_timer_ = nullptr;  // gg_Timer2: paces the news sequence
  int step_ = 0;                      // gg_Step
  Source source_;
  std::unique_ptr<OnlineCheck> online_check_;
};

}  // namespace zhavik::news
