// zhavik-lookup: the lookup engine at a terminal and in scripts. UTF-8 in and out.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/command_line.h"
#include "cli/console.h"
#include "cli/convert_input.h"
#include "cli/file_calls.h"
#include "cli/lookups.h"
#include "cli/needed_dictionaries.h"
#include "cli/output.h"
#include "core/version_text.h"

namespace {

constexpr int kFailure = 1;
constexpr int kUsageError = 2;

int run(const zhavik::Request& request, const char* argv0, zhavik::Output& out) {
  switch (request.mode) {
    case zhavik::Mode::help:
      out.write(zhavik::kUsage);
      return 0;
    case zhavik::Mode::version:
      out.write("zhavik-lookup " + zhavik::program_version_text() + "\n");
      return 0;
    default:
      break;
  }
  const std::filesystem::path folder = zhavik::dictionary_folder(request, argv0);
  const zhavik::DictionaryTexts texts = zhavik::load_needed_dictionaries(request, folder);
  if (request.mode == zhavik::Mode::convert)
    return zhavik::convert_input(request, texts, folder, out);
  return zhavik::run_lookup(request, texts, out);
}

}  // namespace

int main(int argc, char** argv) {
  zhavik::prepare_standard_streams();
  const std::vector<std::string> arguments = zhavik::utf8_arguments(argc, argv);
  zhavik::Output out(stdout);
  try {
    const zhavik::Request request = zhavik::parse_arguments(arguments);
    // A person at a terminal sees each line as soon as it is converted.
    out.set_line_buffered(request.line_buffered ||
                          (request.mode == zhavik::Mode::convert && zhavik::is_terminal(stdout)));
    const int status = run(request, argv[0], out);
    if (!out.flush()) {
      zhavik::write_error_line(std::string("cannot write standard output: ") +
                               std::strerror(out.error()));
      return kFailure;
    }
    return status;
  } catch (const zhavik::UsageError& error) {
    zhavik::write_error_line(error.what());
    std::fputs(zhavik::kUsage.c_str(), stderr);
    return kUsageError;
  }
}
