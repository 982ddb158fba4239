// Recording a demo into a file.
#include "demo/DemoRecorder.h"

#include <cerrno>
#include <cstring>

#include "demo/DemoFormat.h"
#include "demo/GameChecksum.h"
#include "system/FileSync.h"
#include "system/Files.h"

namespace {
// Checkpoints between two syncs to the disk: five seconds at 50 frames a second.
constexpr int CheckpointsPerSync = 5;

// A part file name that fits beside any target: "tarnyx-" and 16 hexadecimal digits of a hash of
// the target's path (FNV-1a), so that the same target always gets the same part file.
std::string ShortPartName(const std::string& path) {
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (unsigned char c : path) hash = (hash ^ c) * 0x100000001b3u;
  static const char digits[] = "0123456789abcdef";
  std::string name = "tarnyx-0000000000000000.part";
  for (int i = 22; i >= 7; --i, hash >>= 4) name[static_cast<std::size_t>(i)] = digits[hash & 15];
  return path.substr(0, LastPathSeparator(path) + 1) + name;
}

}  // namespace

TDemoRecorder::TDemoRecorder(std::string path, std::uint32_t seed, std::string_view gameVersion)
    : writer_(seed, gameVersion), path_(std::move(path)), part_(path_ + ".part") {
  // Never over another recording's remains.
  file_ = CreateNewFile(part_);
  if (!file_ && errno == ENAMETOOLONG) {
    // The target's name is as long as names go: ".part" does not fit after it.
    part_ = ShortPartName(path_);
    file_ = CreateNewFile(part_);
  }
  if (!file_) {
    if (errno == EEXIST)
      throw EDemoError(part_ + " exists (left by an interrupted recording?): move it away first");
    throw EDemoError("cannot create " + part_ + ": " + std::strerror(errno));
  }
  WriteOut(false);
  if (!error_.empty()) {
    // Not even the header fits (a full disk): nothing of this recording may stay to block the next.
    std::fclose(file_);
    file_ = nullptr;
    RemoveFile(part_);
    throw EDemoError(error_);
  }
}

TDemoRecorder::~TDemoRecorder() {
  sync_.Wait();
  if (file_) std::fclose(file_);
}

void TDemoRecorder::Fail(const std::string& what) {
  if (error_.empty()) error_ = what + " " + part_ + ": " + std::strerror(errno);
}

void TDemoRecorder::WriteOut(bool toDisk) {
  if (!file_ || !error_.empty()) return;
  std::vector<std::uint8_t>& bytes = writer_.Bytes;
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
    return Fail("cannot write");
  written_ += bytes.size();
  bytes.clear();
  if (std::fflush(file_) != 0) return Fail("cannot write");
  if (toDisk) sync_.Request(file_);
}

void TDemoRecorder::Checkpoint() {
  writer_.Checkpoint(GameStateChecksum(inputs_.Value));
  bool toDisk = ++checkpointsSinceSync_ >= CheckpointsPerSync;
  if (toDisk) checkpointsSinceSync_ = 0;
  WriteOut(toDisk);
}

void TDemoRecorder::FrameInput(const TInputStates& states) {
  if (full_ || finished_ || !error_.empty()) return;
  // The end of the previous frame was not reached (an error cut it short): its checkpoint is
  // taken now, as playback will take it.
  if (writer_.CheckpointDue()) Checkpoint();
  writer_.Frame(states);
  inputs_.Bytes(states.Bytes, sizeof states.Bytes);
}

void TDemoRecorder::FrameEnd() {
  if (full_ || finished_ || !error_.empty()) return;
  if (writer_.CheckpointDue()) Checkpoint();
  if (written_ + writer_.Bytes.size() + DemoEndingRoom > DemoMaxBytes) {
    writer_.End(GameStateChecksum(inputs_.Value));
    WriteOut(false);
    full_ = true;
  }
}

bool TDemoRecorder::Finish(std::string& error) {
  if (finished_) return error_.empty();
  finished_ = true;
  if (error_.empty() && !writer_.Ended()) {
    if (writer_.CheckpointDue()) Checkpoint();
    writer_.End(GameStateChecksum(inputs_.Value));
    WriteOut(false);
  }
  if (!sync_.Wait() && error_.empty()) error_ = "cannot put " + part_ + " on the disk";
  if (error_.empty()) {
    std::uint8_t count[4];
    PutLittleEndian(count, writer_.Frames(), 4);
    if (std::fseek(file_, static_cast<long>(DemoFrameCountAt), SEEK_SET) != 0 ||
        std::fwrite(count, 1, sizeof count, file_) != sizeof count || !SyncFileToDisk(file_))
      Fail("cannot write");
  }
  if (std::fclose(file_) != 0) Fail("cannot write");
  file_ = nullptr;
  // The target was a regular file or nothing when the recording began; should it have become
  // something else since (a device, a folder), the rename would replace it.
  const TPathKind kind = LookAtPath(path_).Kind;
  if (error_.empty() && kind != pkRegular && kind != pkMissing && kind != pkUnknown)
    error_ = path_ + " is no longer a regular file: the demo stays in " + part_;
  if (error_.empty() && !RenameReplacing(part_, path_))
    error_ = "cannot rename " + part_ + " to " + path_ + ": " + std::strerror(errno);
  if (error_.empty()) SyncFolderOf(path_);
  error = error_;
  return error_.empty();
}

void TDemoRecorder::Keep() {
  if (finished_) return;
  finished_ = true;
  if (!writer_.Ended()) writer_.FlushRun();
  WriteOut(false);
  sync_.Wait();
  if (file_) {
    SyncFileToDisk(file_);
    std::fclose(file_);
  }
  file_ = nullptr;
}

void TDemoRecorder::Discard() {
  if (finished_) return;
  finished_ = true;
  sync_.Wait();
  if (file_) std::fclose(file_);
  file_ = nullptr;
  RemoveFile(part_);
}
