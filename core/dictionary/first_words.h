#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/dictionary/dictionary_texts.h"
#include "core/dictionary/kind.h"
#include "core/pinyin/pinyin_style.h"

namespace zhavik {

// The first word of every character's lookup answer of one kind (its first reading or
// code, or "暂缺"): all that a conversion keeps. One pass over the one text of the kind
// works it out, which is far cheaper than the whole CodeBook when a run converts with one
// kind only. The words are those of huoqu_scan, the reference.
class FirstWords {
 public:
  FirstWords(const DictionaryTexts& texts, Kind kind, PinyinFormat format = {});

  Kind kind() const { return kind_; }

  // The first word for a character that code page 936 writes with two bytes (`code`).
  // The view stays valid until the next call.
  std::u16string_view of(char16_t character, std::uint16_t code);

 private:
  struct Word {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
    bool found = false;
  };
  void index_readings(std::u16string_view text, PinyinFormat format);
  void index_codes(std::u16string_view text);

  Kind kind_;
  std::array<Word, 0x10000> words_{};
  std::u16string spelled_;  // the words, each once
  std::u16string quwei_;
};

}  // namespace zhavik
