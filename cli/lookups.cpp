#include "cli/lookups.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "core/dictionary/answer.h"
#include "core/dictionary/browser.h"
#include "core/dictionary/code_book.h"
#include "core/dictionary/lookup_scan.h"
#include "core/dictionary/query.h"
#include "core/dictionary/reverse_lookup.h"
#include "core/pinyin/pinyin_style.h"
#include "core/pinyin/tone_marks.h"
#include "core/text/text.h"

namespace zhavik {
namespace {

// Answers come from the plain scan while the texts are small (the excerpt of a few lines
// that a lookup of a few characters reads); from the index when they are whole files,
// where one scan per answer would cost more than indexing once, and where a file without
// line ends would make every scan slow.
class Answers {
 public:
  explicit Answers(const DictionaryTexts& texts) : texts_(texts) {
    constexpr std::size_t kSmall = 64 * 1024;
    std::size_t size = 0;
    for (const Kind kind : kAllKinds)
      size += texts[kind].size();
    if (size > kSmall) book_.emplace(texts);
  }

  const DictionaryTexts& texts() const { return texts_; }

  Answer operator()(Kind kind, std::u16string_view character, PinyinFormat format) const {
    if (shape_of(kind) == AnswerShape::readings && format != PinyinFormat()) {
      return answer_scan(texts_, kind, character, kMaxAnswerUnits, format);
    }
    return book_ ? book_->answer(kind, character) : answer_scan(texts_, kind, character);
  }

  // As the window shows it.
  std::u16string text(Kind kind, std::u16string_view character, PinyinFormat format) const {
    return answer_text(shape_of(kind), (*this)(kind, character, format));
  }

 private:
  const DictionaryTexts& texts_;
  std::optional<CodeBook> book_;
};

std::string json_string(std::u16string_view text) {
  static const char* const kHex = "0123456789abcdef";
  std::u16string escaped = u"\"";
  for (const char16_t unit : text) {
    if (unit == u'"' || unit == u'\\') {
      escaped += u'\\';
      escaped += unit;
    } else if (unit < 0x20) {
      escaped += u"\\u00";
      escaped += static_cast<char16_t>(kHex[unit >> 4]);
      escaped += static_cast<char16_t>(kHex[unit & 0xF]);
    } else {
      escaped += unit;
    }
  }
  escaped += u'"';
  return utf16_to_utf8(escaped);
}

void write_json_string(std::u16string_view text, Output& out) {
  out.write(json_string(text));
}

// One character with every kind: the readings and codes as arrays (empty for a marker),
// the area/position code as a string (null outside GB2312). `extra` adds fields in front.
void write_json_object(const Answers& answers, std::u16string_view character, PinyinFormat format,
                       const std::vector<std::pair<const char*, std::string>>& extra, Output& out) {
  out.write("{");
  for (const auto& [name, json_value] : extra) {
    out.write(std::string("\"") + name + "\":" + json_value + ",");
  }
  out.write("\"character\":");
  write_json_string(character, out);
  for (const KindRow& row : kKinds) {
    const Answer answer = answers(row.kind, character, format);
    out.write(",\"" + std::string(row.name) + "\":");
    if (row.shape == AnswerShape::area_position) {
      if (answer.items.empty()) {
        out.write("null");
      } else {
        write_json_string(answer.items.front(), out);
      }
      continue;
    }
    out.write("[");
    for (std::size_t i = 0; i < answer.items.size(); ++i) {
      if (i != 0) out.write(",");
      write_json_string(answer.items[i], out);
    }
    out.write("]");
  }
  out.write("}");
}

// JSON output is one array with an object a line.
class JsonList {
 public:
  explicit JsonList(Output& out) : out_(out) { out_.write("["); }
  ~JsonList() { out_.write(empty_ ? "]\n" : "\n]\n"); }
  Output& next() {
    out_.write(empty_ ? "\n" : ",\n");
    empty_ = false;
    return out_;
  }

 private:
  Output& out_;
  bool empty_ = true;
};

std::vector<std::u16string_view> characters_of(const std::vector<std::u16string>& texts) {
  std::vector<std::u16string_view> characters;
  for (const std::u16string& text : texts) {
    for (std::size_t i = 0; i < text.size(); i += character_length(text, i)) {
      const std::u16string_view character =
          std::u16string_view(text).substr(i, character_length(text, i));
      if (character == u" " || character == u"\t" || character == u"\n" || character == u"\r") {
        continue;
      }
      characters.push_back(character);
    }
  }
  return characters;
}

void describe(const Request& request, const Answers& answers, Output& out) {
  const std::vector<std::u16string_view> characters = characters_of(request.operands);
  if (request.json) {
    JsonList list(out);
    for (const std::u16string_view character : characters) {
      write_json_object(answers, character, request.format(), {}, list.next());
    }
    return;
  }
  bool first = true;
  for (const std::u16string_view character : characters) {
    if (!first) out.write("\n");
    first = false;
    out.write(character);
    out.write("\n");
    for (const KindRow& row : kKinds) {
      out.write("  ");
      out.write(row.text);
      // Labels are padded to eight terminal columns; each hanzi takes two.
      std::size_t columns = 0;
      for (const char16_t unit : row.text)
        columns += unit < 0x80 ? 1 : 2;
      out.write(std::string(8 - std::min<std::size_t>(columns, 8), ' '));
      out.write(trim_blanks(answers.text(row.kind, character, request.format())));
      out.write("\n");
    }
  }
}

void query(const Request& request, const Answers& answers, Output& out) {
  const std::u16string character = normalise_query_input(request.operands[0]);
  if (request.json) {
    JsonList list(out);
    if (!character.empty())
      write_json_object(answers, character, request.format(), {}, list.next());
    return;
  }
  out.write(character);
  out.write("\n");
  for (const Kind kind : kAllKinds) {
    out.write(answers.text(kind, character, request.format()));
    out.write("\n");
  }
}

int from(const Request& request, const Answers& answers, Output& out) {
  const DictionaryTexts& texts = answers.texts();
  const std::u16string& code = request.operands[0];
  const Kind kind = *request.kind;
  const AnswerShape shape = shape_of(kind);
  std::vector<ReverseEntry> entries;
  switch (shape) {
    case AnswerShape::readings:
      if (const std::optional<WrittenSyllable> reading = read_written_syllable(code)) {
        entries = characters_of_reading(texts[kind], *reading, request.prefix, request.format());
      }
      break;
    case AnswerShape::codes:
      entries = characters_of_wubi_code(texts[kind], ascii_lower(code), request.prefix);
      break;
    case AnswerShape::area_position:
      entries = characters_of_quwei(code, request.prefix);
      break;
  }
  if (entries.empty()) return 1;
  const bool wubi = shape == AnswerShape::codes;
  if (request.json) {
    JsonList list(out);
    for (const ReverseEntry& entry : entries) {
      std::vector<std::pair<const char*, std::string>> extra = {{"code", json_string(entry.code)}};
      if (wubi) extra.emplace_back("typed_first", entry.typed_first ? "true" : "false");
      write_json_object(answers, entry.character, request.format(), extra, list.next());
    }
    return 0;
  }
  for (const ReverseEntry& entry : entries) {
    if (request.prefix) {
      out.write(entry.code);
      out.write("\t");
    }
    out.write(entry.character);
    out.write("\t");
    out.write(trim_blanks(answers.text(kind, entry.character, request.format())));
    if (wubi) out.write(entry.typed_first ? "\tfirst" : "\t-");
    out.write("\n");
  }
  return 0;
}

}  // namespace

int run_lookup(const Request& request, const DictionaryTexts& texts, Output& out) {
  const Answers answers(texts);
  switch (request.mode) {
    case Mode::describe:
      describe(request, answers, out);
      break;
    case Mode::kind:
      out.write(answers.text(*request.kind, request.operands[0], request.format()));
      out.write("\n");
      break;
    case Mode::query:
      query(request, answers, out);
      break;
    case Mode::from:
      return from(request, answers, out);
    case Mode::tones:
      out.write(zhuanhuan_py(request.operands[0]));
      out.write("\n");
      break;
    case Mode::syllables:
      for (const std::u16string& syllable : syllables_of_letter(
               texts[Kind::pinyin], pinyin_lower_case(request.operands[0]), kSyllableCapacity)) {
        out.write(styled_reading(syllable, request.format()));  // without a tone
        out.write("\n");
      }
      break;
    case Mode::characters: {
      const std::u16string syllable = pinyin_lower_case(request.operands[0]);
      for (const SyllableCharacter& entry :
           characters_of_syllable(texts[Kind::pinyin], syllable, kCharacterCapacity)) {
        out.write(entry.character);
        out.write("\t" + std::to_string(entry.tone) + "\t");
        out.write(
            styled_reading(syllable + static_cast<char16_t>(u'0' + entry.tone), request.format()));
        out.write("\n");
      }
      break;
    }
    default:
      break;
  }
  return 0;
}

}  // namespace zhavik
