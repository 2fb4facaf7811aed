#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/dictionary_texts.h"
#include "core/pinyin_style.h"

namespace zhavik {

// The character code lookup as a plain scan of the dictionary texts, one scan per call.
// This is the reference the indexed lookup of CodeBook must agree with on every input.
//
// huoqu(kind, character) answers for kind "拼音" every reading, each followed by two blanks;
// for "86五笔"/"98五笔" every distinct code, each followed by one blank; for "区位" four
// digits. Markers: "暂缺" (not in that dictionary, or outside GB2312 for "区位"), "不是汉字"
// (the first character has no two-byte code page 936 code), "" (empty character, or an
// unknown kind).
//
// An answer holds at most `max_answer` units: readings or codes are listed while the next
// one still fits whole, and none after the first that does not; an answer left with none
// is "暂缺". Real answers are a few dozen units, but a dictionary file can make one as long
// as a key times the number of places the character stands.
inline constexpr std::size_t kMaxAnswerUnits = 64 * 1024;
std::u16string huoqu_scan(const DictionaryTexts& texts, std::u16string_view kind,
                          std::u16string_view character, std::size_t max_answer = kMaxAnswerUnits);

// The pinyin part of huoqu_scan with every reading written in `style`: with marks it is
// huoqu's answer for a character of the pinyin text, under the same bound.
std::u16string pinyin_answer_scan(std::u16string_view pinyin_data, std::u16string_view character,
                                  PinyinStyle style, std::size_t max_answer = kMaxAnswerUnits);

}  // namespace zhavik
