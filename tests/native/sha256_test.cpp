// SHA-256: the published test messages, the padding boundaries, and chunked input.
#include <gtest/gtest.h>

#include <string>

#include "heal/sha256.h"

namespace tollivar {
namespace {

TEST(Sha256, PublishedMessages) {
    const struct {
        std::string message;
        const char* digest;
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmno"
         "pqrst"
         "nopqrstu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Sha256HexOf(c.message), c.digest) << c.message.size() << " bytes";
}

// Lengths around the 56-byte mark where the length no longer fits the last block.
TEST(Sha256, PaddingBoundaries) {
    const struct {
        std::size_t length;
        const char* digest;
    } cases[] = {
        {55, "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
        {56, "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
        {57, "f13b2d724659eb3bf47f2dd6af1accc87b81f09f59f2b75e5c0bed6589dfe8c6"},
        {63, "7d3e74a05d7db15bce4ad9ec0658ea98e3f06eeecf16b4c6fff2da457ddc2f34"},
        {64, "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
        {65, "635361c48bb9eab14198e76ea8ab7f1a41685d6ad62aa9146d301d4f17eb0ae0"},
        {119, "31eba51c313a5c08226adf18d4a359cfdfd8d2e816b13f4af952f7ea6584dcfb"},
        {120, "2f3d335432c70b580af0e8e1b3674a7c020d683aa5f73aaaedfdc55af904c21c"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Sha256HexOf(std::string(c.length, 'a')), c.digest) << c.length;
}

TEST(Sha256, AnySplitIntoChunksGivesTheSameDigest) {
    std::string message;
    for (int i = 0; i < 300; ++i)
        message += static_cast<char>(i * 7 + 3);
    const std::string whole = Sha256HexOf(message);
    for (const std::size_t chunk : {1u, 3u, 55u, 63u, 64u, 65u, 128u, 299u}) {
        Sha256 hasher;
        for (std::size_t at = 0; at < message.size(); at += chunk)
            hasher.Update(message.substr(at, chunk));
        EXPECT_EQ(Sha256Hex(hasher.Final()), whole) << "chunks of " << chunk;
    }
    // Empty updates change nothing, and Final starts the hasher over.
    Sha256 hasher;
    hasher.Update("");
    hasher.Update(message);
    hasher.Update(nullptr, 0);
    EXPECT_EQ(Sha256Hex(hasher.Final()), whole);
    hasher.Update("abc");
    EXPECT_EQ(Sha256Hex(hasher.Final()), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

TEST(Sha256, HexTextIsSixtyFourLowerCaseDigits) {
    EXPECT_TRUE(IsSha256Hex(Sha256HexOf("abc")));
    EXPECT_TRUE(IsSha256Hex(std::string(64, '0')));
    for (const std::string& bad : {std::string(63, 'a'), std::string(65, 'a'), std::string(64, 'A'),
                                   std::string(63, 'a') + "g", std::string(63, 'a') + " ", std::string()}) {
        EXPECT_FALSE(IsSha256Hex(bad)) << bad;
    }
}

} // namespace
} // namespace tollivar
