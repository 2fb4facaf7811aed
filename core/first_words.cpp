#include "core/first_words.h"

#include "core/quwei.h"

#include <algorithm>
#include <vector>

namespace zhavik {
namespace {

constexpr auto npos = std::u16string_view::npos;

}  // namespace

FirstWords::FirstWords(const DictionaryTexts& texts, Kind kind, PinyinStyle style) : kind_(kind) {
  switch (kind) {
    case Kind::pinyin:
      index_pinyin(texts.pinyin_data, style);
      break;
    case Kind::wubi86:
      index_wubi(texts.wubi86_data);
      break;
    case Kind::wubi98:
      index_wubi(texts.wubi98_data);
      break;
    case Kind::quwei:
      break;
  }
}

// A character's first reading is that of the first record listing it after the "=".
void FirstWords::index_pinyin(std::u16string_view text, PinyinStyle style) {
  for_each_record(text, [&](std::u16string_view body) {
    const std::size_t equals = body.find(u'=');
    if (equals == npos || equals + 1 == body.size()) return;
    const std::u16string reading = styled_reading(body.substr(0, equals), style);
    const Word word{static_cast<std::uint32_t>(spelled_.size()),
                    static_cast<std::uint32_t>(std::min(reading.find(u' '), reading.size())), true};
    spelled_ += std::u16string_view(reading).substr(0, word.length);
    for (const char16_t unit : body.substr(equals + 1)) {
      if (!words_[unit].found) words_[unit] = word;
    }
  });
}

// A character's first code is the first word of what follows its first place in a record
// with anything but blanks after it; the answer turns "*" into a blank, so "*" ends the
// word too. Walking each record backwards, every place overwrites the word of its code
// unit, which leaves the word of the first place: linear in the text whatever its records.
void FirstWords::index_wubi(std::u16string_view text) {
  std::vector<std::uint32_t> begin(words_.size());
  std::size_t stop = text.size();                  // the first blank or "*" at or after the place
  std::size_t word_begin = npos, word_end = npos;  // the word after the place, if any
  for (std::size_t p = text.size(); p-- > 0;) {
    const char16_t unit = text[p];
    if (unit == u'^') {
      stop = p;
      word_begin = word_end = npos;
      continue;
    }
    if (word_begin != npos) {
      words_[unit] = {0, static_cast<std::uint32_t>(word_end - word_begin), true};
      begin[unit] = static_cast<std::uint32_t>(word_begin);
    }
    if (unit == u' ' || unit == u'*') stop = p;
    if (unit != u' ') {
      word_begin = p;
      word_end = stop;
    }
  }
  for (std::size_t unit = 0; unit < words_.size(); ++unit) {
    if (!words_[unit].found) continue;
    words_[unit].offset = static_cast<std::uint32_t>(spelled_.size());
    spelled_ += text.substr(begin[unit], words_[unit].length);
  }
}

std::u16string_view FirstWords::of(char16_t character, std::uint16_t code) {
  if (kind_ == Kind::quwei) {
    quwei_ = quwei_answer(code);
    return quwei_;
  }
  const Word& word = words_[character];
  if (!word.found) return kMissing;
  return std::u16string_view(spelled_).substr(word.offset, word.length);
}

}  // namespace zhavik
