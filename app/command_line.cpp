#include "app/command_line.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Where the program's own name ends.
size_t AfterProgramName(const std::string& line) {
    if (!line.empty() && line[0] == '"') {
        size_t close = line.find('"', 1);
        return close == std::string::npos ? line.size() : close + 1;
    }
    size_t at = 0;
    while (at < line.size() && !IsBlank(line[at])) ++at;
    return at;
}

}  // namespace

std::vector<std::string> CommandLineArguments(const std::string& line) {
    std::vector<std::string> arguments;
    size_t at = AfterProgramName(line);
    for (;;) {
        while (at < line.size() && IsBlank(line[at])) ++at;
        if (at >= line.size()) return arguments;
        std::string argument;
        bool quoted = false;
        while (at < line.size() && (quoted || !IsBlank(line[at]))) {
            size_t slashes = 0;
            while (at < line.size() && line[at] == '\\') ++slashes, ++at;
            if (at < line.size() && line[at] == '"') {
                argument.append(slashes / 2, '\\');
                if (slashes % 2 == 1) {
                    argument += '"';
                } else if (quoted && at + 1 < line.size() && line[at + 1] == '"') {
                    argument += '"';
                    ++at;
                } else {
                    quoted = !quoted;
                }
                ++at;
            } else {
                argument.append(slashes, '\\');
                if (slashes == 0 && at < line.size()) argument += line[at++];
            }
        }
        arguments.push_back(argument);
    }
}
