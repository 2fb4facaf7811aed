#pragma once

#include <string>
#include <string_view>

namespace zhavik {

// Turns numbered pinyin into tone marks by plain replacement: zhong1 -> zhōng, lü4 -> lǜ,
// ma5 -> ma. Every numbered final anywhere in the text is replaced, so several syllables
// (zhong1 guo2) work too; text without tone digits comes back unchanged.
std::u16string zhuanhuan_py(std::u16string_view text);

}  // namespace zhavik
