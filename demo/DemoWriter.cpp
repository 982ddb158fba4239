// Encoding a demo.
#include "demo/DemoWriter.h"

#include <stdexcept>

#include "demo/DemoFormat.h"

TDemoWriter::TDemoWriter(std::uint32_t seed, std::string_view gameVersion) {
  if (seed > DemoLastSeed) throw std::invalid_argument("a demo's seed is a time of day in milliseconds");
  if (gameVersion.empty() || gameVersion.size() > DemoMaxGameVersionLength)
    throw std::invalid_argument("a demo's game version has 1 to 64 characters");
  for (char c : gameVersion)
    if (c < 0x20 || c > 0x7E) throw std::invalid_argument("a demo's game version is printable ASCII");

  Bytes.assign(DemoGameVersionAt + 1, 0);
  for (std::size_t i = 0; i < sizeof DemoMagic; ++i) Bytes[i] = DemoMagic[i];
  PutLittleEndian(&Bytes[DemoFormatVersionAt], DemoFormatVersion, 2);
  PutLittleEndian(&Bytes[DemoSeedAt], seed, 4);
  PutLittleEndian(&Bytes[DemoFrameCountAt], DemoFramesUnfinished, 4);
  Bytes[DemoGameVersionAt] = static_cast<std::uint8_t>(gameVersion.size());
  Bytes.insert(Bytes.end(), gameVersion.begin(), gameVersion.end());
}

void TDemoWriter::Expect(bool condition, const char* what) const {
  if (!condition) throw std::logic_error(what);
}

void TDemoWriter::Frame(const TInputStates& states) {
  Expect(!ended_, "a demo takes no frame after its end");
  Expect(!CheckpointDue(), "a demo's checkpoint is due before the next frame");
  Expect(frames_ < DemoFramesUnfinished - 1, "a demo holds fewer than 2^32 - 1 frames");
  std::uint8_t mask = 0;
  for (int i = 0; i < 5; ++i)
    if (states.Bytes[i] != previous_.Bytes[i]) mask = static_cast<std::uint8_t>(mask | (1u << i));
  ++frames_;
  if (mask == 0) {
    ++run_;  // never more than 50: every checkpoint ends the run
    return;
  }
  EndRun();
  Bytes.push_back(mask);
  for (int i = 0; i < 5; ++i)
    if (mask & (1u << i)) Bytes.push_back(states.Bytes[i]);
  previous_ = states;
}

bool TDemoWriter::CheckpointDue() const {
  return frames_ != 0 && frames_ % DemoCheckpointInterval == 0 && checkpointed_ != frames_;
}

void TDemoWriter::Checkpoint(std::uint64_t checksum) {
  Expect(!ended_ && CheckpointDue(), "a demo's checkpoints come after every 50th frame");
  ChecksumRecord(DemoCheckpointTag, checksum);
  checkpointed_ = frames_;
}

void TDemoWriter::End(std::uint64_t checksum) {
  Expect(!ended_ && !CheckpointDue(), "a demo ends once, after its last checkpoint");
  ChecksumRecord(DemoEndTag, checksum);
  ended_ = true;
}

void TDemoWriter::EndRun() {
  if (run_ == 0) return;
  Bytes.push_back(static_cast<std::uint8_t>(DemoRunTag + run_ - 1));
  run_ = 0;
}

void TDemoWriter::ChecksumRecord(std::uint8_t tag, std::uint64_t checksum) {
  EndRun();
  std::size_t at = Bytes.size();
  Bytes.resize(at + DemoChecksumRecordSize);
  Bytes[at] = tag;
  PutLittleEndian(&Bytes[at + 1], frames_, 4);
  PutLittleEndian(&Bytes[at + 5], checksum, 8);
}
