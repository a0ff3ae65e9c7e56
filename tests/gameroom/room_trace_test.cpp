// The fingerprint the game room's traces are kept by.

#include "sha256.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace palisade {
namespace {

TEST(Sha256, GivesTheStandardDigests)
{
    const auto digest = [](std::string_view bytes) {
        Sha256 sha;
        sha.add(bytes);
        return sha.hex();
    };
    EXPECT_EQ(digest(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(digest("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(digest("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    // A million bytes fed in uneven pieces.
    Sha256 sha;
    for (int fed = 0; fed < 1000000; fed += 1000) {
        sha.add(std::string(999, 'a'));
        sha.add("a");
    }
    EXPECT_EQ(sha.hex(), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

} // namespace
} // namespace palisade
