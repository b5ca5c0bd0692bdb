// glyphwerk-bdf: the command-line face of the BDF library.

#include "commands.h"

#include "bdf.h"

#include <cstdio>
#include <cstring>

namespace {

const char usage_text[] =
    "usage: glyphwerk-bdf check FILE\n"
    "       glyphwerk-bdf info FILE\n"
    "       glyphwerk-bdf normalize IN OUT\n"
    "       glyphwerk-bdf --help\n";

const char help_text[] =
    "glyphwerk-bdf reads and writes BDF 2.1 bitmap fonts the way Glyphwerk does.\n"
    "\n"
    "  check FILE          print the reader's corrections and complaints about FILE\n"
    "                      (nothing when there are none)\n"
    "  info FILE           print the font panel: file, name, point size, bounding box\n"
    "                      and number of encoded glyphs\n"
    "  normalize IN OUT    read IN and write it to OUT exactly as saving it in\n"
    "                      Glyphwerk would; OUT is replaced only when the write succeeds\n"
    "                      (the system writes it to the disk in its own time)\n"
    "\n"
    "Exit status: 0 success (check: no messages), 1 check found messages,\n"
    "2 the input cannot be read or holds no STARTFONT line, 3 OUT cannot be written,\n"
    "64 wrong arguments.\n";

struct command {
    const char *name;
    int operands;
    int (*run)(char **operands);
};

const command commands[] = {
    {"check", 1, [](char **operands) { return run_check(operands[0]); }},
    {"info", 1, [](char **operands) { return run_info(operands[0]); }},
    {"normalize", 2, [](char **operands) { return run_normalize(operands[0], operands[1]); }},
};

} // namespace

int main(int argc, char **argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(usage_text, stdout);
        std::fputs("\n", stdout);
        std::fputs(help_text, stdout);
        return EXIT_CLEAN;
    }
    const command *chosen = nullptr;
    if (argc >= 2)
        for (const command &c : commands)
            if (std::strcmp(argv[1], c.name) == 0 && argc == 2 + c.operands)
                chosen = &c;
    if (!chosen) {
        std::fputs(usage_text, stderr);
        return EXIT_USAGE;
    }

    bdf_setup();
    int status = chosen->run(argv + 2);
    bdf_cleanup();

    // A full disk or a closed pipe must not pass for a clean run.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "glyphwerk-bdf: cannot write standard output\n");
        return EXIT_WRITE_FAILED;
    }
    return status;
}
