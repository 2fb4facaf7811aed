#include "core/dictionary/lookup_scan.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/dictionary/quwei.h"
#include "core/text/cp936.h"
#include "core/text/text.h"

namespace zhavik {
namespace {

constexpr auto npos = std::u16string_view::npos;

// Every occurrence of the character that stands in the characters of a record gives the
// record's reading; an occurrence inside a key (no "=" before it in its record) gives none.
std::vector<std::u16string> readings_scan(std::u16string_view text, std::u16string_view character,
                                          std::size_t max_answer, PinyinFormat format) {
  std::vector<std::u16string> readings;
  std::size_t length = 0;
  for (std::size_t p = text.find(character); p != npos; p = text.find(character, p + 1)) {
    const std::size_t record = text.rfind(u'^', p);
    if (record == npos) break;
    const std::u16string_view stretch = text.substr(record + 1, p - record);
    const std::size_t equals = stretch.find(u'=');
    if (equals == npos) continue;
    std::u16string reading = styled_reading(stretch.substr(0, equals), format);
    length += shown_length(AnswerShape::readings, reading);
    if (length > max_answer) break;
    readings.push_back(std::move(reading));
  }
  return readings;
}

// The codes of a character are the rest of each record it starts; the end of the text ends
// the last record even without a line break after it. Every distinct code is listed once,
// in order of first appearance.
std::vector<std::u16string> codes_scan(std::u16string_view text, std::u16string_view character,
                                       std::size_t max_answer) {
  std::vector<std::u16string> listed;
  std::size_t length = 0;
  for (std::size_t p = text.find(character); p != npos; p = text.find(character, p + 1)) {
    std::size_t end = text.find(u'^', p + 1);
    if (end == npos) end = text.size();
    const std::u16string_view codes = trim_blanks(text.substr(p + 1, end - p - 1));
    for (std::size_t begin = 0; begin < codes.size();) {
      const std::size_t blank = std::min(codes.find(u' ', begin), codes.size());
      const std::u16string_view code = codes.substr(begin, blank - begin);
      begin = blank + 1;
      if (code.empty() || std::find(listed.begin(), listed.end(), code) != listed.end()) continue;
      length += shown_length(AnswerShape::codes, code);
      if (length > max_answer) return listed;
      listed.emplace_back(code);
    }
  }
  return listed;
}

}  // namespace

Answer answer_scan(const DictionaryTexts& texts, Kind kind, std::u16string_view character,
                   std::size_t max_answer, PinyinFormat format) {
  if (character.empty()) return Answer::of(Answer::Outcome::no_character);
  const std::uint16_t code = cp936_double_byte(code_point_at(character, 0));
  if (code == 0) return Answer::of(Answer::Outcome::not_chinese);
  switch (shape_of(kind)) {
    case AnswerShape::readings:
      return Answer::listing(readings_scan(texts[kind], character, max_answer, format));
    case AnswerShape::codes:
      return Answer::listing(codes_scan(texts[kind], character, max_answer));
    case AnswerShape::area_position:
      break;
  }
  return quwei_answer(code);
}

std::u16string huoqu_scan(const DictionaryTexts& texts, Kind kind, std::u16string_view character,
                          std::size_t max_answer) {
  return answer_text(shape_of(kind), answer_scan(texts, kind, character, max_answer));
}

}  // namespace zhavik
