#include "run_command.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

// The whole content of an open temporary file.
std::string read_back(FILE *file) {
    std::string text;
    char block[65536];
    rewind(file);
    for (size_t n; (n = fread(block, 1, sizeof block, file)) > 0;)
        text.append(block, n);
    fclose(file);
    return text;
}

} // namespace

command_result run_command(const std::vector<std::string> &argv, const command_options &options) {
    // Temporary files, unlike pipes, never block a child that writes much.
    FILE *out = tmpfile(), *err = tmpfile();
    if (!out || !err)
        throw std::runtime_error("tmpfile failed");
    pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        int in_fd = open(options.stdin_path.empty() ? "/dev/null" : options.stdin_path.c_str(), O_RDONLY);
        int out_fd = options.stdout_path.empty() ? fileno(out)
                                                 : open(options.stdout_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in_fd < 0 || out_fd < 0 || dup2(in_fd, 0) < 0 || dup2(out_fd, 1) < 0 || dup2(fileno(err), 2) < 0 ||
            (!options.cwd.empty() && chdir(options.cwd.c_str()) != 0))
            _exit(125);
        closefrom(3);
        struct rlimit limit = {options.address_limit, options.address_limit};
        if (options.address_limit)
            setrlimit(RLIMIT_AS, &limit);
        std::vector<char *> args;
        for (const std::string &a : argv)
            args.push_back(const_cast<char *>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    struct rusage usage {};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    command_result result;
    result.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    result.max_rss_kib = usage.ru_maxrss;
    result.out = read_back(out);
    result.err = read_back(err);
    return result;
}

std::string read_file(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void write_file(const std::string &path, const std::string &bytes) {
    if (!(std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes))
        throw std::runtime_error("cannot write " + path);
}

temp_dir::temp_dir(const std::string &base) {
    std::string pattern =
        ((base.empty() ? std::filesystem::temp_directory_path() : std::filesystem::path(base)) / "glyphwerk-test-XXXXXX")
            .string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

temp_dir::~temp_dir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}
