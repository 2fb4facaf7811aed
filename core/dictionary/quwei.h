#pragma once

#include <cstdint>
#include <string>

#include "core/dictionary/answer.h"

namespace zhavik {

// Area and position of a two-byte code page 936 code, each byte minus 0xA0, as four digits;
// empty when either lies outside GB2312's 1..94.
std::u16string quwei_code(std::uint16_t code);

// Those digits as the lookup's answer: "暂缺" outside GB2312.
Answer quwei_answer(std::uint16_t code);

}  // namespace zhavik
