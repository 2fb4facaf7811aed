#pragma once

#include <filesystem>

namespace zhavik {

class Form1;

// The start-up sequence, run once on the freshly built window before it shows: the title
// with the version, the batch editors' text colour, the dictionaries from img/ in
// `program_folder`, letter A pressed, the single-character view. Missing dictionaries leave
// their lookups empty; the window always comes up.
void Form_Load(Form1& form, const std::filesystem::path& program_folder);

}  // namespace zhavik
