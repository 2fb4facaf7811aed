// The File menu with the two view commands beside it: open a text file into the batch view,
// exit, and switch between the single-character and the batch view.

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

#include "core/dictionary_texts.h"
#include "core/text_file.h"
#include "kit/form_kit.h"
#include "ui/batch_view.h"
#include "ui/form1.h"
#include "ui/query_panel.h"

namespace zhavik {

void Form1::build_file_menu() {
  QMenuBar* bar = menuBar();

  wenjian = bar->addMenu(QStringLiteral("文件(&W)"));
  wenjian->setObjectName(QStringLiteral("wenjian"));
  add_menu_items(wenjian, "wenjian1", {"打开文本文件(&O)", "", "退出(&F)"}, wenjian1,
                 [this](int index) { wenjian1_Click(index); });

  danzi = bar->addAction(QStringLiteral("单字查询(&D)"));
  danzi->setObjectName(QStringLiteral("danzi"));
  connect(danzi, &QAction::triggered, this, &Form1::danzi_Click);
  piliang = bar->addAction(QStringLiteral("批量转换(&S)"));
  piliang->setObjectName(QStringLiteral("piliang"));
  connect(piliang, &QAction::triggered, this, &Form1::piliang_Click);
}

void Form1::danzi_Click() {
  show_view(false);
}

void Form1::piliang_Click() {
  show_view(true);
}

void Form1::show_view(bool batch) {
  Frame2->setVisible(!batch);
  Frame3->setVisible(batch);
  // Only the batch view takes a file, and the menu item of the view shown is dimmed.
  wenjian1[0]->setEnabled(batch);
  danzi->setEnabled(batch);
  piliang->setEnabled(!batch);
  // The keys follow into the view shown; they would go on into a box now hidden.
  if (batch)
    Frame3->focus_input();
  else
    query_->focus_input();
}

void Form1::wenjian1_Click(int Index) {
  if (Index == 0) open_text_file();
  if (Index == 2) close();
}

void Form1::open_text_file() {
  if (!CommonDialog1) {
    // Kept for the whole run, so that it opens where the user last was.
    CommonDialog1 = new QFileDialog(this);
    CommonDialog1->setObjectName(QStringLiteral("CommonDialog1"));
    CommonDialog1->setAcceptMode(QFileDialog::AcceptOpen);
    CommonDialog1->setFileMode(QFileDialog::ExistingFile);
    // The lists show only the descriptions; "all files" has to match names without a dot
    // as well.
    CommonDialog1->setOption(QFileDialog::HideNameFilterDetails);
    CommonDialog1->setNameFilters(
        {QStringLiteral("文本文件 (*.txt *.TXT)"), QStringLiteral("所有文件(*.*) (*)")});
  }
  if (CommonDialog1->exec() != QDialog::Accepted) return;
  const QStringList chosen = CommonDialog1->selectedFiles();
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
    if (refusal != FileRefusal::unreadable) {
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
  Frame3->set_input_text(text);
  return true;
}

}  // namespace zhavik
