#include "core/dictionary/dictionary_texts.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "core/dictionary/dictionary_excerpt.h"
#include "core/text/cp936.h"
#include "core/text/mapped_file.h"

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

std::u16string load_text(Kind kind, const std::filesystem::path& path,
                         const std::vector<std::uint16_t>* only, LoadReport& report) {
  // Mapped rather than read: a lookup of a few characters then costs neither copying the
  // file nor clearing memory for it, only a search through the system's cached pages. The
  // mapping lasts only while the text is made from it.
  const std::shared_ptr<const MappedFile> file = MappedFile::open(path, kMaxDictionaryFileBytes);
  if (!file) {
    report.unreadable.push_back(path);
    return {};
  }
  if (line_end_of(file->bytes()) == LineEnd::lf) report.read_at_lf.push_back(path);
  return dictionary_text(kind, file->bytes(), only);
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

std::u16string dictionary_text(Kind kind, std::string_view file_bytes,
                               const std::vector<std::uint16_t>* only) {
  // Told from the whole file: an excerpt may hold neither line end. (Such a file is one line
  // to the excerpt, which then holds all of it.)
  const LineEnd line_end = line_end_of(file_bytes);
  const std::u16string text =
      only ? cp936_decode(dictionary_excerpt(file_bytes, *only)) : cp936_decode(file_bytes);
  return shape_of(kind) == AnswerShape::readings ? pinyin_data_from(text, line_end)
                                                 : wubi_data_from(text, line_end);
}

DictionaryTexts load_dictionary_texts(const std::filesystem::path& folder, LoadReport* report,
                                      std::span<const Kind> kinds,
                                      const std::vector<std::uint16_t>* only) {
  std::vector<const KindRow*> files;
  for (const Kind kind : kinds) {
    if (row_of(kind).file) files.push_back(&row_of(kind));
  }
  std::sort(files.begin(), files.end(),
            [](const KindRow* a, const KindRow* b) { return std::strcmp(a->file, b->file) < 0; });
  LoadReport ignored;
  DictionaryTexts texts;
  for (const KindRow* row : files) {
    texts[row->kind] = load_text(row->kind, folder / row->file, only, report ? *report : ignored);
  }
  return texts;
}

}  // namespace zhavik
