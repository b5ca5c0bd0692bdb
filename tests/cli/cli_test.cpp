// glyphwerk-bdf as users run it: exit statuses, exact output bytes, the lines
// on standard error, and the files it writes or must not write.

#include "cli_test_support.h"

#include "bdf.h"
#include "glyphwerk_version.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// One line, ending in "\n", mentioning `what`.
void expect_one_error_line(const command_result &result, const std::string &what) {
    ASSERT_FALSE(result.err.empty());
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
    EXPECT_NE(result.err.find(what), std::string::npos) << result.err;
}

// What the program itself writes when it opens `path` and saves it.
std::string saved_in_process(const std::string &path, const std::string &out_path) {
    bdf_font *font = bdf_load_font_path(path.c_str());
    if (!font)
        return "(no font)";
    int ok = bdf_save_font_path(out_path.c_str(), font);
    bdf_free_font(font);
    return ok ? read_file(out_path) : "(save failed)";
}

} // namespace

TEST(CliCheck, PrintsTheMessagesExactlyAndExitsOneWhenThereAreAny) {
    temp_dir dir;
    std::string cut = read_file(data_file("cli-clean.bdf"));
    cut.erase(cut.rfind("ENDFONT\n"));
    write_file(dir.file("cut.bdf"), cut);
    const long cut_lines = std::count(cut.begin(), cut.end(), '\n');
    struct {
        std::string path;
        int status;
        std::string out;
    } cases[] = {
        {data_file("cli-clean.bdf"), 0, ""},
        {data_file("cli-messages.bdf"), 1,
         "FONT_ASCENT property missing.  Added \"FONT_ASCENT 6\".\n"
         "Incorrect glyph count: 3 indicated but 2 found.\n"},
        // Without ENDFONT: the line where reading stopped.
        {dir.file("cut.bdf"), 1,
         "[line " + std::to_string(cut_lines + 1) + "] Font glyphs corrupted or missing fields.\n"},
    };
    for (const auto &c : cases) {
        command_result r = run_cli({"check", c.path});
        EXPECT_EQ(r.exit_status, c.status) << c.path;
        EXPECT_EQ(r.out, c.out) << c.path;
        EXPECT_EQ(r.err, "") << c.path;
    }
}

TEST(CliCheck, SeveralFilesPrefixEveryLineWithTheirNameAndExitWithTheWorst) {
    const std::string clean = data_file("cli-clean.bdf"), messages = data_file("cli-messages.bdf");
    const std::string prefixed = messages + ": FONT_ASCENT property missing.  Added \"FONT_ASCENT 6\".\n" +
                                 messages + ": Incorrect glyph count: 3 indicated but 2 found.\n";
    struct {
        std::vector<std::string> args;
        int status;
        std::string out;
    } cases[] = {
        {{"check", clean, clean}, 0, ""},
        {{"check", clean, messages}, 1, prefixed},
        {{"check", messages, "missing.bdf", clean}, 2, prefixed},
        // Standard input among the files.
        {{"check", clean, "-"}, 1,
         "standard input: FONT_ASCENT property missing.  Added \"FONT_ASCENT 6\".\n"
         "standard input: Incorrect glyph count: 3 indicated but 2 found.\n"},
    };
    for (const auto &c : cases) {
        command_result r = run_cli(c.args, {.stdin_path = messages});
        SCOPED_TRACE(c.args[2]);
        EXPECT_EQ(r.exit_status, c.status);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, c.status == 2 ? "glyphwerk-bdf: cannot read missing.bdf: No such file or directory\n" : "");
    }
}

TEST(CliNoFont, EveryCommandExitsTwoWithOneLineSayingWhy) {
    temp_dir dir;
    const std::string missing = dir.file("missing.bdf"), not_font = data_file("cli-not-a-font.bdf");
    const std::pair<std::string, std::string> inputs[] = {{missing, missing + ": No such file or directory"},
                                                          {not_font, not_font + ": no STARTFONT line"},
                                                          {dir.path(), "Is a directory"}};
    for (const std::string command : {"check", "info", "normalize"}) {
        for (const auto &[in, why] : inputs) {
            SCOPED_TRACE(command + " " + in);
            std::vector<std::string> args = {command, in};
            if (command == "normalize")
                args.push_back(dir.file("out.bdf"));
            command_result r = run_cli(args);
            EXPECT_EQ(r.exit_status, 2);
            EXPECT_EQ(r.out, "");
            expect_one_error_line(r, why);
            EXPECT_FALSE(fs::exists(dir.file("out.bdf")));
        }
    }
    // An output that exists already is kept.
    write_file(dir.file("out.bdf"), "precious");
    EXPECT_EQ(run_cli({"normalize", not_font, dir.file("out.bdf")}).exit_status, 2);
    EXPECT_EQ(read_file(dir.file("out.bdf")), "precious");
}

TEST(CliInfo, PrintsTheFontPanelWithTheFileAsGiven) {
    command_result r = run_cli({"info", "cli-clean.bdf"}, {.cwd = test_data});
    EXPECT_EQ(r.exit_status, 0);
    EXPECT_EQ(r.out, "File: cli-clean.bdf\n"
                     "Font: -Glyphwerk-Test-Medium-R-Normal--8-80-75-75-P-50-ISO10646-1\n"
                     "Size: \t\t8\n"
                     "Max Width:\t5\n"
                     "Max Height:\t8\n"
                     "Glyphs Num: \t2\n");
    EXPECT_EQ(r.err, "");

    // A font with messages is still a font: info succeeds.
    r = run_cli({"info", data_file("cli-messages.bdf")});
    EXPECT_EQ(r.exit_status, 0);
    EXPECT_EQ(r.out.rfind("File: " + data_file("cli-messages.bdf") + "\n", 0), 0u) << r.out;
}

TEST(CliInfo, JsonCarriesTheSummaryAndSurvivesNamesThatAreNotUtf8) {
    command_result r = run_cli({"info", "--json", "cli-clean.bdf"}, {.cwd = test_data});
    EXPECT_EQ(r.exit_status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "{\n"
                     "  \"file\": \"cli-clean.bdf\",\n"
                     "  \"font\": \"-Glyphwerk-Test-Medium-R-Normal--8-80-75-75-P-50-ISO10646-1\",\n"
                     "  \"point_size\": 8,\n"
                     "  \"bounding_box\": {\n"
                     "    \"width\": 5,\n"
                     "    \"height\": 8,\n"
                     "    \"x_offset\": 0,\n"
                     "    \"y_offset\": -2\n"
                     "  },\n"
                     "  \"glyphs\": 2\n"
                     "}\n");

    // A Latin-1 font name: the byte that is not UTF-8 becomes U+FFFD.
    temp_dir dir;
    std::string latin1 = read_file(data_file("cli-clean.bdf"));
    latin1.replace(latin1.find("-Glyphwerk-Test"), 15, "-Glyphwerk-T\xe9st");
    write_file(dir.file("latin1.bdf"), latin1);
    r = run_cli({"info", "--json", "-"}, {.stdin_path = dir.file("latin1.bdf")});
    EXPECT_EQ(r.exit_status, 0) << r.err;
    EXPECT_NE(r.out.find("  \"file\": \"-\",\n  \"font\": \"-Glyphwerk-T\xef\xbf\xbdst-Medium"), std::string::npos)
        << r.out;
}

TEST(CliNormalize, WritesTheNormalisedFont) {
    temp_dir dir;
    command_result r = run_cli({"normalize", data_file("cli-clean.bdf"), dir.file("out.bdf")});
    EXPECT_EQ(r.exit_status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(read_file(dir.file("out.bdf")), read_file(data_file("cli-clean.normalized.bdf")));
}

TEST(CliNormalize, DashIsStandardInputOrOutputAndInputIsReadAsText) {
    temp_dir dir;
    const std::string clean = read_file(data_file("cli-clean.bdf"));
    // CR LF line ends, and a 0x1A byte at the start of a bitmap: read as text,
    // the one becomes LF and the other ends the data.
    std::string crlf;
    for (char c : clean)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    write_file(dir.file("crlf.bdf"), crlf);
    std::string cut = clean;
    cut.insert(cut.find("BITMAP\n") + 7, "\x1a");
    write_file(dir.file("cut.bdf"), cut);

    const std::string normalized = read_file(data_file("cli-clean.normalized.bdf"));
    EXPECT_EQ(run_cli({"normalize", data_file("cli-clean.bdf"), "-"}).out, normalized);
    for (const std::string &in : {data_file("cli-clean.bdf"), dir.file("crlf.bdf"), dir.file("cut.bdf")}) {
        SCOPED_TRACE(in);
        const command_result by_path = run_cli({"normalize", in, "-"});
        EXPECT_EQ(by_path.exit_status, 0) << by_path.err;
        command_result r = run_cli({"normalize", "-", "-"}, {.stdin_path = in});
        EXPECT_EQ(r.exit_status, 0) << r.err;
        EXPECT_EQ(r.out, by_path.out);
        r = run_cli({"normalize", "-", dir.file("out.bdf")}, {.stdin_path = in});
        EXPECT_EQ(r.exit_status, 0) << r.err;
        EXPECT_EQ(read_file(dir.file("out.bdf")), by_path.out);
        EXPECT_EQ(run_cli({"check", "-"}, {.stdin_path = in}).out, run_cli({"check", in}).out);
    }
    EXPECT_FALSE(fs::exists("-")) << "no file named -";

    command_result r = run_cli({"normalize", "-", "-"}, {.stdin_path = data_file("cli-not-a-font.bdf")});
    EXPECT_EQ(r.exit_status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "glyphwerk-bdf: standard input: no STARTFONT line, not a BDF font\n");
    r = run_cli({"normalize", data_file("cli-clean.bdf"), "-"}, {.stdout_path = "/dev/full"});
    EXPECT_EQ(r.exit_status, 3);
    expect_one_error_line(r, "cannot write standard output");
}

TEST(CliNormalize, WritesWhatSavingInTheProgramWrites) {
    temp_dir dir;
    bdf_setup();
    int compared = 0;
    for (const auto &entry : fs::directory_iterator(test_data)) {
        if (entry.path().extension() != ".bdf")
            continue;
        const std::string in = entry.path().string();
        SCOPED_TRACE(in);
        std::string expected = saved_in_process(in, dir.file("expected.bdf"));
        command_result r = run_cli({"normalize", in, dir.file("out.bdf")});
        if (expected == "(no font)") {
            EXPECT_EQ(r.exit_status, 2);
        } else {
            EXPECT_EQ(r.exit_status, 0) << r.err;
            EXPECT_EQ(read_file(dir.file("out.bdf")), expected);
            ++compared;
        }
        fs::remove(dir.file("out.bdf"));
    }
    bdf_cleanup();
    EXPECT_GE(compared, 3);
}

TEST(CliOutput, UnwritableOutputExitsThreeAndLeavesWhatWasThere) {
    temp_dir dir;
    const std::string in = data_file("cli-clean.bdf");
    fs::create_directory(dir.file("taken"));
    write_file(dir.file("taken/inside"), "x");
    for (const std::string &out : {dir.file("no-such-folder/out.bdf"), dir.file("taken")}) {
        command_result r = run_cli({"normalize", in, out});
        EXPECT_EQ(r.exit_status, 3);
        EXPECT_EQ(r.out, "");
        expect_one_error_line(r, "cannot write " + out);
    }
    EXPECT_FALSE(fs::exists(dir.file("no-such-folder")));
    EXPECT_EQ(read_file(dir.file("taken/inside")), "x"); // the folder in the way is left as it was

    command_result full = run_cli({"info", in}, {.stdout_path = "/dev/full"});
    EXPECT_EQ(full.exit_status, 3);
    expect_one_error_line(full, "standard output");
}

TEST(CliUsage, WrongArgumentsPrintUsageAndExitSixtyFour) {
    const std::vector<std::vector<std::string>> wrong = {
        {}, {"check"}, {"info"}, {"normalize", "a"}, {"normalize", "a", "b", "c"}, {"convert", "a"}, {"CHECK", "a"},
        {"info", "--json"}, {"info", "--json", "a", "b"}, {"info", "--xml", "a"}, {"info", "a", "--json"},
        {"check", "a", "--json"}, {"normalize", "--json", "a"}, {"--version", "a"}, {"--help", "a"}};
    for (const auto &args : wrong) {
        command_result r = run_cli(args);
        SCOPED_TRACE(args.empty() ? "(none)" : args[0] + " " + (args.size() > 1 ? args[1] : ""));
        EXPECT_EQ(r.exit_status, 64);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("usage: glyphwerk-bdf check FILE...\n", 0), 0u) << r.err;
    }
}

TEST(CliUsage, HelpExplainsEveryCommandAndExitStatus) {
    command_result r = run_cli({"--help"});
    EXPECT_EQ(r.exit_status, 0);
    EXPECT_EQ(r.err, "");
    for (const char *word : {"check FILE...", "info FILE", "info --json FILE", "normalize IN OUT", "--version", "64"})
        EXPECT_NE(r.out.find(word), std::string::npos) << word;
}

TEST(CliUsage, BothProgramsAnswerVersionAndHelpWithoutADisplay) {
    std::vector<std::string> programs = {cli_path};
#ifdef GLYPHWERK_GUI_PROGRAM // builds without the desktop program check the command alone
    programs.push_back(GLYPHWERK_GUI_PROGRAM);
#endif
    for (const std::string &program : programs) {
        SCOPED_TRACE(program);
        const std::string name = fs::path(program).filename().string();
        const std::vector<std::string> no_display = {"env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u",
                                                     "QT_QPA_PLATFORM", program};
        std::vector<std::string> args = no_display;
        args.push_back("--version");
        command_result r = run_command(args);
        EXPECT_EQ(r.exit_status, 0);
        EXPECT_EQ(r.out, name + " " GLYPHWERK_VERSION "\n");
        EXPECT_EQ(r.err, "");
        args.back() = "--help";
        r = run_command(args);
        EXPECT_EQ(r.exit_status, 0);
        EXPECT_EQ(r.out.rfind("usage: " + name + " ", 0), 0u) << r.out;
        EXPECT_NE(r.out.find(name + " --help | --version\n"), std::string::npos) << r.out;
        EXPECT_EQ(r.err, "");
    }
}
