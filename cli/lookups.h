#pragma once

#include "arguments.h"
#include "dictionary_texts.h"
#include "output.h"

namespace zhavik {

// Every mode but --convert, --help and --version. Answers come from the plain scan of the
// dictionary texts: a run asks about a few characters, and building the index would cost
// more than all of its scans. Returns the exit status (1: --from found nothing).
int run_lookup(const Request& request, const DictionaryTexts& texts, Output& out);

}  // namespace zhavik
