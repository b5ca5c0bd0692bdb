// glyphwerk-bdf: the command-line face of the BDF library.

#include "commands.h"

#include "bdf.h"
#include "glyphwerk_version.h"

#include <cstdio>
#include <cstring>

namespace {

const char usage_text[] =
    "usage: glyphwerk-bdf check FILE...\n"
    "       glyphwerk-bdf info [--json] FILE\n"
    "       glyphwerk-bdf normalize IN OUT\n"
    "       glyphwerk-bdf --help | --version\n";

const char help_text[] =
    "glyphwerk-bdf reads and writes BDF 2.1 bitmap fonts the way Glyphwerk does.\n"
    "\n"
    "  check FILE...       print the reader's corrections and complaints about each\n"
    "                      FILE (nothing when there are none); with several files\n"
    "                      each line starts with the file's name and \": \"\n"
    "  info FILE           print the font panel: file, name, point size, bounding box\n"
    "                      and number of encoded glyphs\n"
    "  info --json FILE    the same as a JSON object\n"
    "  normalize IN OUT    read IN and write it to OUT exactly as saving it in\n"
    "                      Glyphwerk would; OUT is replaced only when the write succeeds\n"
    "                      (the system writes it to the disk in its own time)\n"
    "\n"
    "A FILE, IN or OUT of - is standard input or standard output.\n"
    "\n"
    "Exit status: 0 success (check: no messages), 1 check found messages,\n"
    "2 the input cannot be read or holds no STARTFONT line, 3 OUT cannot be written,\n"
    "64 wrong arguments. check with several files exits with the worst of them.\n";

constexpr int ONE_OR_MORE = -1;

struct command {
    const char *name;
    const char *option; // written right after the name, or null
    int operands;       // exactly this many, or ONE_OR_MORE
    int (*run)(int count, char **operands);
};

const command commands[] = {
    {"check", nullptr, ONE_OR_MORE, [](int count, char **operands) { return run_check(count, operands); }},
    {"info", nullptr, 1, [](int, char **operands) { return run_info(operands[0]); }},
    {"info", "--json", 1, [](int, char **operands) { return run_info_json(operands[0]); }},
    {"normalize", nullptr, 2, [](int, char **operands) { return run_normalize(operands[0], operands[1]); }},
};

bool is_option(const char *argument) { return std::strncmp(argument, "--", 2) == 0; }

// The command `args` ask for, with its operands, or null when they fit none.
// Operands never start with "--", so a misplaced option is not taken for a file.
const command *match(int count, char **args, int *operand_count, char ***operands) {
    if (count < 1)
        return nullptr;
    for (const command &c : commands) {
        if (std::strcmp(args[0], c.name) != 0)
            continue;
        int first = 1;
        if (c.option) {
            if (count < 2 || std::strcmp(args[1], c.option) != 0)
                continue;
            first = 2;
        }
        const int n = count - first;
        if (c.operands == ONE_OR_MORE ? n < 1 : n != c.operands)
            continue;
        bool files_only = true;
        for (int i = first; i < count; ++i)
            files_only = files_only && !is_option(args[i]);
        if (!files_only)
            continue;
        *operand_count = n;
        *operands = args + first;
        return &c;
    }
    return nullptr;
}

} // namespace

int main(int argc, char **argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(usage_text, stdout);
        std::fputs("\n", stdout);
        std::fputs(help_text, stdout);
        return EXIT_CLEAN;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::fputs("glyphwerk-bdf " GLYPHWERK_VERSION "\n", stdout);
        return EXIT_CLEAN;
    }
    int operand_count = 0;
    char **operands = nullptr;
    const command *chosen = match(argc - 1, argv + 1, &operand_count, &operands);
    if (!chosen) {
        std::fputs(usage_text, stderr);
        return EXIT_USAGE;
    }

    bdf_setup();
    int status = chosen->run(operand_count, operands);
    bdf_cleanup();

    // A full disk or a closed pipe must not pass for a clean run.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "glyphwerk-bdf: cannot write standard output\n");
        return EXIT_WRITE_FAILED;
    }
    return status;
}
