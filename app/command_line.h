#pragma once
// The Linux edition's command line: it takes no arguments but --help and
// --version, which answer without a display.
#include <string>
#include <string_view>
#include <vector>

namespace app {

enum class Request { run, help, version, unknownOption };

struct CommandLine {
    Request request = Request::run;
    std::string unknownOption;  // the first argument not understood
};

CommandLine readCommandLine(const std::vector<std::string_view>& arguments);

std::string helpText(std::string_view programName);
std::string versionText(std::string_view version);

}  // namespace app
