#include "app/run_zhavik.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include "app/form_load.h"
#include "app/get_my_version.h"
#include "app/settings_off_disk.h"
#include "ui/form1.h"

namespace zhavik {

int run_zhavik(int& argc, char** argv, const std::function<void(Form1&)>& on_shown) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Zhavik"));
  QApplication::setApplicationVersion(GetMyVersion());
  keep_settings_off_disk();

  // The window speaks Chinese whatever the system's language, and so should the parts Qt
  // draws itself: the file dialog and the editors' context menus. Without the translation
  // they stay in English.
  QTranslator qt_texts;
  if (qt_texts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                    QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qt_texts);
  }

  Form1 form;
  Form_Load(form, std::filesystem::path(QApplication::applicationDirPath().toStdU16String()));
  form.show();
  if (on_shown) QTimer::singleShot(0, &form, [&form, &on_shown] { on_shown(form); });
  return QApplication::exec();
}

}  // namespace zhavik
