#include "run_command.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

// A temporary file that catches one output stream of the child: unlike a pipe
// it never blocks a child that writes much, and it is read once the child ended.
struct capture_file {
    std::string path = (std::filesystem::temp_directory_path() / "glyphwerk-capture-XXXXXX").string();
    int fd = mkstemp(path.data());
    capture_file() {
        if (fd < 0)
            throw std::runtime_error("mkstemp failed");
    }
    ~capture_file() {
        close(fd);
        unlink(path.c_str());
    }
};

} // namespace

command_result run_command(const std::vector<std::string> &argv, const command_options &options) {
    capture_file out, err;
    pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        int in_fd = open(options.stdin_path.empty() ? "/dev/null" : options.stdin_path.c_str(), O_RDONLY);
        int out_fd = options.stdout_path.empty()
                         ? out.fd
                         : open(options.stdout_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in_fd < 0 || out_fd < 0)
            _exit(125);
        dup2(in_fd, 0);
        dup2(out_fd, 1);
        dup2(err.fd, 2);
        closefrom(3);
        if (!options.cwd.empty() && chdir(options.cwd.c_str()) != 0)
            _exit(126);
        if (options.address_limit) {
            struct rlimit limit = {options.address_limit, options.address_limit};
            setrlimit(RLIMIT_AS, &limit);
        }
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
    if (WIFEXITED(status))
        result.exit_status = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result.signal = WTERMSIG(status);
    result.max_rss_kib = usage.ru_maxrss;
    result.out = read_file(out.path);
    result.err = read_file(err.path);
    return result;
}

std::string read_file(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void write_file(const std::string &path, const std::string &bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), (std::streamsize)bytes.size());
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

temp_dir::temp_dir(const std::string &base) {
    std::filesystem::path parent = base.empty() ? std::filesystem::temp_directory_path() : std::filesystem::path(base);
    std::string pattern = (parent / "glyphwerk-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

temp_dir::~temp_dir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}
