#include "run_command.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

// Drains both pipes together so a child that fills one of them never blocks.
void drain(int out_fd, int err_fd, std::string &out, std::string &err) {
    struct pollfd fds[2] = {{out_fd, POLLIN, 0}, {err_fd, POLLIN, 0}};
    std::string *sinks[2] = {&out, &err};
    int open_fds = (out_fd >= 0) + (err_fd >= 0);
    char buffer[65536];
    while (open_fds > 0) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, (size_t)n);
            } else if (n == 0 || errno != EINTR) {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open_fds;
            }
        }
    }
}

} // namespace

command_result run_command(const std::vector<std::string> &argv, const command_options &options) {
    int out_pipe[2] = {-1, -1}, err_pipe[2];
    if ((options.stdout_path.empty() && pipe(out_pipe) != 0) || pipe(err_pipe) != 0)
        throw std::runtime_error("pipe failed");
    pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        int null_in = open("/dev/null", O_RDONLY);
        dup2(null_in, 0);
        if (options.stdout_path.empty()) {
            dup2(out_pipe[1], 1);
        } else {
            int fd = open(options.stdout_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd < 0)
                _exit(125);
            dup2(fd, 1);
        }
        dup2(err_pipe[1], 2);
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
    if (out_pipe[1] >= 0)
        close(out_pipe[1]);
    close(err_pipe[1]);
    command_result result;
    drain(out_pipe[0], err_pipe[0], result.out, result.err);
    int status = 0;
    struct rusage usage {};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status))
        result.exit_status = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result.signal = WTERMSIG(status);
    result.max_rss_kib = usage.ru_maxrss;
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
