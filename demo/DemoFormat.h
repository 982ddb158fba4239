// The demo file's layout: its magic, format version, header fields, record tags and limits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "shell/Exception.h"

// A demo is the seed a world was built from and the input states of each frame, with checksums
// of the game's state along the way. All numbers are little-endian. docs/demo-format.md
// describes the layout byte by byte; the constants here are its single source in the code.

inline constexpr std::uint8_t DemoMagic[8] = {'T', 'N', 'X', 'D', 'E', 'M', 'O', 0x1A};
inline constexpr std::uint16_t DemoFormatVersion = 1;

// The header: magic, format version (u16), seed (u32), frame count (u32), then the game's version
// as a length byte and that many printable ASCII characters.
inline constexpr std::size_t DemoFormatVersionAt = 8;
inline constexpr std::size_t DemoSeedAt = 10;
inline constexpr std::size_t DemoFrameCountAt = 14;
inline constexpr std::size_t DemoGameVersionAt = 18;
inline constexpr std::size_t DemoMaxGameVersionLength = 64;
// The frame count of a recording that has not been finished (the recorder patches it at the end).
inline constexpr std::uint32_t DemoFramesUnfinished = 0xFFFFFFFF;
// A seed is a time of day in milliseconds since midnight UTC.
inline constexpr std::uint32_t DemoLastSeed = 86399999;

// The records that follow the header, one tag byte each:
//   0x00..0x1F  one frame: bit i set means input byte i changed, its new value follows (i = 0..4)
//   0x80..0xB1  a run of 1..50 frames whose input did not change (tag - 0x7F frames)
//   'C'         a checkpoint: u32 frame number, u64 checksum; after every 50th frame, mandatory
//   'E'         the end: u32 frame count, u64 checksum of the state after the last frame
inline constexpr std::uint8_t DemoLastMask = 0x1F;
inline constexpr std::uint8_t DemoRunTag = 0x80;
inline constexpr std::uint8_t DemoCheckpointTag = 'C';
inline constexpr std::uint8_t DemoEndTag = 'E';
inline constexpr std::uint32_t DemoCheckpointInterval = 50;
inline constexpr std::size_t DemoChecksumRecordSize = 13;  // tag, frame, checksum
// The high nibble of the last input byte holds no input state and stays clear.
inline constexpr std::uint8_t DemoLastByteMask = 0x0F;

// The reader refuses larger files, so that no file can make it allocate without bound; the
// recorder stops before it writes one.
inline constexpr std::size_t DemoMaxBytes = 64u << 20;
// Room a recording keeps below DemoMaxBytes for its last frame's record, checkpoint and end.
inline constexpr std::size_t DemoEndingRoom = 64;

// What a demo's header holds.
struct TDemoHeader {
  std::uint16_t FormatVersion = DemoFormatVersion;
  std::uint32_t Seed = 0;
  std::uint32_t FrameCount = DemoFramesUnfinished;
  std::string GameVersion;
};

// A file that is not a demo, or not one this build can read. The message is one line without
// the file's name: "not a demo", "made by a newer version ...", "corrupt at byte N", ...
class EDemoError : public Exception {
 public:
  using Exception::Exception;
};

// Little-endian fields, written and read byte by byte so that every target agrees.
void PutLittleEndian(std::uint8_t* at, std::uint64_t value, int bytes);
std::uint64_t GetLittleEndian(const std::uint8_t* at, int bytes);
