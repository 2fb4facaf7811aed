#include "dictionary_texts.h"

#include <fstream>
#include <iterator>
#include <optional>

#include "cp936.h"

namespace zhavik {
namespace {

std::u16string records_of(std::u16string_view file_text) {
  std::u16string records = u"^";
  records.reserve(file_text.size() + 2);
  for (std::size_t i = 0; i < file_text.size(); ++i) {
    if (file_text[i] == u'\r' && i + 1 < file_text.size() && file_text[i + 1] == u'\n') {
      records += u'^';
      ++i;
    } else {
      records += file_text[i];
    }
  }
  return records;
}

std::optional<std::string> read_whole_file(const std::filesystem::path& path) {
  // A folder where the file should be makes the stream library throw on reading.
  try {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad()) return std::nullopt;
    return bytes;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::u16string load_text(const std::filesystem::path& path,
                         std::u16string (*form)(std::u16string_view),
                         std::vector<std::filesystem::path>* unreadable) {
  const std::optional<std::string> bytes = read_whole_file(path);
  if (!bytes) {
    if (unreadable) unreadable->push_back(path);
    return {};
  }
  return form(cp936_decode(*bytes));
}

}  // namespace

std::u16string wubi_data_from(std::u16string_view file_text) {
  return records_of(file_text);
}

std::u16string pinyin_data_from(std::u16string_view file_text) {
  return records_of(file_text) + u'^';
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
