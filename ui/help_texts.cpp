#include "ui/help_texts.h"

#include <initializer_list>

namespace zhavik {

std::filesystem::path help_file_path(const std::filesystem::path& program_folder) {
  // Joining adds a separator only where the folder's path lacks one.
  return program_folder / std::filesystem::path(kHelpFileName);
}

std::string home_page_address(const std::string& host) {
  return host + "/";
}

std::string update_page_address(const std::string& host) {
  return host + "/rj";
}

namespace {

std::string joined_by_carriage_returns(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) {
    if (&line != lines.begin()) text += '\r';
    text += line;
  }
  return text;
}

}  // namespace

std::string contact_text(const std::string& host, const ContactDetails& contact) {
  return joined_by_carriage_returns({
      "",
      "  软件更新: ",
      "    " + update_page_address(host),
      "  软件主页:",
      "    " + home_page_address(host),
      "",
      "  邮  编: " + contact.postcode + "    姓  名: " + contact.name,
      "  电  话: " + contact.phone + "   " + contact.mobile + "  ",
      "  传  真: " + contact.fax,
      "  电子邮箱: " + contact.email,
  });
}

std::string about_text(const std::string& version) {
  return "  Zhavik\r\r  版本号:  " + version + "\r\r";
}

}  // namespace zhavik
