#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "scenario/scenariorec.h"

namespace velmora {

/// Size of a scenario file: exactly one record, no header.
inline constexpr std::size_t kScenarioRecordSize = 384;
/// Characters a text slot holds after its length byte.
inline constexpr std::size_t kScenarioTextMax = 100;

using ScenarioBytes = std::array<std::uint8_t, kScenarioRecordSize>;

/// The record as stored: little-endian at fixed offsets, texts in Windows-1252 cut to
/// 100 characters. Every byte no value covers (gaps, slot tails) is zero, so nothing of
/// an earlier record can travel into a new file.
ScenarioBytes EncodeScenarioRecord(const TScenarioRec& rec);

/// The thirteen values from their offsets. A length byte above 100 reads as 100; texts
/// come back as UTF-8 (zero bytes included: the fields cut there); every byte pattern
/// of a real reads as a defined value (see UnpackExtended).
TScenarioRec DecodeScenarioRecord(const ScenarioBytes& bytes);

}  // namespace velmora
