// glyphwerk-bdf as users run it: exit statuses, exact output bytes, the lines
// on standard error, and the files it writes or must not write.

#include "cli_test_support.h"

#include "glyphwerk_version.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

namespace fs = std::filesystem;

namespace {

void expect_one_error_line(const command_result &result, const std::string &what) {
    EXPECT_TRUE(result.err.find('\n') == result.err.size() - 1 && result.err.find(what) != std::string::npos) << result.err;
}

const std::string clean = data_file("cli-clean.bdf"), with_messages = data_file("cli-messages.bdf");

} // namespace

TEST(CliCheck, PrintsTheMessagesPrefixedWhenSeveralAndExitsWithTheWorst) {
    const std::string prefixed = with_messages + ": FONT_ASCENT property missing.  Added \"FONT_ASCENT 6\".\n" +
                                 with_messages + ": Incorrect glyph count: 3 indicated but 2 found.\n";
    struct { std::vector<std::string> args; int status; std::string out; } cases[] = {
        {{clean}, 0, ""},
        {{with_messages}, 1, "FONT_ASCENT property missing.  Added \"FONT_ASCENT 6\".\nIncorrect glyph count: 3 indicated but 2 found.\n"},
        {{with_messages, "missing.bdf", clean}, 2, prefixed},
        {{clean, "-"}, 1, "standard input: FONT_ASCENT property missing.  Added \"FONT_ASCENT 6\".\n"
                          "standard input: Incorrect glyph count: 3 indicated but 2 found.\n"},
    };
    for (auto &c : cases) {
        c.args.insert(c.args.begin(), "check");
        command_result r = run_cli(c.args, {.stdin_path = with_messages});
        SCOPED_TRACE(c.args[1]);
        EXPECT_EQ(r.exit_status, c.status);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, c.status == 2 ? "glyphwerk-bdf: cannot read missing.bdf: No such file or directory\n" : "");
    }
}

TEST(CliNoFont, EveryCommandExitsTwoWithOneLineSayingWhyAndWritesNothing) {
    temp_dir dir;
    const std::string missing = dir.file("missing.bdf"), not_font = data_file("cli-not-a-font.bdf");
    write_file(dir.file("kept.bdf"), "precious");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"check", missing}, missing + ": No such file or directory"}, {{"info", dir.path()}, "Is a directory"},
        {{"normalize", not_font, dir.file("kept.bdf")}, not_font + ": no STARTFONT line"}};
    for (const auto &[args, why] : cases) {
        command_result r = run_cli(args);
        EXPECT_EQ(r.exit_status, 2) << args[0];
        EXPECT_EQ(r.out, "");
        expect_one_error_line(r, why);
    }
    EXPECT_EQ(read_file(dir.file("kept.bdf")), "precious");
    command_result r = run_cli({"normalize", "-", "-"}, {.stdin_path = not_font});
    EXPECT_EQ(r.exit_status, 2);
    EXPECT_EQ(r.out + r.err, "glyphwerk-bdf: standard input: no STARTFONT line, not a BDF font\n");
}

TEST(CliInfo, PrintsTheFontPanelOrItsJsonWithTheFileAsGiven) {
    command_result r = run_cli({"info", "cli-clean.bdf"}, {.cwd = test_data});
    EXPECT_EQ(r.exit_status, 0);
    EXPECT_EQ(r.out + r.err, "File: cli-clean.bdf\nFont: -Glyphwerk-Test-Medium-R-Normal--8-80-75-75-P-50-ISO10646-1\n"
                             "Size: \t\t8\nMax Width:\t5\nMax Height:\t8\nGlyphs Num: \t2\n");
    EXPECT_EQ(run_cli({"info", with_messages}).exit_status, 0); // a font with messages is still a font

    r = run_cli({"info", "--json", "cli-clean.bdf"}, {.cwd = test_data});
    EXPECT_EQ(r.exit_status, 0);
    EXPECT_EQ(r.out, "{\n  \"file\": \"cli-clean.bdf\",\n"
                     "  \"font\": \"-Glyphwerk-Test-Medium-R-Normal--8-80-75-75-P-50-ISO10646-1\",\n"
                     "  \"point_size\": 8,\n  \"bounding_box\": {\n    \"width\": 5,\n    \"height\": 8,\n"
                     "    \"x_offset\": 0,\n    \"y_offset\": -2\n  },\n  \"glyphs\": 2\n}\n");
    // A Latin-1 font name: the byte that is not UTF-8 becomes U+FFFD.
    temp_dir dir;
    write_file(dir.file("latin1.bdf"), std::regex_replace(read_file(clean), std::regex("-Glyphwerk-Test"), "-Glyphwerk-T\xe9st"));
    r = run_cli({"info", "--json", "-"}, {.stdin_path = dir.file("latin1.bdf")});
    EXPECT_NE(r.out.find("  \"file\": \"-\",\n  \"font\": \"-Glyphwerk-T\xef\xbf\xbdst-Medium"), std::string::npos)
        << r.out;
}

TEST(CliNormalize, WritesTheNormalisedFontToAFileOrDashesReadingInputAsText) {
    temp_dir dir;
    command_result written = run_cli({"normalize", clean, dir.file("out.bdf")});
    EXPECT_EQ(written.exit_status, 0);
    EXPECT_EQ(written.out + written.err, "");
    const std::string normalized = read_file(data_file("cli-clean.normalized.bdf"));
    EXPECT_EQ(read_file(dir.file("out.bdf")), normalized);
    // Read as text, CR LF line ends give the same font, from a path or from standard input.
    write_file(dir.file("crlf.bdf"), std::regex_replace(read_file(clean), std::regex("\n"), "\r\n"));
    EXPECT_EQ(run_cli({"normalize", dir.file("crlf.bdf"), "-"}).out, normalized);
    EXPECT_EQ(run_cli({"normalize", "-", "-"}, {.stdin_path = dir.file("crlf.bdf")}).out, normalized);
    EXPECT_FALSE(fs::exists("-")) << "no file named -";
}

TEST(CliOutput, UnwritableOutputExitsThreeAndLeavesWhatWasThere) {
    temp_dir dir;
    fs::create_directory(dir.file("taken"));
    write_file(dir.file("taken/inside"), "x");
    for (const std::string &out : {dir.file("no-such-folder/out.bdf"), dir.file("taken")}) {
        command_result r = run_cli({"normalize", clean, out});
        EXPECT_EQ(r.exit_status, 3);
        EXPECT_EQ(r.out, "");
        expect_one_error_line(r, "cannot write " + out);
    }
    EXPECT_FALSE(fs::exists(dir.file("no-such-folder")));
    EXPECT_EQ(read_file(dir.file("taken/inside")), "x");
    for (const std::vector<std::string> &args : {std::vector<std::string>{"info", clean}, {"normalize", clean, "-"}}) {
        command_result full = run_cli(args, {.stdout_path = "/dev/full"});
        EXPECT_EQ(full.exit_status, 3);
        expect_one_error_line(full, "cannot write standard output");
    }
}

TEST(CliUsage, WrongArgumentsPrintUsageAndExitSixtyFourWhileHelpAndVersionNeedNoDisplay) {
    for (const std::vector<std::string> &args : std::vector<std::vector<std::string>>{{}, {"normalize", "a"}, {"info", "--xml", "a"}}) {
        command_result r = run_cli(args);
        EXPECT_EQ(r.exit_status, 64) << args.size();
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("usage: glyphwerk-bdf check FILE...\n", 0), 0u) << r.err;
    }
    for (const char *word : {"info --json FILE", "normalize IN OUT"})
        EXPECT_NE(run_cli({"--help"}).out.find(word), std::string::npos) << word;
    std::vector<std::string> programs = {cli_path};
#ifdef GLYPHWERK_GUI_PROGRAM // builds without the desktop program check the command alone
    programs.push_back(GLYPHWERK_GUI_PROGRAM);
#endif
    for (const std::string &program : programs) {
        const std::string name = fs::path(program).filename().string();
        for (const std::string option : {"--version", "--help"}) {
            command_result r =
                run_command({"env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "QT_QPA_PLATFORM", program, option});
            EXPECT_EQ(r.exit_status, 0) << name << option;
            EXPECT_EQ(r.err, "");
            if (option == "--version")
                EXPECT_EQ(r.out, name + " " GLYPHWERK_VERSION "\n");
            else
                EXPECT_TRUE(r.out.rfind("usage: " + name + " ", 0) == 0 &&
                            r.out.find(name + " --help | --version\n") != std::string::npos) << r.out;
        }
    }
}
