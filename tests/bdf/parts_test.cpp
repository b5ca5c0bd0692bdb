/* The process-wide property registry, and the string table behind it and every font's property index. */
#include "hash.h"
#include "reader_support.h"

#include <gtest/gtest.h>

namespace {

/* The registry is process-wide: set up once for the whole test program. */
class RegistryEnvironment : public ::testing::Environment {
    void SetUp() override { bdf_setup(); }
    void TearDown() override { bdf_cleanup(); }
};
const auto *const registry_environment = ::testing::AddGlobalTestEnvironment(new RegistryEnvironment);

TEST(Registry, NoNameIsNoProperty) {
    for (const char *none : {(const char *)nullptr, ""})
        EXPECT_EQ((bdf_create_property(none, BDF_PROP_ATOM), bdf_get_property(none)), nullptr) << (none ? "empty" : "null");
}

TEST(Hash, KeepsEveryKeyAndGrowsAtTheEightyFirst) {
    bdf_hash hash{};
    ASSERT_TRUE(bdf_hash_init(&hash));
    std::vector<std::string> keys;
    keys.reserve(400); /* the table borrows the keys */
    for (int i = 0; i < 400; i++) {
        keys.push_back("KEY_" + std::to_string(i));
        ASSERT_TRUE(bdf_hash_insert(keys.back().c_str(), i, &hash));
        if (i == 79 || i == 80) {
            EXPECT_EQ((std::array<int64_t, 2>{hash.size, hash.limit}), (std::array<int64_t, 2>{241 << (i - 79), 80 << (i - 79)}));
        }
    }
    ASSERT_TRUE(bdf_hash_insert("KEY_7", 1000, &hash)); /* a present key only changes its index */
    EXPECT_EQ(hash.used, 400);
    for (int i = 0; i < 400; i++)
        EXPECT_EQ((*bdf_hash_lookup(keys[i].c_str(), &hash))->index, i == 7 ? 1000 : i) << keys[i];
    EXPECT_EQ(*bdf_hash_lookup("KEY_", &hash), nullptr);
    bdf_hash_free(&hash);
}

} // namespace
