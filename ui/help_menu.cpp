// The Help menu: the help file, the maker's web pages, the contact and About boxes.

#include <QCoreApplication>
#include <QDesktopServices>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QUrl>

#include "core/version_text.h"
#include "kit/form_kit.h"
#include "site_settings.h"
#include "ui/form1.h"
#include "ui/help_texts.h"

namespace zhavik {
namespace {

// The boxes' texts break their lines with a lone carriage return; a Qt label breaks
// them at line feeds, so the same lines are shown with those instead.
QString shown_lines(const std::string& text) {
  return QString::fromStdString(text).replace(QChar(u'\r'), QChar(u'\n'));
}

void show_notice(QWidget* parent, const QString& title, const std::string& text) {
  QMessageBox box(QMessageBox::Warning, title, shown_lines(text), QMessageBox::Ok, parent);
  box.setObjectName(QStringLiteral("help_message_box"));
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

ContactDetails contact_details() {
  using namespace site;
  return {kContactPostcode, kContactName, kContactPhone,
          kContactMobile,   kContactFax,  kContactEmail};
}

// Whether the file or page opens is up to the desktop; like any shell hand-over, a missing
// viewer or association stays silent.
void open_with_desktop(const QUrl& address) {
  QDesktopServices::openUrl(address);
}

}  // namespace

void Form1::build_help_menu() {
  QMenuBar* bar = menuBar();
  help_menu_ = bar->addMenu(QStringLiteral("帮助(&H)"));
  help_menu_->setObjectName(QStringLiteral("bangzhu"));
  add_menu_items(
      help_menu_, "bangzhu1",
      {"使用帮助(&S)", "", "软件主页(&R)", "软件升级(&J)", "", "联系方式(&L)", "关于Zhavik(&G)"},
      help_menu_items_, [this](int index) { bangzhu1_Click(index); });
}

void Form1::bangzhu1_Click(int Index) {
  switch (Index) {
    case 0: {
      const std::filesystem::path folder(QCoreApplication::applicationDirPath().toStdU16String());
      open_with_desktop(
          QUrl::fromLocalFile(QString::fromStdU16String(help_file_path(folder).u16string())));
      break;
    }
    case 2:
      open_with_desktop(QUrl(QString::fromStdString(home_page_address(site::kHomeHost))));
      break;
    case 3:
      open_with_desktop(QUrl(QString::fromStdString(update_page_address(site::kHomeHost))));
      break;
    case 5:
      show_notice(this, QStringLiteral("联系方式..."),
                  contact_text(site::kHomeHost, contact_details()));
      break;
    case 6:
      show_notice(this, QStringLiteral("关于Zhavik..."), about_text(program_version_text()));
      break;
    default:  // the separators 1 and 4, and any index outside the menu
      break;
  }
}

}  // namespace zhavik
