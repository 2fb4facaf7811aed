#pragma once

#include "cli/arguments.h"
#include "cli/output.h"
#include "core/dictionary/dictionary_texts.h"

namespace zhavik {

// Every mode but --convert, --help and --version. A run asks about a few characters, so
// small texts are scanned rather than indexed. Returns the exit status (1: --from found
// nothing).
int run_lookup(const Request& request, const DictionaryTexts& texts, Output& out);

}  // namespace zhavik
