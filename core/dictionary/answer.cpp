#include "core/dictionary/answer.h"

#include <algorithm>

namespace zhavik {

Answer Answer::listing(std::vector<std::u16string> items) {
  const Outcome outcome = items.empty() ? Outcome::missing : Outcome::found;
  return Answer{outcome, std::move(items)};
}

std::u16string answer_text(AnswerShape shape, const Answer& answer) {
  switch (answer.outcome) {
    case Answer::Outcome::found:
      break;
    case Answer::Outcome::missing:
      return std::u16string(kMissing);
    case Answer::Outcome::not_chinese:
      return std::u16string(kNotChinese);
    case Answer::Outcome::no_character:
      return {};
  }
  std::u16string text;
  for (const std::u16string& item : answer.items) {
    const std::size_t start = text.size();
    text += item;
    switch (shape) {
      case AnswerShape::readings:
        text += u"  ";
        break;
      case AnswerShape::codes:
        std::replace(text.begin() + static_cast<std::ptrdiff_t>(start), text.end(), u'*', u' ');
        text += u' ';
        break;
      case AnswerShape::area_position:
        break;
    }
  }
  return text;
}

std::size_t shown_length(AnswerShape shape, std::u16string_view item) {
  switch (shape) {
    case AnswerShape::readings:
      return item.size() + 2;
    case AnswerShape::codes:
      return item.size() + 1;
    case AnswerShape::area_position:
      break;
  }
  return item.size();
}

std::u16string_view first_word(AnswerShape shape, std::u16string_view first_item) {
  const std::u16string_view ends = shape == AnswerShape::codes ? u" *" : u" ";
  return first_item.substr(0, first_item.find_first_of(ends));
}

}  // namespace zhavik
