#pragma once

#include "cli/arguments.h"
#include "cli/output.h"
#include "core/dictionary/dictionary_texts.h"

namespace zhavik {

// --convert: the request's files in order (standard input when there are none), each
// decoded and converted as it is read, so that memory stays small however long the input.
// Each file is an input of its own: its last line ends with it, and bytes it holds that
// fit no encoding are reported with the file's name. With --words the word table comes from
// `folder`'s img/. Stops at once when the output cannot be written. Returns the exit
// status: 1 when an input or the word table could not be read (said on standard error) or
// the output could not be written, else 0.
int convert_input(const Request& request, const DictionaryTexts& texts,
                  const std::filesystem::path& folder, Output& out);

}  // namespace zhavik
