// TFileReplacement, a file written whole under a temporary name and only then put in its place.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// Writes a file so that a failure (a full disk, a size limit, a crash) leaves nothing half
// written: the bytes go to a new file beside the target, which Commit renames over it, so the
// target is either the old file or the whole new one. A target that is there and is not a regular
// file (a device such as /dev/stdout, a pipe) cannot be renamed over and is written in place.
// Every failure is kept as one message naming the target and the system's reason.
class TFileReplacement {
 public:
  explicit TFileReplacement(std::string path);
  ~TFileReplacement();  // a file not committed is removed
  TFileReplacement(const TFileReplacement&) = delete;
  TFileReplacement& operator=(const TFileReplacement&) = delete;

  // False once anything failed (including the opening); Error then says what.
  bool Good() const { return Message.empty(); }
  const std::string& Error() const { return Message; }

  // Appends bytes; false when this or an earlier step failed.
  bool Write(const void* data, std::size_t size);
  // Writes bytes over some already written, offset bytes from the start (a header whose sizes
  // are known only at the end), then goes on appending; false when this or an earlier step
  // failed. A target written in place that cannot seek (a pipe) fails here.
  bool WriteAt(long offset, const void* data, std::size_t size);
  // Finishes the file and puts it in place of the target; false when it or an earlier step
  // failed, in which case the target is untouched and the temporary file is gone.
  bool Commit();

 private:
  void Fail(int error);
  void Discard();

  std::string Path;    // the target, as given (for messages)
  std::string Target;  // the file renamed over: the target behind any symbolic links
  std::string Temp;    // the file written; empty when the target is written in place
  std::FILE* File = nullptr;
  std::string Message;
};
