// Fuzz target of the command-line splitter, which reads the names "Send To"
// and a drop onto the program's icon hand over. The bytes, cut at each NUL,
// are a list of arguments; quoted as Windows programs quote them for a child's
// command line, they must split back into the same list. It also splits the
// raw bytes (up to the first NUL) as a command line of their own: no argument
// may hold a byte that the line does not.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/command_line.h"

namespace {

void Expect(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "command line: %s\n", what);
    std::abort();
}

// One argument quoted so that the splitting rules give it back: in quotes
// when it is empty or holds a blank or a quote, with each run of backslashes
// doubled before a quote and before the closing quote.
std::string Quoted(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) return argument;
    std::string quoted = "\"";
    for (size_t i = 0;; ++i) {
        size_t slashes = 0;
        while (i < argument.size() && argument[i] == '\\') ++i, ++slashes;
        if (i == argument.size()) {
            quoted.append(slashes * 2, '\\');
            break;
        }
        if (argument[i] == '"') quoted.append(slashes * 2 + 1, '\\');
        else quoted.append(slashes, '\\');
        quoted += argument[i];
    }
    return quoted + "\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes((const char*)data, size);
    std::vector<std::string> arguments;
    for (size_t start = 0; start <= bytes.size();) {
        size_t end = bytes.find('\0', start);
        if (end == std::string::npos) end = bytes.size();
        arguments.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    std::string line = "\"C:\\Program Files\\DU_ZID\\DU_ZID.exe\"";
    for (const std::string& argument : arguments) line += " " + Quoted(argument);
    Expect(CommandLineArguments(line) == arguments, "quoted arguments did not split back into themselves");

    std::string raw = bytes.substr(0, bytes.find('\0'));
    for (const std::string& argument : CommandLineArguments(raw))
        for (char c : argument) Expect(raw.find(c) != std::string::npos, "an argument holds a byte of no line");
    return 0;
}
