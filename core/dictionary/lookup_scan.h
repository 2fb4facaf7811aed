#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/dictionary/answer.h"
#include "core/dictionary/dictionary_texts.h"
#include "core/pinyin/pinyin_style.h"

namespace zhavik {

// The character code lookup as a plain scan of the dictionary texts, one scan per call.
// This is the reference the indexed lookup of CodeBook must agree with on every input.
//
// A character of a pinyin-format text has the reading of every record whose characters it
// stands in, in file order, once per place (no de-duplication); a character of a Wubi-format
// text has the distinct codes of every record it starts, in order of first appearance; the
// area/position code is worked out from the character's bytes. The answer is "暂缺" when
// none is found (or the character lies outside GB2312, for the area/position code), "不是汉字"
// when code page 936 writes the first character with one byte, and nothing for an empty
// character. A character of more than one unit is searched for as a whole.
//
// An answer holds at most `max_answer` units as it is shown (answer_text): readings or codes
// are listed while the next one still fits whole, and none after the first that does not;
// an answer left with none is "暂缺". Real answers are a few dozen units, but a dictionary
// file can make one as long as a key times the number of places the character stands.
inline constexpr std::size_t kMaxAnswerUnits = 64 * 1024;

// Readings are written in `format`.
Answer answer_scan(const DictionaryTexts& texts, Kind kind, std::u16string_view character,
                   std::size_t max_answer = kMaxAnswerUnits,
                   PinyinFormat format = PinyinStyle::marks);

// `huoqu`: the answer as the window shows it.
std::u16string huoqu_scan(const DictionaryTexts& texts, Kind kind, std::u16string_view character,
                          std::size_t max_answer = kMaxAnswerUnits);

}  // namespace zhavik
