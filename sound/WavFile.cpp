// Writing WAV files.
#include "sound/WavFile.h"

#include <algorithm>
#include <cstring>

#include "sound/SoundFormat.h"

namespace {

constexpr std::uint16_t Channels = 1, BitsPerSample = 16;
constexpr std::uint16_t BlockAlign = Channels * BitsPerSample / 8;

void Put16(std::uint8_t* at, std::uint16_t v) {
  at[0] = static_cast<std::uint8_t>(v);
  at[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::uint8_t* at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

void WavHeader(std::uint32_t dataBytes, std::uint8_t (&h)[TWavWriter::HeaderBytes]) {
  std::memcpy(h, "RIFF", 4);
  Put32(h + 4, TWavWriter::HeaderBytes - 8 + dataBytes);
  std::memcpy(h + 8, "WAVEfmt ", 8);
  Put32(h + 16, 16);  // the size of the format chunk of plain PCM
  Put16(h + 20, 1);   // PCM
  Put16(h + 22, Channels);
  Put32(h + 24, SampleRate);
  Put32(h + 28, SampleRate * BlockAlign);
  Put16(h + 32, BlockAlign);
  Put16(h + 34, BitsPerSample);
  std::memcpy(h + 36, "data", 4);
  Put32(h + 40, dataBytes);
}

TWavWriter::TWavWriter(const std::string& path) : FFile(path), FPath(path) {
  std::uint8_t header[HeaderBytes];
  WavHeader(0, header);
  FFile.Write(header, sizeof header);
}

bool TWavWriter::Write(std::span<const std::int16_t> samples) {
  if (!Good()) return false;
  if (FFinished) {
    FError = "cannot write " + FPath + ": the file is already finished";
    return false;
  }
  if (FDataBytes + samples.size() * 2 > MaxDataBytes) {
    FError = "cannot write " + FPath + ": the sound is longer than a WAV file can hold";
    return false;
  }
  // Little-endian whatever the machine.
  std::uint8_t bytes[2048];
  std::size_t at = 0;
  while (at < samples.size()) {
    const std::size_t n = std::min(samples.size() - at, sizeof bytes / 2);
    for (std::size_t i = 0; i < n; ++i) Put16(bytes + 2 * i, static_cast<std::uint16_t>(samples[at + i]));
    if (!FFile.Write(bytes, n * 2)) return false;
    at += n;
  }
  FDataBytes += samples.size() * 2;
  return true;
}

bool TWavWriter::Finish() {
  if (!Good()) return false;
  if (FFinished) {
    FError = "cannot write " + FPath + ": the file is already finished";
    return false;
  }
  FFinished = true;
  std::uint8_t header[HeaderBytes];
  WavHeader(static_cast<std::uint32_t>(FDataBytes), header);
  return FFile.WriteAt(0, header, sizeof header) && FFile.Commit();
}
