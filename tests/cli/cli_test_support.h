#ifndef GLYPHWERK_TESTS_CLI_TEST_SUPPORT_H
#define GLYPHWERK_TESTS_CLI_TEST_SUPPORT_H

// Paths the build gives the command-line tests.

#include "run_command.h"

#include <string>
#include <vector>

inline const std::string cli_path = GLYPHWERK_BDF_CLI;
inline const std::string test_data = GLYPHWERK_TEST_DATA;

inline std::string data_file(const std::string &name) { return test_data + "/" + name; }

// Runs glyphwerk-bdf with the given arguments.
inline command_result run_cli(std::vector<std::string> args, const command_options &options = {}) {
    args.insert(args.begin(), cli_path);
    return run_command(args, options);
}

#endif
