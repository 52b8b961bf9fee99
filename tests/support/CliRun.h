#pragma once
// Running ostrel-cli as a user would, for the tests in tests/cli: only they
// are built after the tool.

#include <string>
#include <vector>

namespace ostrel::test {

struct RunResult {
    int status = -1;  // exit status, or -1 when the process did not exit normally
    std::string out;  // standard output
    std::string err;  // standard error
};

// Runs ostrel-cli with the arguments, feeding stdinBytes to its standard input.
RunResult RunCli(const std::vector<std::string>& args, const std::string& stdinBytes = {});

// `ostrel-cli tokens --lang LANGUAGE tests/data/<folder>/<source>` prints
// exactly tests/data/<folder>/golden.tokens.
void ExpectCliTokensMatchGolden(const std::string& language, const std::string& folder, const std::string& source);

}  // namespace ostrel::test
