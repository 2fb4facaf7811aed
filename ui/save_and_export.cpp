// File > save the batch result as a text file, and File > export the batch input as a page
// with the pinyin above the characters. Either file is written whole or not at all.

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <filesystem>
#include <functional>
#include <new>
#include <optional>
#include <string>
#include <system_error>

#include "core/text/atomic_write.h"
#include "core/text/saved_text.h"
#include "core/text/text.h"
#include "ui/batch_view.h"
#include "ui/form1.h"

namespace zhavik {
namespace {

const QString kSaveTitle = QStringLiteral("保存转换结果");
const QString kExportTitle = QStringLiteral("导出注音网页");
// The save dialog's file types, which choose the encoding.
const QStringList kSaveFilters = {QStringLiteral("UTF-8 文本文件 (*.txt)"),
                                  QStringLiteral("GBK 文本文件 (*.txt)")};

// Why a file could not be written, in the user's words.
QString why_not_written(std::error_code error) {
  if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted)
    return QStringLiteral("没有在这里写文件的权限。");
  if (error == std::errc::read_only_file_system) return QStringLiteral("这个位置只能读，不能写。");
  if (error == std::errc::no_space_on_device) return QStringLiteral("磁盘空间不足。");
  if (error == std::errc::file_too_large) return QStringLiteral("文件太大，写不下。");
  if (error == std::errc::no_such_file_or_directory) return QStringLiteral("文件夹不存在。");
  if (error == std::errc::is_a_directory) return QStringLiteral("已经有同名的文件夹。");
  return QString::fromLocal8Bit(error.message()) + QStringLiteral("。");
}

// The name of a text file without its folder and last extension ("课文" for 课文.txt), which
// names what is made from it; empty for none.
QString base_name_of(const QString& text_file) {
  return text_file.isEmpty() ? QString() : QFileInfo(text_file).completeBaseName();
}

void show_failure(QWidget* parent, const QString& title, const QString& path, const QString& why) {
  QMessageBox box(QMessageBox::Warning, title,
                  QDir::toNativeSeparators(path) + QStringLiteral("\n\n") + why, QMessageBox::Ok,
                  parent);
  box.setObjectName(QStringLiteral("write_failure_box"));
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

// Asks whether a result that GBK cannot hold, for the character at `at`, goes out in UTF-8
// instead: turning the character into "?" would lose it without a word.
bool agree_to_utf8(QWidget* parent, std::u16string_view text, std::size_t at) {
  std::size_t line = 1;
  for (std::size_t i = text.find(u"\r\n"); i < at; i = text.find(u"\r\n", i + 2))
    ++line;
  const char32_t code_point = code_point_at(text, at);
  // A lone surrogate is no character that could be shown.
  const bool lone = code_point >= 0xD800 && code_point <= 0xDFFF;
  const QString character = lone ? QString() : QString::fromUcs4(&code_point, 1);
  QMessageBox box(QMessageBox::Question, kSaveTitle,
                  QStringLiteral("转换结果第 %1 行的“%2”（U+%3）不能用 GBK 编码保存。\n\n"
                                 "改用 UTF-8 编码保存吗？UTF-8 能保存所有的字符。")
                      .arg(line)
                      .arg(character)
                      .arg(QString::number(code_point, 16).toUpper().rightJustified(4, u'0')),
                  QMessageBox::Yes | QMessageBox::Cancel, parent);
  box.setObjectName(QStringLiteral("gbk_question_box"));
  box.setTextFormat(Qt::PlainText);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("改用 UTF-8 保存"));
  return box.exec() == QMessageBox::Yes;
}

}  // namespace

void Form1::baocun_Click() {
  if (!save_dialog_)
    save_dialog_ = make_save_dialog("save_dialog", kSaveTitle, kSaveFilters, "txt");
  const QString base = base_name_of(text_file_);
  const QString path = chosen_file(
      save_dialog_, (base.isEmpty() ? QString() : base + u'_') + QStringLiteral("转换结果.txt"));
  if (path.isEmpty()) return;
  save_result(path, save_dialog_->selectedNameFilter() == kSaveFilters[1]
                        ? SavedEncoding::gbk
                        : SavedEncoding::utf8_with_mark);
}

void Form1::daochu_Click() {
  if (!export_dialog_) {
    export_dialog_ = make_save_dialog("export_dialog", kExportTitle,
                                      {QStringLiteral("网页 (*.html *.htm)")}, "html");
  }
  const QString path = chosen_file(export_dialog_, page_title() + QStringLiteral(".html"));
  if (!path.isEmpty() && export_page(path)) offer_to_open(path);
}

bool Form1::save_result(const QString& path, SavedEncoding encoding) {
  return write_or_say(path, kSaveTitle, [&]() -> std::optional<std::string> {
    const std::u16string text = batch_view_->output_text();
    if (encoding == SavedEncoding::gbk) {
      const std::size_t outside = first_outside_gbk(text);
      if (outside != std::u16string::npos) {
        if (!agree_to_utf8(this, text, outside)) return std::nullopt;
        encoding = SavedEncoding::utf8_with_mark;
      }
    }
    return encode_saved_text(text, encoding);
  });
}

bool Form1::export_page(const QString& path) {
  return write_or_say(path, kExportTitle, [&] {
    return std::optional(batch_view_->ruby_page(page_title().toStdU16String()));
  });
}

QString Form1::page_title() const {
  const QString base = base_name_of(text_file_);
  return base.isEmpty() ? QStringLiteral("拼音注音") : base;
}

QFileDialog* Form1::make_save_dialog(const char* name, const QString& caption,
                                     const QStringList& filters, const QString& suffix) {
  // Kept for the whole run, so that it opens where the user last saved; at first in the
  // folder of the text file opened, where what is made from it belongs.
  auto* dialog = new QFileDialog(this, caption);
  dialog->setObjectName(QString::fromUtf8(name));
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setFileMode(QFileDialog::AnyFile);
  dialog->setNameFilters(filters);
  dialog->setDefaultSuffix(suffix);
  if (!text_file_.isEmpty()) dialog->setDirectory(QFileInfo(text_file_).absolutePath());
  return dialog;
}

QString Form1::chosen_file(QFileDialog* dialog, const QString& suggested_name) {
  dialog->selectFile(suggested_name);
  if (dialog->exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog->selectedFiles();
  return chosen.isEmpty() ? QString() : chosen.first();
}

bool Form1::write_or_say(const QString& path, const QString& title,
                         const std::function<std::optional<std::string>()>& make_bytes) {
  std::optional<std::string> bytes;
  try {
    bytes = make_bytes();
  } catch (const std::bad_alloc&) {
    show_failure(this, title, path, QStringLiteral("内存不足，没有写入。"));
    return false;
  }
  if (!bytes) return false;
  const std::filesystem::path file(path.toStdU16String());
  const std::error_code error = write_file_atomically(file, *bytes);
  if (!error) return true;
  std::error_code ignored;
  const bool kept = std::filesystem::is_regular_file(file, ignored);
  show_failure(this, title, path,
               QStringLiteral("无法写入：") + why_not_written(error) +
                   (kept ? QStringLiteral("原来的文件保持不变。") : QString()));
  return false;
}

void Form1::offer_to_open(const QString& page) {
  QMessageBox box(QMessageBox::Question, kExportTitle,
                  QDir::toNativeSeparators(page) +
                      QStringLiteral("\n\n注音网页已经保存。现在用浏览器打开它吗？"),
                  QMessageBox::Yes | QMessageBox::No, this);
  box.setObjectName(QStringLiteral("open_page_box"));
  box.setTextFormat(Qt::PlainText);
  // Whether it opens is up to the desktop, as with the help file; no browser stays silent.
  if (box.exec() == QMessageBox::Yes) QDesktopServices::openUrl(QUrl::fromLocalFile(page));
}

}  // namespace zhavik
