// Helpers shared by the scenario file tests: hex text of bytes and fixture reading.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

namespace velmora::test {

inline std::string Hex(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (const std::uint8_t b : bytes) {
        if (!out.empty())
            out.push_back(' ');
        out.push_back(kDigits[b >> 4]);
        out.push_back(kDigits[b & 0xF]);
    }
    return out;
}

inline std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string FixturePath(const char* name) {
    return std::string(VELMORA_FIXTURES_DIR) + "/" + name;
}

}  // namespace velmora::test
