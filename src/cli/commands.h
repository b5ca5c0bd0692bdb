#ifndef GLYPHWERK_CLI_COMMANDS_H
#define GLYPHWERK_CLI_COMMANDS_H

// The subcommands of glyphwerk-bdf. Each returns the process exit status and
// expects the property registry to be set up (bdf_setup). A path of "-" is
// standard input, or standard output for normalize's OUT.

enum {
    EXIT_CLEAN = 0,      // check: a font without messages; other commands: success
    EXIT_MESSAGES = 1,   // check: a font with messages
    EXIT_NO_FONT = 2,    // the input cannot be opened or holds no STARTFONT line
    EXIT_WRITE_FAILED = 3,
    EXIT_USAGE = 64,     // as sysexits' EX_USAGE
};

// One file prints its messages as they are; several print each line after
// the file's name and ": ", and return the worst status of them.
int run_check(int count, char **paths);
int run_info(const char *path);
int run_info_json(const char *path);
int run_normalize(const char *in_path, const char *out_path);

#endif
