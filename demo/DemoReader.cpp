// Reading a demo.
#include "demo/DemoReader.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "system/Files.h"

namespace {

int ChangedBytes(std::uint8_t mask) {
  int n = 0;
  for (int i = 0; i < 5; ++i) n += (mask >> i) & 1;
  return n;
}

// Applies the changes of a frame record (its mask at record[0], the values after it).
void ApplyChanges(const std::uint8_t* record, TInputStates& states) {
  const std::uint8_t* value = record + 1;
  for (int i = 0; i < 5; ++i)
    if (record[0] & (1u << i)) states.Bytes[i] = *value++;
}

bool IsRun(std::uint8_t tag) { return tag >= DemoRunTag && tag < DemoRunTag + DemoCheckpointInterval; }

}  // namespace

TDemoReader::TDemoReader(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {
  if (bytes_.size() > DemoMaxBytes) throw EDemoError("larger than 64 MiB: not a demo");
  ReadHeader();
  ReadRecords();
  at_ = records_;
}

TDemoReader TDemoReader::FromFile(const std::string& path) {
  std::FILE* in = OpenFile(path, "rb");
  if (!in) throw EDemoError(std::string("cannot be read: ") + std::strerror(errno));
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> closing(in, std::fclose);
  // A regular file says its size: one too large is refused before anything is read or allocated.
  const TPathInfo info = LookAtPath(path);
  const std::uint64_t size = info.Kind == pkRegular ? info.Size : 0;
  if (size > DemoMaxBytes) throw EDemoError("larger than 64 MiB: not a demo");
  // Then the magic: a file that does not start as a demo is refused after its first bytes.
  std::vector<std::uint8_t> bytes(sizeof DemoMagic);
  const std::size_t start = std::fread(bytes.data(), 1, bytes.size(), in);
  if (std::ferror(in)) throw EDemoError("cannot be read");
  bytes.resize(start);
  if (start == 0) throw EDemoError("not a demo: the file is empty");
  if (std::memcmp(bytes.data(), DemoMagic, start) != 0) throw EDemoError("not a demo");
  // The rest in pieces, up to one byte past the limit, so that a pipe costs no more.
  if (size > start) bytes.reserve(static_cast<std::size_t>(size));
  std::uint8_t chunk[65536];
  std::size_t got = 0;
  while (bytes.size() <= DemoMaxBytes && (got = std::fread(chunk, 1, sizeof chunk, in)) > 0)
    bytes.insert(bytes.end(), chunk, chunk + got);
  if (std::ferror(in)) throw EDemoError("cannot be read");
  return TDemoReader(std::move(bytes));
}

void TDemoReader::Corrupt(std::size_t at) const { throw EDemoError("corrupt at byte " + std::to_string(at)); }

void TDemoReader::ReadHeader() {
  const std::size_t size = bytes_.size();
  if (size == 0) throw EDemoError("not a demo: the file is empty");
  if (std::memcmp(bytes_.data(), DemoMagic, std::min(size, sizeof DemoMagic)) != 0)
    throw EDemoError("not a demo");
  const auto need = [&](std::size_t n) {
    if (size < n) throw EDemoError("truncated in its header");
  };
  // A newer format may lay out everything after its version differently: it is refused as soon
  // as its version is known.
  need(DemoFormatVersionAt + 2);
  header_.FormatVersion = static_cast<std::uint16_t>(GetLittleEndian(&bytes_[DemoFormatVersionAt], 2));
  if (header_.FormatVersion > DemoFormatVersion)
    throw EDemoError("made by a newer version (demo format " + std::to_string(header_.FormatVersion) +
                     "; this game reads format " + std::to_string(DemoFormatVersion) + ")");
  if (header_.FormatVersion == 0) Corrupt(DemoFormatVersionAt);
  need(DemoGameVersionAt + 1);
  header_.Seed = static_cast<std::uint32_t>(GetLittleEndian(&bytes_[DemoSeedAt], 4));
  if (header_.Seed > DemoLastSeed) Corrupt(DemoSeedAt);
  header_.FrameCount = static_cast<std::uint32_t>(GetLittleEndian(&bytes_[DemoFrameCountAt], 4));
  const std::size_t length = bytes_[DemoGameVersionAt];
  if (length == 0 || length > DemoMaxGameVersionLength) Corrupt(DemoGameVersionAt);
  need(DemoGameVersionAt + 1 + length);
  for (std::size_t i = DemoGameVersionAt + 1; i <= DemoGameVersionAt + length; ++i) {
    if (bytes_[i] < 0x20 || bytes_[i] > 0x7E) Corrupt(i);
    header_.GameVersion += static_cast<char>(bytes_[i]);
  }
  records_ = DemoGameVersionAt + 1 + length;
}

// Walks every record once. A frame may not pass a checkpoint that is due, a run may not cross
// one, a checkpoint or the end must name the frame it follows, and nothing follows the end.
// Running out of bytes inside a record or before the end marker leaves the demo truncated.
void TDemoReader::ReadRecords() {
  const std::size_t size = bytes_.size();
  std::size_t at = records_;
  std::uint32_t checkpointed = 0;
  TInputStates states;
  while (at < size) {
    const std::uint8_t tag = bytes_[at];
    const bool due = frames_ % DemoCheckpointInterval == 0 && frames_ != checkpointed;
    if (tag <= DemoLastMask) {
      if (due) Corrupt(at);
      const std::size_t length = 1 + static_cast<std::size_t>(ChangedBytes(tag));
      if (size - at < length) return;  // the frame is cut
      if ((tag & 0x10) && (bytes_[at + length - 1] & ~DemoLastByteMask)) Corrupt(at + length - 1);
      ApplyChanges(&bytes_[at], states);
      ++frames_;
      at += length;
    } else if (IsRun(tag)) {
      const std::uint32_t run = tag - DemoRunTag + 1u;
      if (due || frames_ % DemoCheckpointInterval + run > DemoCheckpointInterval) Corrupt(at);
      frames_ += run;
      ++at;
    } else if (tag == DemoCheckpointTag || tag == DemoEndTag) {
      if (size - at < DemoChecksumRecordSize) return;  // the record is cut
      if (GetLittleEndian(&bytes_[at + 1], 4) != frames_) Corrupt(at + 1);
      const std::uint64_t checksum = GetLittleEndian(&bytes_[at + 5], 8);
      if (tag == DemoCheckpointTag) {
        if (!due) Corrupt(at);
        checkpoints_.push_back({frames_, checksum});
        checkpointed = frames_;
        at += DemoChecksumRecordSize;
        continue;
      }
      if (due) Corrupt(at);
      // The recorder patches the header's count last; a crash just before leaves it unfinished.
      if (header_.FrameCount != frames_ && header_.FrameCount != DemoFramesUnfinished) Corrupt(DemoFrameCountAt);
      at += DemoChecksumRecordSize;
      if (at != size) Corrupt(at);
      final_ = checksum;
      return;
    } else {
      Corrupt(at);
    }
  }
}

std::string TDemoReader::TruncationWarning() const {
  if (!Truncated()) return {};
  return "truncated at frame " + std::to_string(std::uint64_t{frames_} + 1) + ": replaying its " +
         std::to_string(frames_) + " whole frames";
}

bool TDemoReader::NextFrame(TInputStates& states) {
  if (played_ >= frames_) return false;
  if (runLeft_ == 0) {
    // The records were checked when the demo was read: only frames, runs and checkpoints come
    // before the last whole frame.
    while (bytes_[at_] == DemoCheckpointTag) at_ += DemoChecksumRecordSize;
    const std::uint8_t tag = bytes_[at_];
    if (IsRun(tag)) {
      runLeft_ = tag - DemoRunTag + 1u;
      ++at_;
    } else {
      ApplyChanges(&bytes_[at_], states_);
      at_ += 1 + static_cast<std::size_t>(ChangedBytes(tag));
      runLeft_ = 1;
    }
  }
  --runLeft_;
  ++played_;
  states = states_;
  return true;
}
