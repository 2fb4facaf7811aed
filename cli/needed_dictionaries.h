#pragma once

#include <filesystem>

#include "cli/arguments.h"
#include "core/dictionary/dictionary_texts.h"

namespace zhavik {

// Loads only the dictionaries the request reads (a pinyin conversion needs neither Wubi
// file), warning on standard error about any that cannot be read; their lookups answer
// "暂缺", as in the window. A run that looks up a few characters reads only the lines
// that hold them.
DictionaryTexts load_needed_dictionaries(const Request& request,
                                         const std::filesystem::path& folder);

// The folder that holds img/: --data, else the program's own folder.
std::filesystem::path dictionary_folder(const Request& request, const char* argv0);

}  // namespace zhavik
