#include "core/lookup_scan.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/cp936.h"
#include "core/kind.h"
#include "core/pinyin_style.h"
#include "core/quwei.h"
#include "core/text.h"
#include "core/tone_marks.h"

namespace zhavik {
namespace {

constexpr auto npos = std::u16string_view::npos;

// Lists each blank-separated code of `codes` that is not listed yet; false as soon as one
// would take the listed codes, each with its blank, beyond `max_answer` units.
bool list_new_codes(std::u16string_view codes, std::vector<std::u16string_view>& listed,
                    std::size_t& listed_length, std::size_t max_answer) {
  for (std::size_t begin = 0; begin < codes.size();) {
    std::size_t blank = codes.find(u' ', begin);
    if (blank == npos) blank = codes.size();
    const std::u16string_view code = codes.substr(begin, blank - begin);
    begin = blank + 1;
    if (code.empty() || std::find(listed.begin(), listed.end(), code) != listed.end()) continue;
    if (listed_length + code.size() + 1 > max_answer) return false;
    listed.push_back(code);
    listed_length += code.size() + 1;
  }
  return true;
}

// The codes of a character are the rest of each record it starts; the end of the text ends
// the last record even without a line break after it. Every distinct code is listed once,
// in order of first appearance, and an asterisk inside a code is shown as a blank.
std::u16string wubi_answer_scan(std::u16string_view text, std::u16string_view character,
                                std::size_t max_answer) {
  std::vector<std::u16string_view> listed;
  std::size_t listed_length = 0;
  for (std::size_t p = text.find(character); p != npos; p = text.find(character, p + 1)) {
    std::size_t end = text.find(u'^', p + 1);
    if (end == npos) end = text.size();
    const std::u16string_view codes = trim_blanks(text.substr(p + 1, end - p - 1));
    if (!list_new_codes(codes, listed, listed_length, max_answer)) break;
  }
  if (listed.empty()) return std::u16string(kMissing);
  std::u16string result;
  for (const std::u16string_view code : listed) {
    result += code;
    result += u' ';
  }
  std::replace(result.begin(), result.end(), u'*', u' ');
  return result;
}

}  // namespace

// Every occurrence of the character that stands in the characters of a record gives the
// record's reading; an occurrence inside a key (no "=" before it in its record) gives none.
std::u16string pinyin_answer_scan(std::u16string_view pinyin_data, std::u16string_view character,
                                  PinyinStyle style, std::size_t max_answer) {
  std::u16string result;
  if (character.empty()) return std::u16string(kMissing);
  for (std::size_t p = pinyin_data.find(character); p != npos;
       p = pinyin_data.find(character, p + 1)) {
    const std::size_t record = pinyin_data.rfind(u'^', p);
    if (record == npos) break;
    const std::u16string_view stretch = pinyin_data.substr(record + 1, p - record);
    const std::size_t equals = stretch.find(u'=');
    if (equals == npos) continue;
    const std::u16string reading = styled_reading(stretch.substr(0, equals), style) + u"  ";
    if (result.size() + reading.size() > max_answer) break;
    result += reading;
  }
  return result.empty() ? std::u16string(kMissing) : result;
}

std::u16string huoqu_scan(const DictionaryTexts& texts, std::u16string_view kind,
                          std::u16string_view character, std::size_t max_answer) {
  if (character.empty()) return {};
  const std::uint16_t code = cp936_double_byte(code_point_at(character, 0));
  if (code == 0) return std::u16string(kNotChinese);
  const std::optional<Kind> which = kind_from_text(kind);
  if (!which) return {};
  switch (*which) {
    case Kind::pinyin:
      return pinyin_answer_scan(texts.pinyin_data, character, PinyinStyle::marks, max_answer);
    case Kind::wubi86:
      return wubi_answer_scan(texts.wubi86_data, character, max_answer);
    case Kind::wubi98:
      return wubi_answer_scan(texts.wubi98_data, character, max_answer);
    case Kind::quwei:
      return quwei_answer(code);
  }
  return {};
}

}  // namespace zhavik
