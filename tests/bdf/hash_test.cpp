#include "hash.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

struct Table {
    bdf_hash hash{};
    Table() { EXPECT_TRUE(bdf_hash_init(&hash)); }
    ~Table() { bdf_hash_free(&hash); }
    /* {size, limit, used} */
    std::array<int64_t, 3> shape() const { return {hash.size, hash.limit, hash.used}; }
    int32_t find(const char *key) const {
        bdf_hash_entry **bucket = bdf_hash_lookup(key, &hash);
        return *bucket ? (*bucket)->index : -1;
    }
};

/* Keys k0, k1, ... whose home bucket in a table of `size` is `home`. */
std::vector<std::string> keys_with_home(uint32_t home, uint32_t size, size_t count) {
    std::vector<std::string> keys;
    for (int i = 0; keys.size() < count; i++) {
        std::string key = "k" + std::to_string(i);
        if (bdf_hash_function(key.c_str()) % size == home)
            keys.push_back(key);
    }
    return keys;
}

TEST(Hash, FunctionTakesBytesAsSignedChars) {
    EXPECT_EQ(bdf_hash_function(""), 0u);
    EXPECT_EQ(bdf_hash_function("A"), 65u);
    EXPECT_EQ(bdf_hash_function("AB"), 65u * 31 + 66);
    EXPECT_EQ(bdf_hash_function("\xff"), 0xFFFFFFFFu);
    EXPECT_EQ(bdf_hash_function("A\x80"), 65u * 31 - 128);
    EXPECT_EQ(bdf_hash_function("_MULE_RELATIVE_COMPOSE"), 0x9FE9A35Eu); /* wraps modulo 2^32 */
}

TEST(Hash, InitInsertLookupAndReplace) {
    Table t;
    EXPECT_EQ(t.shape(), (std::array<int64_t, 3>{241, 80, 0}));
    EXPECT_EQ(t.find("FONT"), -1);
    ASSERT_TRUE(bdf_hash_insert("FONT", 17, &t.hash));
    EXPECT_EQ(t.find("FONT"), 17);
    EXPECT_EQ(t.hash.used, 1);
    /* A present key only changes its index; the stored key pointer stays. */
    std::string other = "FONT";
    const char *stored = (*bdf_hash_lookup("FONT", &t.hash))->key;
    ASSERT_TRUE(bdf_hash_insert(other.c_str(), 5, &t.hash));
    EXPECT_EQ(t.find("FONT"), 5);
    EXPECT_EQ(t.hash.used, 1);
    EXPECT_EQ((*bdf_hash_lookup("FONT", &t.hash))->key, stored);
    /* Same first byte, different key. */
    EXPECT_EQ(t.find("FONTX"), -1);
}

TEST(Hash, ProbesDownwardAndWrapsFromBucketZero) {
    Table t;
    std::vector<std::string> keys = keys_with_home(0, 241, 3);
    for (int i = 0; i < 3; i++)
        ASSERT_TRUE(bdf_hash_insert(keys[i].c_str(), i, &t.hash));
    EXPECT_EQ(bdf_hash_lookup(keys[0].c_str(), &t.hash), t.hash.buckets + 0);
    EXPECT_EQ(bdf_hash_lookup(keys[1].c_str(), &t.hash), t.hash.buckets + 240);
    EXPECT_EQ(bdf_hash_lookup(keys[2].c_str(), &t.hash), t.hash.buckets + 239);
    /* A missing key with the same home ends at the next empty bucket below. */
    std::vector<std::string> more = keys_with_home(0, 241, 4);
    EXPECT_EQ(bdf_hash_lookup(more[3].c_str(), &t.hash), t.hash.buckets + 238);
    EXPECT_EQ(*bdf_hash_lookup(more[3].c_str(), &t.hash), nullptr);

    std::vector<std::string> at5 = keys_with_home(5, 241, 2);
    ASSERT_TRUE(bdf_hash_insert(at5[0].c_str(), 10, &t.hash));
    ASSERT_TRUE(bdf_hash_insert(at5[1].c_str(), 11, &t.hash));
    EXPECT_EQ(bdf_hash_lookup(at5[1].c_str(), &t.hash), t.hash.buckets + 4);
}

TEST(Hash, GrowsAtTheEightyFirstKeyAndKeepsEveryKey) {
    Table t;
    std::vector<std::string> keys;
    for (int i = 0; i < 400; i++)
        keys.push_back("KEY_" + std::to_string(i));
    for (int i = 0; i < 80; i++)
        ASSERT_TRUE(bdf_hash_insert(keys[i].c_str(), i, &t.hash));
    EXPECT_EQ(t.shape(), (std::array<int64_t, 3>{241, 80, 80}));
    ASSERT_TRUE(bdf_hash_insert(keys[80].c_str(), 80, &t.hash));
    EXPECT_EQ(t.shape(), (std::array<int64_t, 3>{482, 160, 81}));
    for (int i = 81; i < 400; i++)
        ASSERT_TRUE(bdf_hash_insert(keys[i].c_str(), i, &t.hash));
    EXPECT_EQ(t.shape(), (std::array<int64_t, 3>{1928, 642, 400}));
    for (int i = 0; i < 400; i++)
        EXPECT_EQ(t.find(keys[i].c_str()), i) << keys[i];
}

} // namespace
