#include "core/text/text_file.h"

#include "core/text/stream_decoder.h"

namespace zhavik {

std::u16string decode_text_file(std::string_view bytes) {
  std::u16string text;
  StreamDecoder decoder;
  decoder.feed(bytes, text);
  decoder.finish(text);
  return text;
}

}  // namespace zhavik
