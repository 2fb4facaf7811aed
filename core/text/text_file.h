#pragma once

#include <string>
#include <string_view>

namespace zhavik {

// Decodes the bytes of a text file a user opens, by the one rule of StreamDecoder's automatic
// choice (stream_decoder.h): a file with a byte-order mark as that Unicode form (UTF-8,
// UTF-16 LE or BE), else as UTF-8 when it is valid UTF-8 (most text files on Linux), else as
// code page 936. Nothing is lost: bytes that fit none of these become U+FFFD.
std::u16string decode_text_file(std::string_view bytes);

}  // namespace zhavik
