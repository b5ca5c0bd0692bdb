// The bare pass over a BDF file that any reader must at least make: find every
// line end with memchr and decode the hexadecimal digits of every bitmap row.
// scripts/bench times the library against this program on the same file.
//
// usage: bdf_baseline FILE   (prints the number of lines and a checksum of the rows)

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

const signed char *hex_table() {
    static signed char table[256];
    std::memset(table, -1, sizeof table);
    for (int c = '0'; c <= '9'; ++c)
        table[c] = (signed char)(c - '0');
    for (int c = 'A'; c <= 'F'; ++c)
        table[c] = (signed char)(c - 'A' + 10);
    for (int c = 'a'; c <= 'f'; ++c)
        table[c] = (signed char)(c - 'a' + 10);
    return table;
}

bool starts_with(const char *line, size_t length, const char *word) {
    size_t n = std::strlen(word);
    return length >= n && std::memcmp(line, word, n) == 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fputs("usage: bdf_baseline FILE\n", stderr);
        return 64;
    }
    FILE *file = std::fopen(argv[1], "rb");
    if (!file) {
        std::perror(argv[1]);
        return 2;
    }
    // Blocks of 64 KiB like the library's line reader; a partial line moves to the front.
    std::vector<char> buffer(65536);
    std::vector<unsigned char> row;
    const signed char *hex = hex_table();
    size_t kept = 0;
    unsigned long lines = 0, checksum = 0;
    bool in_bitmap = false;
    for (;;) {
        size_t got = std::fread(buffer.data() + kept, 1, buffer.size() - kept, file);
        if (got == 0)
            break;
        char *start = buffer.data();
        char *end = start + kept + got;
        while (char *eol = (char *)std::memchr(start, '\n', (size_t)(end - start))) {
            size_t length = (size_t)(eol - start);
            ++lines;
            if (in_bitmap) {
                if (starts_with(start, length, "ENDCHAR")) {
                    in_bitmap = false;
                } else {
                    row.resize(length / 2);
                    for (size_t i = 0; i + 1 < length; i += 2)
                        row[i / 2] = (unsigned char)((hex[(unsigned char)start[i]] << 4) |
                                                     (hex[(unsigned char)start[i + 1]] & 15));
                    for (unsigned char byte : row)
                        checksum = checksum * 31 + byte;
                }
            } else if (starts_with(start, length, "BITMAP")) {
                in_bitmap = true;
            }
            start = eol + 1;
        }
        kept = (size_t)(end - start);
        std::memmove(buffer.data(), start, kept);
        if (kept == buffer.size())
            buffer.resize(buffer.size() * 2);
    }
    std::fclose(file);
    std::printf("%lu lines, checksum %lu\n", lines, checksum);
    return 0;
}
