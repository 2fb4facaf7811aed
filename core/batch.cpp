#include "core/batch.h"

#include "core/cp936.h"
#include "core/lookup_scan.h"
#include "core/text.h"

namespace zhavik {
namespace {

constexpr std::u16string_view kLineEnd = u"\r\n";

std::u16string_view first_word(std::u16string_view answer) {
  return answer.substr(0, answer.find(u' '));
}

// answer_of(character) gives the lookup's answer for one Chinese character, as a view that
// stays valid until the next call.
template <class AnswerOf>
std::u16string convert(std::u16string_view text, AnswerOf answer_of) {
  std::u16string out;
  out.reserve(text.size() * 4 + 4);
  bool has_line_end = false;
  for (std::size_t i = 0; i < text.size();) {
    if (text.substr(i, kLineEnd.size()) == kLineEnd) {
      out += kLineEnd;
      i += kLineEnd.size();
      has_line_end = true;
      continue;
    }
    const std::size_t length = character_length(text, i);
    const std::u16string_view character = text.substr(i, length);
    i += length;
    if (character == u" ") continue;
    if (cp936_double_byte(code_point_at(character, 0)) == 0) {
      out += u"### ";
    } else {
      out += first_word(answer_of(character));
      out += u' ';
    }
  }
  // The last line's end, and the empty line that a text without any line break gets.
  out += kLineEnd;
  if (!has_line_end) out += kLineEnd;
  return out;
}

}  // namespace

std::u16string convert_text(const CodeBook& book, std::u16string_view text,
                            std::u16string_view kind) {
  const std::optional<Kind> which = kind_from_text(kind);
  std::u16string scratch;
  return convert(text, [&](std::u16string_view character) -> std::u16string_view {
    // Every character with a two-byte code is a single code unit.
    return which ? book.first_word(*which, character[0], scratch) : std::u16string_view();
  });
}

std::u16string convert_text_scan(const DictionaryTexts& texts, std::u16string_view text,
                                 std::u16string_view kind, std::size_t max_answer) {
  std::u16string answer;
  return convert(text, [&](std::u16string_view character) -> std::u16string_view {
    answer = huoqu_scan(texts, kind, character, max_answer);
    return answer;
  });
}

}  // namespace zhavik
