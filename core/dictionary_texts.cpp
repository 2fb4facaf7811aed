#include "core/dictionary_texts.h"

#include "core/cp936.h"
#include "core/files.h"

namespace zhavik {
namespace {

std::u16string records_of(std::u16string_view file_text, LineEnd line_end) {
  std::u16string records = u"^";
  records.reserve(file_text.size() + 2);
  for (std::size_t i = 0; i < file_text.size(); ++i) {
    if (line_end == LineEnd::lf && file_text[i] == u'\n') {
      records += u'^';
    } else if (file_text[i] == u'\r' && i + 1 < file_text.size() && file_text[i + 1] == u'\n') {
      records += u'^';
      ++i;
    } else {
      records += file_text[i];
    }
  }
  return records;
}

std::u16string load_text(const std::filesystem::path& path,
                         std::u16string (*form)(std::u16string_view, LineEnd),
                         std::vector<std::filesystem::path>* unreadable) {
  const std::optional<std::string> bytes = read_regular_file(path, kMaxDictionaryFileBytes);
  if (!bytes) {
    if (unreadable) unreadable->push_back(path);
    return {};
  }
  return form(cp936_decode(*bytes), line_end_of(*bytes));
}

}  // namespace

LineEnd line_end_of(std::string_view file_bytes) {
  const bool lf_only = file_bytes.find("\r\n") == std::string_view::npos &&
                       file_bytes.find('\n') != std::string_view::npos;
  return lf_only ? LineEnd::lf : LineEnd::crlf;
}

std::u16string wubi_data_from(std::u16string_view file_text, LineEnd line_end) {
  return records_of(file_text, line_end);
}

std::u16string pinyin_data_from(std::u16string_view file_text, LineEnd line_end) {
  return records_of(file_text, line_end) + u'^';
}

DictionaryTexts load_dictionary_texts(const std::filesystem::path& folder,
                                      std::vector<std::filesystem::path>* unreadable) {
  DictionaryTexts texts;
  texts.wubi86_data = load_text(folder / kWubi86File, wubi_data_from, unreadable);
  texts.wubi98_data = load_text(folder / kWubi98File, wubi_data_from, unreadable);
  texts.pinyin_data = load_text(folder / kPinyinFile, pinyin_data_from, unreadable);
  return texts;
}

}  // namespace zhavik
