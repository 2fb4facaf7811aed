#include "core/dictionary/query.h"

#include "core/text/text.h"

namespace zhavik {

std::u16string normalise_query_input(std::u16string_view input) {
  return std::u16string(first_character(trim_blanks(input)));
}

QueryResult run_query(const CodeBook& book, std::u16string_view input) {
  QueryResult result;
  result.character = normalise_query_input(input);
  for (std::size_t i = 0; i < kWindowKinds.size(); ++i) {
    result.answers[i] = book.huoqu(kWindowKinds[i], result.character);
  }
  return result;
}

}  // namespace zhavik
