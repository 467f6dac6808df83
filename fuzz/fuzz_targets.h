#pragma once

// Entry functions of the fuzz targets. Each takes any bytes at all, hands them to the code under
// test and aborts the process when that code breaks one of its promises; it returns 0 otherwise.
// The libFuzzer programs (fuzz preset) and the corpus replay test call the same functions.

#include <cstddef>
#include <cstdint>

namespace Fuzz {

// The engine's work limits while fuzzing fast: every run stays well inside the fuzzer's time
// limit of two seconds under the sanitizers, and the refusals above the limits are reached too.
// Texts whose cost grows faster than their length are refused there long before they cost what
// they cost a user; the targets named AtEngineLimits keep the engine's own limits for those.
inline constexpr double kFuzzPassWork = 3.0e4;
inline constexpr double kFuzzLayoutWork = 1.0e4;

// The bytes as a Standard MIDI File read through a device.
int ReadMidiFile(const std::uint8_t* data, std::size_t size);

// The bytes as RMN text: parsed, completed by the automatic passes, written back as RMN and
// deleted.
int ParseRmn(const std::uint8_t* data, std::size_t size);

// The bytes as RMN text: parsed, laid out on A4 and every page drawn on a counting device.
int LayoutRmn(const std::uint8_t* data, std::size_t size);
int LayoutRmnAtEngineLimits(const std::uint8_t* data, std::size_t size);

// The bytes as RMN text through the painter front end: laid out on a question's page, every page
// drawn into an image with the Qt device and its notes read from the symbol map.
int DrawRmn(const std::uint8_t* data, std::size_t size);
int DrawRmnAtEngineLimits(const std::uint8_t* data, std::size_t size);

// The bytes as a picture file beside a score: weighed, and decoded when its weight is small.
int ReadPicture(const std::uint8_t* data, std::size_t size);

}  // namespace Fuzz
