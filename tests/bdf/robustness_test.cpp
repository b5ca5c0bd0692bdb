/* Hostile and damaged input: memory that runs out and random damage. */
#include "reader_support.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <random>

namespace {

/* Runs `body` in a child whose address space may grow by `headroom` bytes at
 * most; true when `body` returned true there. The sanitizers reserve terabytes
 * of address space: under them no limit can be set and the tests are skipped. */
class LimitedMemory : public ::testing::Test {
  protected:
    void SetUp() override {
#ifdef GLYPHWERK_SANITIZED
        GTEST_SKIP() << "no address-space limit under the address sanitizer";
#endif
    }
    static bool run_limited(rlim_t headroom, const std::function<bool()> &body) {
        fflush(nullptr);
        pid_t pid = fork();
        if (pid == 0) {
            std::ifstream status("/proc/self/status");
            std::string line;
            while (std::getline(status, line) && line.rfind("VmSize:", 0) != 0) {
            }
            rlim_t vm = (rlim_t)std::stoull(line.substr(7)) * 1024 + headroom;
            struct rlimit limit = {vm, vm};
            _exit(setrlimit(RLIMIT_AS, &limit) == 0 && body() ? 0 : 1);
        }
        int status = -1;
        waitpid(pid, &status, 0);
        return status == 0;
    }
};

constexpr rlim_t MiB = 1024 * 1024;

/* What every font the reader returns must satisfy. */
void expect_sound(const bdf_font *font) {
    ASSERT_TRUE(font->glyphs_used <= font->glyphs_size && font->unencoded_used <= font->unencoded_size &&
                font->props_used <= font->props_size);
    for (uint32_t i = 1; i < font->glyphs_used; i++)
        ASSERT_LT(font->glyphs[i - 1].encoding, font->glyphs[i].encoding);
    for (uint32_t i = 0; i < font->glyphs_used + font->unencoded_used; i++) {
        const bool encoded = i < font->glyphs_used;
        const bdf_glyph &g = encoded ? font->glyphs[i] : font->unencoded[i - font->glyphs_used];
        ASSERT_EQ(g.bytes, (uint32_t)g.bbx.height * ((g.bbx.width * font->bpp + 7) / 8));
        ASSERT_EQ(g.bitmap == nullptr, g.bytes == 0);
        ASSERT_TRUE(!g.bytes || (int)g.bitmap[g.bytes - 1] >= 0); /* the whole bitmap is readable */
        ASSERT_TRUE(encoded || g.encoding == (int32_t)(i - font->glyphs_used));
    }
    ASSERT_TRUE(!font->messages_len || (font->messages[font->messages_len - 1] == '\n' &&
                                        font->messages[font->messages_len] == '\0'));
    ASSERT_TRUE(font->bpp == 1 || font->bpp == 2 || font->bpp == 4);
}

TEST_F(LimitedMemory, RunningOutOfMemoryEndsTheLoadWithAMessage) {
    std::string text = header() + "CHARS 100\n";
    for (int i = 0; i < 60000; i++)
        text += glyph("glyph" + std::to_string(i), i, "8 16 0 -4", rows(16, "5A"));
    std::string path = temp_file(text + "ENDFONT\n");
    text = std::string();
    EXPECT_TRUE(run_limited(3 * MiB, [&] {
        FontPtr font(bdf_load_font_path(path.c_str()));
        if (!font || messages(font).find("] Out of memory.\n") == std::string::npos || font->glyphs_used == 0 ||
            font->glyphs_used >= 60000)
            return false;
        expect_sound(font.get());
        return !::testing::Test::HasFailure();
    }));
    remove(path.c_str());
}

TEST(Robustness, RandomDamageNeverBreaksTheFont) {
    std::string base = "STARTFONT 2.1\nCOMMENT c\nFONT -a-b-c-d-e--16-160-75-75-C-80-x-1\n"
                       "SIZE 16 75 75 2\nFONTBOUNDINGBOX 8 16 0 -4\nMETRICSSET 0\n"
                       "STARTPROPERTIES 4\nFONT_ASCENT 12\nCOPYRIGHT \"x\"\nSPACING \"M\"\n"
                       "COMMENT p\nENDPROPERTIES\nCHARS 4\n" +
                       glyph("A", 65, "5 3 0 0", "FFC0\n1234\n5678\n") +
                       glyph("B", 70000, "8 16 0 -4", "FF\n") + glyph("C", -1, "3 2 1 1", "C0\n40\n") +
                       glyph("D", 65, "0 2 0 0", "\n\n") + "ENDFONT\n";
    const char alphabet[] = "\n\r \t-0123456789ABCDEFx\"\x1A#STARTCHARENCODINGBBXBITMAP";
    std::mt19937 random(12345);
    for (int round = 0; round < 3000; round++) {
        std::string text = base;
        int edits = 1 + (int)(random() % 8);
        for (int e = 0; e < edits; e++) {
            size_t at = random() % text.size();
            switch (random() % 4) {
            case 0: text[at] = alphabet[random() % (sizeof alphabet - 1)]; break;
            case 1: text.erase(at, 1 + random() % 20); break;
            case 2: text.insert(at, text.substr(random() % text.size(), 1 + random() % 40)); break;
            default: text.insert(at, std::to_string((int32_t)random())); break;
            }
            if (text.empty())
                text = "\n";
        }
        FontPtr font = load_font(text);
        if (font)
            expect_sound(font.get());
        if (HasFatalFailure()) {
            ADD_FAILURE() << "input:\n" << text;
            return;
        }
    }
}

} // namespace
