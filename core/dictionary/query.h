#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/dictionary/code_book.h"

namespace zhavik {

struct QueryResult {
  // What the input box holds after the query: the input without blanks at its ends, cut to
  // its first character (a surrogate pair stays whole); empty for a blank input.
  std::u16string character;
  // The answers of the window's kinds, in their order: pinyin, 86 Wubi, 98 Wubi,
  // area/position.
  std::array<std::u16string, kWindowKinds.size()> answers;
};

std::u16string normalise_query_input(std::u16string_view input);

QueryResult run_query(const CodeBook& book, std::u16string_view input);

}  // namespace zhavik
