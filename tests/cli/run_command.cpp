#include "run_command.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <stdexcept>

command_result run_command(const std::vector<std::string> &argv, const command_options &options) {
    // Files, unlike pipes, never block a child that writes much.
    temp_dir capture;
    const std::string out = options.stdout_path.empty() ? capture.file("out") : options.stdout_path,
                      err = capture.file("err");
    pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        int in_fd = open(options.stdin_path.empty() ? "/dev/null" : options.stdin_path.c_str(), O_RDONLY);
        int out_fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), err_fd = open(err.c_str(), O_WRONLY | O_CREAT, 0644);
        if (in_fd < 0 || out_fd < 0 || err_fd < 0 || dup2(in_fd, 0) < 0 || dup2(out_fd, 1) < 0 || dup2(err_fd, 2) < 0 ||
            (!options.cwd.empty() && chdir(options.cwd.c_str()) != 0))
            _exit(125);
        closefrom(3);
        struct rlimit limit = {options.address_limit, options.address_limit};
        if (options.address_limit)
            setrlimit(RLIMIT_AS, &limit);
        std::vector<char *> args(argv.size() + 1);
        std::transform(argv.begin(), argv.end(), args.begin(), [](const std::string &a) { return (char *)a.c_str(); });
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    struct rusage usage {};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {}
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, WIFSIGNALED(status) ? WTERMSIG(status) : 0,
            options.stdout_path.empty() ? read_file(out) : "", read_file(err), usage.ru_maxrss};
}

std::string read_file(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void write_file(const std::string &path, const std::string &bytes) {
    if (!(std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes))
        throw std::runtime_error("cannot write " + path);
}

temp_dir::temp_dir(const std::string &base)
    : path_(((base.empty() ? std::filesystem::temp_directory_path() : std::filesystem::path(base)) / "glyphwerk-test-XXXXXX")
                .string()) {
    if (!mkdtemp(path_.data()))
        throw std::runtime_error("mkdtemp failed");
}

temp_dir::~temp_dir() {
    std::error_code ignored; // a destructor must not throw
    std::filesystem::remove_all(path_, ignored);
}
