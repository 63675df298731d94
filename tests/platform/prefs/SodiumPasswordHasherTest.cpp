#include "platform/prefs/SodiumPasswordHasher.h"

#include <gtest/gtest.h>

namespace lcdiag {
namespace {

TEST(SodiumPasswordHasher, HashesAreSaltedAndVerifyOnlyTheirText) {
    const SodiumPasswordHasher hasher;
    const std::string first = hasher.Hash("guard");
    const std::string second = hasher.Hash("guard");
    EXPECT_EQ(first.rfind("$argon2id$", 0), 0U) << first;
    EXPECT_NE(first, second);
    EXPECT_EQ(first.find("guard"), std::string::npos);
    EXPECT_TRUE(hasher.Verify("guard", first));
    EXPECT_TRUE(hasher.Verify("guard", second));
    for (std::string_view other : {"Guard", "guard ", "", "guar"}) {
        EXPECT_FALSE(hasher.Verify(other, first)) << other;
    }
    EXPECT_TRUE(hasher.Verify("", hasher.Hash("")));
}

// Whatever a preferences file holds is no match, and costs it names are never run.
TEST(SodiumPasswordHasher, AnythingElseStoredIsNoMatch) {
    const SodiumPasswordHasher hasher;
    const std::string hash = hasher.Hash("guard");
    const std::string stored[] = {
        "",
        ScramblePassword(u"guard"),
        hash.substr(0, hash.size() - 1),
        hash + "A",
        hash + std::string(200, 'A'),
        std::string(hash).replace(hash.find("t=2"), 3, "t=4294967295"),
        std::string(hash).replace(hash.find("m=65536"), 7, "m=4294967295"),
        std::string(hash).replace(0, 9, "$argon2i"),
        std::string("$argon2id$\0", 11) + hash,
    };
    for (const std::string& value : stored) {
        EXPECT_FALSE(hasher.Verify("guard", value)) << value;
    }
}

} // namespace
} // namespace lcdiag
