// TWavWriter: the game's sound written as a WAV file, a frame at a time.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "system/FileReplacement.h"

// A RIFF WAVE file of 16-bit PCM samples, mono, at SampleRate: the 44-byte header, then the
// samples little-endian as they come. The header's sizes are filled in by Finish, which then puts
// the file in place; until then it is a temporary file beside the target, so a run that fails or
// stops early leaves no half file (and an older file of that name as it was). A WAV file counts
// its bytes in 32 bits: samples past MaxDataBytes are refused with an error.
class TWavWriter {
 public:
  static constexpr std::uint32_t HeaderBytes = 44;
  static constexpr std::uint64_t MaxDataBytes = 0xFFFFFFFFull - (HeaderBytes - 8);

  explicit TWavWriter(const std::string& path);

  // Appends samples; false once anything failed, or once finished.
  bool Write(std::span<const std::int16_t> samples);
  // Fills in the sizes and puts the file in place; false when it or an earlier step failed, and
  // then nothing is left at the target (or the older file is).
  bool Finish();

  bool Good() const { return FFile.Good() && FError.empty(); }
  // What failed, naming the file; empty while nothing did.
  std::string Error() const { return FError.empty() ? FFile.Error() : FError; }
  std::uint64_t SamplesWritten() const { return FDataBytes / 2; }

 private:
  TFileReplacement FFile;
  std::string FPath;
  std::string FError;
  std::uint64_t FDataBytes = 0;
  bool FFinished = false;
};

// The header of a WAV file of dataBytes bytes of our samples.
void WavHeader(std::uint32_t dataBytes, std::uint8_t (&header)[TWavWriter::HeaderBytes]);
