#ifndef GLYPHWERK_TESTS_RUN_COMMAND_H
#define GLYPHWERK_TESTS_RUN_COMMAND_H

// Runs a real program in a child process and captures what it did.

#include <cstdint>
#include <string>
#include <vector>

struct command_result {
    int exit_status = -1; // -1 when the child did not exit normally
    int signal = 0;       // the signal that ended it, or 0
    std::string out;      // standard output (empty when sent to a file)
    std::string err;      // standard error
    long max_rss_kib = 0; // peak resident memory of the child
};

struct command_options {
    std::string cwd = {};         // empty: the test's own
    std::string stdin_path = {};  // empty: /dev/null
    std::string stdout_path = {}; // empty: capture; otherwise open this file for writing
    uint64_t address_limit = 0;   // RLIMIT_AS in bytes for the child; 0 for none
};

command_result run_command(const std::vector<std::string> &argv, const command_options &options = {});

std::string read_file(const std::string &path);
void write_file(const std::string &path, const std::string &bytes);

// A fresh private folder under `base` (default: the temporary folder), removed with the object.
class temp_dir {
public:
    explicit temp_dir(const std::string &base = "");
    ~temp_dir();
    temp_dir(const temp_dir &) = delete;
    const std::string &path() const { return path_; }
    std::string file(const std::string &name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

#endif
