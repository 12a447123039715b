#include "scenario/scenariocodec.h"

#include <span>
#include <string>
#include <string_view>

#include "scenario/codepage.h"
#include "scenario/extendedreal.h"

namespace velmora {

namespace {

// Offsets of the stored record (its members at their natural alignment).
constexpr std::size_t kClientName = 0;
constexpr std::size_t kDescription = 101;
constexpr std::size_t kPreparer = 202;
constexpr std::size_t kCola = 304;
constexpr std::size_t kYears = 316;
constexpr std::size_t kRate = 320;
constexpr std::size_t kEarlyMonth = 332;
constexpr std::size_t kEarlyYear = 336;
constexpr std::size_t kLaterMonth = 340;
constexpr std::size_t kLaterYear = 344;
constexpr std::size_t kAge = 348;
constexpr std::size_t kEarlyBenefit = 352;
constexpr std::size_t kLaterBenefit = 368;

void PutText(ScenarioBytes& b, std::size_t at, const std::string& utf8) {
    const std::string bytes = Utf8ToCp1252(utf8, kScenarioTextMax);
    b[at] = static_cast<std::uint8_t>(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        b[at + 1 + i] = static_cast<std::uint8_t>(bytes[i]);
    }
}

std::string GetText(const ScenarioBytes& b, std::size_t at) {
    const std::size_t length = b[at] > kScenarioTextMax ? kScenarioTextMax : b[at];
    std::string bytes(length, '\0');
    for (std::size_t i = 0; i < length; ++i) {
        bytes[i] = static_cast<char>(b[at + 1 + i]);
    }
    return Cp1252ToUtf8(bytes);
}

void PutInt(ScenarioBytes& b, std::size_t at, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) {
        b[at + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
}

std::int32_t GetInt(const ScenarioBytes& b, std::size_t at) {
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        bits |= std::uint32_t{b[at + i]} << (8 * i);
    }
    return static_cast<std::int32_t>(bits);  // two's complement (C++20)
}

void PutReal(ScenarioBytes& b, std::size_t at, long double value) {
    PackExtended(value, std::span<std::uint8_t, 10>(b.data() + at, 10));
}

long double GetReal(const ScenarioBytes& b, std::size_t at) {
    return UnpackExtended(std::span<const std::uint8_t, 10>(b.data() + at, 10));
}

}  // namespace

ScenarioBytes EncodeScenarioRecord(const TScenarioRec& rec) {
    ScenarioBytes b{};
    PutText(b, kClientName, rec.ClientName);
    PutText(b, kDescription, rec.Description);
    PutText(b, kPreparer, rec.Preparer);
    PutReal(b, kCola, rec.Cola);
    PutInt(b, kYears, rec.Years);
    PutReal(b, kRate, rec.Rate);
    PutInt(b, kEarlyMonth, rec.EarlyMonth);
    PutInt(b, kEarlyYear, rec.EarlyYear);
    PutInt(b, kLaterMonth, rec.LaterMonth);
    PutInt(b, kLaterYear, rec.LaterYear);
    PutInt(b, kAge, rec.Age);
    PutReal(b, kEarlyBenefit, rec.EarlyBenefit);
    PutReal(b, kLaterBenefit, rec.LaterBenefit);
    return b;
}

TScenarioRec DecodeScenarioRecord(const ScenarioBytes& b) {
    TScenarioRec rec;
    rec.ClientName = GetText(b, kClientName);
    rec.Description = GetText(b, kDescription);
    rec.Preparer = GetText(b, kPreparer);
    rec.Cola = GetReal(b, kCola);
    rec.Years = GetInt(b, kYears);
    rec.Rate = GetReal(b, kRate);
    rec.EarlyMonth = GetInt(b, kEarlyMonth);
    rec.EarlyYear = GetInt(b, kEarlyYear);
    rec.LaterMonth = GetInt(b, kLaterMonth);
    rec.LaterYear = GetInt(b, kLaterYear);
    rec.Age = GetInt(b, kAge);
    rec.EarlyBenefit = GetReal(b, kEarlyBenefit);
    rec.LaterBenefit = GetReal(b, kLaterBenefit);
    return rec;
}

}  // namespace velmora
