// The File menu with the two view commands beside it: open a text file into the batch view,
// exit, and switch between the single-character and the batch view. Saving and exporting
// from the batch view are in save_and_export.cpp.

#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <filesystem>
#include <new>
#include <optional>
#include <string>

#include "core/text/files.h"
#include "core/text/text_file.h"
#include "kit/form_kit.h"
#include "ui/batch_view.h"
#include "ui/form1.h"
#include "ui/query_panel.h"

namespace zhavik {

void Form1::build_file_menu() {
  QMenuBar* bar = menuBar();

  file_menu_ = bar->addMenu(QStringLiteral("文件(&W)"));
  file_menu_->setObjectName(QStringLiteral("wenjian"));
  add_menu_items(file_menu_, "wenjian1", {"打开文本文件(&O)", "", "退出(&F)"}, file_menu_items_,
                 [this](int index) { wenjian1_Click(index); });
  // Beside "open" what goes the other way, before the separator, as items of their own: the
  // control array keeps its three.
  save_result_item_ = new QAction(QStringLiteral("保存转换结果(&S)..."), file_menu_);
  save_result_item_->setObjectName(QStringLiteral("baocun"));
  connect(save_result_item_, &QAction::triggered, this, &Form1::baocun_Click);
  export_page_item_ = new QAction(QStringLiteral("导出注音网页(&H)..."), file_menu_);
  export_page_item_->setObjectName(QStringLiteral("daochu"));
  connect(export_page_item_, &QAction::triggered, this, &Form1::daochu_Click);
  file_menu_->insertActions(file_menu_items_[1], {save_result_item_, export_page_item_});

  single_view_command_ = bar->addAction(QStringLiteral("单字查询(&D)"));
  single_view_command_->setObjectName(QStringLiteral("danzi"));
  connect(single_view_command_, &QAction::triggered, this, &Form1::danzi_Click);
  batch_view_command_ = bar->addAction(QStringLiteral("批量转换(&S)"));
  batch_view_command_->setObjectName(QStringLiteral("piliang"));
  connect(batch_view_command_, &QAction::triggered, this, &Form1::piliang_Click);
}

void Form1::danzi_Click() {
  show_view(false);
}

void Form1::piliang_Click() {
  show_view(true);
}

void Form1::show_view(bool batch) {
  single_view_->setVisible(!batch);
  batch_view_->setVisible(batch);
  // Only the batch view takes a file and gives one, and the menu item of the view shown is
  // dimmed.
  file_menu_items_[0]->setEnabled(batch);
  save_result_item_->setEnabled(batch);
  export_page_item_->setEnabled(batch);
  single_view_command_->setEnabled(batch);
  batch_view_command_->setEnabled(!batch);
  // The keys follow into the view shown; they would go on into a box now hidden.
  if (batch)
    batch_view_->focus_input();
  else
    query_panel_->focus_input();
}

void Form1::wenjian1_Click(int Index) {
  if (Index == 0) open_text_file();
  if (Index == 2) close();
}

void Form1::open_text_file() {
  if (!open_dialog_) {
    // Kept for the whole run, so that it opens where the user last was.
    open_dialog_ = new QFileDialog(this);
    open_dialog_->setObjectName(QStringLiteral("CommonDialog1"));
    open_dialog_->setAcceptMode(QFileDialog::AcceptOpen);
    open_dialog_->setFileMode(QFileDialog::ExistingFile);
    // The lists show only the descriptions; "all files" has to match names without a dot
    // as well.
    open_dialog_->setOption(QFileDialog::HideNameFilterDetails);
    open_dialog_->setNameFilters(
        {QStringLiteral("文本文件 (*.txt *.TXT)"), QStringLiteral("所有文件(*.*) (*)")});
  }
  if (open_dialog_->exec() != QDialog::Accepted) return;
  const QStringList chosen = open_dialog_->selectedFiles();
  if (!chosen.isEmpty()) load_text_file(chosen.first());
}

bool Form1::load_text_file(const QString& path) {
  // Only a regular file is read (a pipe or a device such as /dev/zero would never end), and
  // only up to a size that is still text for a person: a file that size already takes the
  // editor seconds to lay out and a conversion about 1.4 GB of memory at its peak.
  constexpr std::uintmax_t kLargestTextFile = 64 * 1024 * 1024;
  FileRefusal refusal = FileRefusal::unreadable;
  const std::optional<std::string> bytes =
      read_regular_file(std::filesystem::path(path.toStdU16String()), kLargestTextFile, &refusal);
  if (!bytes) {
    // A missing or unreadable file fails silently, as loading it into the box always has;
    // size and kind are limits of this program's own, which the user could not guess.
    if (refusal == FileRefusal::too_large || refusal == FileRefusal::not_regular) {
      const QString why =
          refusal == FileRefusal::too_large
              ? QStringLiteral("文件大于 %1 MiB，太大，不能打开。").arg(kLargestTextFile >> 20)
              : QStringLiteral("不是普通文件（而是文件夹、管道或设备），不能打开。");
      QMessageBox box(QMessageBox::Warning, QStringLiteral("打开文本文件"),
                      QDir::toNativeSeparators(path) + QStringLiteral("\n\n") + why,
                      QMessageBox::Ok, this);
      box.setObjectName(QStringLiteral("open_refusal_box"));
      box.setTextFormat(Qt::PlainText);
      box.exec();
    }
    return false;
  }
  QString text;
  try {
    text = QString::fromStdU16String(decode_text_file(*bytes));
  } catch (const std::bad_alloc&) {
    return false;
  }
  batch_view_->set_input_text(text);
  text_file_ = path;
  return true;
}

}  // namespace zhavik
