#pragma once

#include <cstdint>
#include <string>

namespace zhavik {

// Area and position of a two-byte code page 936 code, each byte minus 0xA0, as four digits;
// "暂缺" when either lies outside GB2312's 1..94.
std::u16string quwei_answer(std::uint16_t code);

}  // namespace zhavik
