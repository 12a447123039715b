// The digest that ties a companion file to its scenario record: the published examples
// and the lengths where the padding takes one block or two.
#include <gtest/gtest.h>

#include <string>

#include "scenario/sha256.h"
#include "scenariofile_test_support.h"

namespace velmora {
namespace {

TEST(Sha256, KnownDigests) {
    const struct {
        std::string bytes;
        const char* digest;
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        // The last length that pads within its block, the first that needs another, a
        // whole block, and a second block nearly full.
        {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
        {std::string(56, 'a'), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
        {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
        {std::string(119, 'a'), "31eba51c313a5c08226adf18d4a359cfdfd8d2e816b13f4af952f7ea6584dcfb"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.size());
        EXPECT_EQ(Sha256Hex(c.bytes), c.digest);
    }
    // A whole record, with its zero bytes.
    const std::vector<std::uint8_t> record =
        test::ReadWholeFile(test::FixturePath("worked-example.ss"));
    EXPECT_EQ(Sha256Hex(std::string(record.begin(), record.end())),
              "9762686396abf7cdf57dbff9686fc92793bb3abea42149937b683c51406d16a1");
}

}  // namespace
}  // namespace velmora
