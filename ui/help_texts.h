#pragma once

#include <filesystem>
#include <string>

namespace zhavik {

// The help file stands in the program's own folder under this name.
inline constexpr char8_t kHelpFileName[] = u8"Zhavik帮助.chm";

// The help file beside the program in `program_folder`, whether or not the folder's path
// ends with a separator (a drive or file-system root does).
std::filesystem::path help_file_path(const std::filesystem::path& program_folder);

// The maker's home page and update page on the web host `host` ("http://name", no
// trailing "/").
std::string home_page_address(const std::string& host);
std::string update_page_address(const std::string& host);

struct ContactDetails {
  std::string postcode;
  std::string name;
  std::string phone;
  std::string mobile;
  std::string fax;
  std::string email;
};

// The texts of the contact and About boxes, in UTF-8. Lines are separated by a lone
// carriage return, as the boxes have always been written; a toolkit that breaks lines
// otherwise converts them when it shows the text.
std::string contact_text(const std::string& host, const ContactDetails& contact);
std::string about_text(const std::string& version);

}  // namespace zhavik
