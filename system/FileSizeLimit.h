// A limit on the size of the files this process writes, as a full disk would stop them.
#pragma once

#include <cstdint>
#include <memory>

// While it lives, a write that would make a file larger than the limit fails (on POSIX with
// EFBIG; the signal that comes with it is ignored, so that the write fails instead of ending the
// process), as it would on a full disk; the old limit comes back after. How the game's writers
// meet a full disk is tested with it. Where the system has no such limit, nothing is limited and
// Active is false.
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(std::uint64_t bytes);
  ~TFileSizeLimit();
  TFileSizeLimit(const TFileSizeLimit&) = delete;
  TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

  bool Active() const { return FSaved != nullptr; }

 private:
  struct TSaved;
  std::unique_ptr<TSaved> FSaved;  // the limit and the signal's handling before
};
