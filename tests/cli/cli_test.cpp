// glyphwerk-bdf as users run it: exit statuses, exact output bytes, the lines
// on standard error, and the files it writes or must not write.

#include "cli_test_support.h"

#include "bdf.h"

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

TEST(CliCheck, CleanFontPrintsNothingAndExitsZero) {
    command_result r = run_cli({"check", data_file("cli-clean.bdf")});
    EXPECT_EQ(r.exit_status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
}

TEST(CliCheck, PrintsTheMessagesExactlyAndExitsOne) {
    command_result r = run_cli({"check", data_file("cli-messages.bdf")});
    EXPECT_EQ(r.exit_status, 1);
    EXPECT_EQ(r.out, "FONT_ASCENT property missing.  Added \"FONT_ASCENT 6\".\n"
                     "Incorrect glyph count: 3 indicated but 2 found.\n");
    EXPECT_EQ(r.err, "");
}

TEST(CliCheck, FontWithoutEndfontReportsTheLineWhereReadingStopped) {
    std::string text = read_file(data_file("cli-clean.bdf"));
    text.erase(text.rfind("ENDFONT\n"));
    long lines = std::count(text.begin(), text.end(), '\n');
    temp_dir dir;
    write_file(dir.file("cut.bdf"), text);

    command_result r = run_cli({"check", dir.file("cut.bdf")});
    EXPECT_EQ(r.exit_status, 1);
    EXPECT_EQ(r.out, "[line " + std::to_string(lines + 1) + "] Font glyphs corrupted or missing fields.\n");
}

TEST(CliNoFont, EveryCommandExitsTwoWithOneLineSayingWhy) {
    temp_dir dir;
    const std::string missing = dir.file("missing.bdf");
    const std::string not_font = data_file("cli-not-a-font.bdf");
    for (const char *command : {"check", "info", "normalize"}) {
        SCOPED_TRACE(command);
        auto args = [&](const std::string &in) {
            std::vector<std::string> a = {command, in};
            if (std::string(command) == "normalize")
                a.push_back(dir.file("out.bdf"));
            return a;
        };
        command_result r = run_cli(args(missing));
        EXPECT_EQ(r.exit_status, 2);
        EXPECT_EQ(r.out, "");
        expect_one_error_line(r, missing + ": No such file or directory");

        r = run_cli(args(not_font));
        EXPECT_EQ(r.exit_status, 2);
        EXPECT_EQ(r.out, "");
        expect_one_error_line(r, not_font + ": no STARTFONT line");

        r = run_cli(args(dir.path()));
        EXPECT_EQ(r.exit_status, 2);
        EXPECT_EQ(r.out, "");
        expect_one_error_line(r, "Is a directory");

        EXPECT_FALSE(fs::exists(dir.file("out.bdf")));
    }
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

TEST(CliNormalize, WritesTheNormalisedFont) {
    temp_dir dir;
    command_result r = run_cli({"normalize", data_file("cli-clean.bdf"), dir.file("out.bdf")});
    EXPECT_EQ(r.exit_status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(read_file(dir.file("out.bdf")), read_file(data_file("cli-clean.normalized.bdf")));
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

TEST(CliNormalize, KeepsAnExistingOutputWhenTheInputIsNoFont) {
    temp_dir dir;
    write_file(dir.file("out.bdf"), "precious");
    command_result r = run_cli({"normalize", data_file("cli-not-a-font.bdf"), dir.file("out.bdf")});
    EXPECT_EQ(r.exit_status, 2);
    EXPECT_EQ(read_file(dir.file("out.bdf")), "precious");
}

TEST(CliNormalize, UnwritableOutputExitsThree) {
    temp_dir dir;
    const std::string in = data_file("cli-clean.bdf");

    const std::string in_missing_folder = dir.file("no-such-folder/out.bdf");
    command_result r = run_cli({"normalize", in, in_missing_folder});
    EXPECT_EQ(r.exit_status, 3);
    EXPECT_EQ(r.out, "");
    expect_one_error_line(r, "cannot write " + in_missing_folder);
    EXPECT_FALSE(fs::exists(in_missing_folder));

    // A folder in the way is left as it was.
    fs::create_directory(dir.file("taken"));
    write_file(dir.file("taken/inside"), "x");
    r = run_cli({"normalize", in, dir.file("taken")});
    EXPECT_EQ(r.exit_status, 3);
    expect_one_error_line(r, "cannot write " + dir.file("taken"));
    EXPECT_EQ(read_file(dir.file("taken/inside")), "x");
}

TEST(CliOutput, FullStandardOutputIsAFailure) {
    command_result r = run_cli({"info", data_file("cli-clean.bdf")}, {.stdout_path = "/dev/full"});
    EXPECT_EQ(r.exit_status, 3);
    expect_one_error_line(r, "standard output");
}

TEST(CliUsage, WrongArgumentsPrintUsageAndExitSixtyFour) {
    const std::vector<std::vector<std::string>> wrong = {
        {}, {"check"}, {"check", "a", "b"}, {"info"}, {"normalize", "a"}, {"normalize", "a", "b", "c"},
        {"convert", "a"}, {"--version"}, {"CHECK", "a"}};
    for (const auto &args : wrong) {
        command_result r = run_cli(args);
        SCOPED_TRACE(args.empty() ? "(none)" : args[0]);
        EXPECT_EQ(r.exit_status, 64);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("usage: glyphwerk-bdf check FILE\n", 0), 0u) << r.err;
    }
}

TEST(CliUsage, HelpExplainsEveryCommandAndExitStatus) {
    command_result r = run_cli({"--help"});
    EXPECT_EQ(r.exit_status, 0);
    EXPECT_EQ(r.err, "");
    for (const char *word : {"check FILE", "info FILE", "normalize IN OUT", "64"})
        EXPECT_NE(r.out.find(word), std::string::npos) << word;
}
