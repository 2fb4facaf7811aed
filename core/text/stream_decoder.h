#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zhavik {

enum class InputEncoding {
  // A byte-order mark decides (UTF-8, UTF-16 LE or BE); else UTF-8 when the text is valid
  // UTF-8, else code page 936, as told below.
  automatic,
  utf8,
  gbk,
};

// Decodes a byte stream that arrives in pieces of any size, with memory bounded by a small
// look-ahead instead of the whole input. Bytes that fit the encoding nowhere become U+FFFD;
// the offset of the first of them is kept so that the caller can say where the input went
// wrong.
//
// The automatic choice is the one rule by which the program tells the encoding of a text
// file, whether it reads it whole (decode_text_file: the window's File > Open) or as it comes
// (zhavik-lookup --convert), so that both read the same bytes as the same text at any size.
// Without a byte-order mark the choice cannot wait for the whole input: it is made at the
// first byte that is not ASCII (up to there both encodings agree), from the next 64 KiB or
// the rest of the input if that is shorter. A text valid as UTF-8 there is read as UTF-8,
// and a later byte that is not becomes U+FFFD, as in a UTF-8 file damaged in one place.
//
// Input that is written line by line as it goes (typed at a terminal, the output of tail -f)
// cannot wait for 64 KiB: with `choose_at_line_end`, the choice is made at the end of the
// line that holds the first byte that is not ASCII, from that line alone (or its first
// 64 KiB), so that the line comes out as soon as it is complete. A file never needs this.
class StreamDecoder {
 public:
  explicit StreamDecoder(InputEncoding encoding = InputEncoding::automatic,
                         bool choose_at_line_end = false)
      : encoding_(encoding), choose_at_line_end_(choose_at_line_end) {}

  // Appends the text of `bytes` to `out`; the bytes of a character cut off at the end of
  // `bytes` wait for the next call.
  void feed(std::string_view bytes, std::u16string& out);
  // The end of the input: whatever waits is decoded.
  void finish(std::u16string& out);

  // Byte offset, from the start of the input, of the first byte that became U+FFFD.
  std::optional<std::uint64_t> first_bad_byte() const { return first_bad_byte_; }

 private:
  enum class Form { undecided, utf8, gbk, utf16le, utf16be };

  // Decodes what it can of `input`, which starts at offset_; returns how many bytes it used.
  std::size_t decode(std::string_view input, bool final, std::u16string& out);
  void choose_form(std::string_view input, bool final);
  std::size_t decode_utf8(std::string_view bytes, bool final, std::u16string& out);
  std::size_t decode_gbk(std::string_view bytes, bool final, std::u16string& out);
  std::size_t decode_utf16(std::string_view bytes, bool final, std::u16string& out);
  void note_bad_byte(std::uint64_t offset);

  InputEncoding encoding_;
  bool choose_at_line_end_;
  Form form_ = Form::undecided;
  bool mark_checked_ = false;
  std::string pending_;       // bytes that wait for more
  std::uint64_t offset_ = 0;  // input offset of the first byte not yet decoded
  std::optional<std::uint64_t> first_bad_byte_;
};

}  // namespace zhavik
