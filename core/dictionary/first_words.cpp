#include "core/dictionary/first_words.h"

#include <algorithm>
#include <vector>

#include "core/dictionary/answer.h"
#include "core/dictionary/quwei.h"

namespace zhavik {
namespace {

constexpr auto npos = std::u16string_view::npos;

}  // namespace

FirstWords::FirstWords(const DictionaryTexts& texts, Kind kind, PinyinFormat format) : kind_(kind) {
  switch (shape_of(kind)) {
    case AnswerShape::readings:
      index_readings(texts[kind], format);
      break;
    case AnswerShape::codes:
      index_codes(texts[kind]);
      break;
    case AnswerShape::area_position:
      break;
  }
}

// A character's first reading is that of the first record listing it after the "=".
void FirstWords::index_readings(std::u16string_view text, PinyinFormat format) {
  for_each_record(text, [&](std::u16string_view body) {
    const std::size_t equals = body.find(u'=');
    if (equals == npos || equals + 1 == body.size()) return;
    const std::u16string reading = styled_reading(body.substr(0, equals), format);
    const std::u16string_view first = first_word(AnswerShape::readings, reading);
    const Word word{static_cast<std::uint32_t>(spelled_.size()),
                    static_cast<std::uint32_t>(first.size()), true};
    spelled_ += first;
    for (const char16_t unit : body.substr(equals + 1)) {
      if (!words_[unit].found) words_[unit] = word;
    }
  });
}

// A character's first code is the first code after its first place in a record with
// anything but blanks after it. Walking each record backwards, every place overwrites the
// code of its code unit, which leaves the code of the first place: linear in the text
// whatever its records.
void FirstWords::index_codes(std::u16string_view text) {
  std::vector<std::uint32_t> begin(words_.size());
  std::size_t stop = text.size();                  // the first blank at or after the place
  std::size_t code_begin = npos, code_end = npos;  // the code after the place, if any
  for (std::size_t p = text.size(); p-- > 0;) {
    const char16_t unit = text[p];
    if (unit == u'^') {
      stop = p;
      code_begin = code_end = npos;
      continue;
    }
    if (code_begin != npos) {
      words_[unit] = {0, static_cast<std::uint32_t>(code_end - code_begin), true};
      begin[unit] = static_cast<std::uint32_t>(code_begin);
    }
    if (unit == u' ') {
      stop = p;
    } else {
      code_begin = p;
      code_end = stop;
    }
  }
  for (std::size_t unit = 0; unit < words_.size(); ++unit) {
    if (!words_[unit].found) continue;
    const std::u16string_view first =
        first_word(AnswerShape::codes, text.substr(begin[unit], words_[unit].length));
    words_[unit].offset = static_cast<std::uint32_t>(spelled_.size());
    words_[unit].length = static_cast<std::uint32_t>(first.size());
    spelled_ += first;
  }
}

std::u16string_view FirstWords::of(char16_t character, std::uint16_t code) {
  if (shape_of(kind_) == AnswerShape::area_position) {
    quwei_ = quwei_code(code);
    return quwei_.empty() ? kMissing : quwei_;
  }
  const Word& word = words_[character];
  if (!word.found) return kMissing;
  return std::u16string_view(spelled_).substr(word.offset, word.length);
}

}  // namespace zhavik
