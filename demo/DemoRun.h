// TDemoRun, one demo run for every front end, and the demo tools' exit statuses.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "demo/DemoPlayer.h"
#include "demo/DemoReader.h"
#include "demo/DemoRecorder.h"
#include "input/InputStates.h"

// The exit statuses of a demo run, the same for the game, the headless tool and the page's tests.
inline constexpr int DemoStatusOk = 0;
inline constexpr int DemoStatusCannotWrite = 1;  // the recording cannot be made or written
// Not a demo, newer, damaged or truncated (a truncated one is played first); or, for a recording,
// a target that is no place for a demo (a folder, a device, a FIFO, a socket).
inline constexpr int DemoStatusBadFile = 2;
inline constexpr int DemoStatusDesync = 3;  // the replay drifted from the recording

// A recording or a playback of one demo, from its opening to its end. Every line it says goes,
// without its newline and with outside bytes escaped, through Out (results: "recorded N frames
// into FILE", the summary, the timedemo line) or Err (refusals, warnings, the desynchronisation,
// each starting with the front end's name: "tarnyx: FILE: not a demo"); a front end that says
// nothing of a kind leaves that sink empty.
//
// The front end opens the run (Record, or Play / PlayBytes) before its world is made, builds the
// world from Seed(), calls FrameInput with the input states each frame consumes (a playback
// replaces them) and FrameEnd when the frame is done, and Finish when the game stops. A playback
// is Done after its last frame (or the frame StopAfter named), when the front end stops the game.
class TDemoRun {
 public:
  using TLines = std::function<void(const std::string& line)>;

  // program names the front end at the start of each line ("tarnyx", "tarnyx-headless demo").
  TDemoRun(std::string program, TLines out, TLines err);
  ~TDemoRun();
  TDemoRun(const TDemoRun&) = delete;
  TDemoRun& operator=(const TDemoRun&) = delete;

  // Whether path is a place a demo may be recorded into: a name that does not exist, or a regular
  // file (behind any symbolic links). A folder (or a name ending in '/'), a device, a FIFO or a
  // socket is not: renaming a demo over it would replace it. "" when it may, else why not.
  static std::string RecordTargetProblem(const std::string& path);

  // Starts recording the world built from seed into path (by way of a part file beside it).
  // False, having said why in one line, when it cannot: Status() is then 2 for a target that is no
  // place for a demo, 1 when the file cannot be made.
  bool Record(const std::string& path, std::uint32_t seed);
  // Reads the demo in the file at path, or in bytes (name stands for the file in the lines), to
  // play it at the game's pace or, fast, as fast as it goes (a timedemo). False, having said why
  // in one line, when it is no demo this game plays (Status() 2). Otherwise the warnings (cut
  // short, recorded by another version) are said.
  bool Play(const std::string& path, bool fast);
  bool PlayBytes(const std::string& name, std::vector<std::uint8_t> bytes, bool fast);
  // Plays only the first frames of the demo (at most its frames): the run is done after frame n.
  void StopAfter(std::uint32_t n) { FStopAfter = n; }

  bool Recording() const { return FRecorder != nullptr; }
  bool Playing() const { return FPlayer != nullptr; }
  bool Fast() const { return FFast; }
  // The world's seed: the recording's clock, or the demo's.
  std::uint32_t Seed() const { return FSeed; }
  // The status the run ends with so far (after a refusal, the refusal's).
  int Status() const { return FStatus; }
  // Why the run was refused, without the front end's name or the file's ("not a demo"); empty
  // while it was not.
  const std::string& Refusal() const { return FRefusal; }

  // The warnings of the demo being played, as text lines without the front end's name or the
  // file's: "truncated at frame N: replaying its N-1 whole frames", "recorded by V, played by W:
  // it may desynchronise".
  const std::vector<std::string>& Warnings() const { return FWarnings; }
  const TDemoReader* Demo() const { return FDemo ? &*FDemo : nullptr; }
  const TDemoPlayer* Player() const { return FPlayer.get(); }
  const TDemoRecorder* Recorder() const { return FRecorder.get(); }

  // For a front end whose loop can end the game through its own path (so that a recording is
  // completed): from now on an interrupt or a termination request (SIGINT, SIGTERM) is noted
  // instead of ending the process, until ReleaseStopRequests or the run's end. StopRequested
  // says whether one came since it was last asked.
  void CatchStopRequests();
  bool StopRequested();
  void ReleaseStopRequests();

  // The per-frame hooks.
  void FrameInput(TInputStates& states);
  void FrameEnd();
  // The playback has played every frame it is to play.
  bool Done() const;
  // Called once, after the frame that made the playback Done.
  std::function<void()> OnDone;

  // The seconds from the start of the first frame played to the end of the last (or now).
  double Seconds() const;
  // "N frames, S.SS seconds, F.F fps", as a timedemo ends.
  std::string TimedemoLine() const;

  // Ends the run and returns its exit status. A recording is completed ("recorded N frames into
  // FILE" on Out; status 1 when it could not be written whole). A playback compares its last
  // checksum, says where it stopped if before its end, and gives its result on Out (the timedemo
  // line, or the summary): status 3 if it drifted, else 2 if the demo was cut short, else 0.
  // Later calls return the same status and say nothing.
  int Finish();
  // After a failure before the game ran or around it: a recording that holds no frame is removed,
  // one that holds frames is completed; a playback is finished.
  void Abandon();
  // The game ends at once, mid-flight, for reason ("the display closed the connection"): what was
  // recorded is put on the disk as it is and left in the part file, which plays as a truncated
  // demo, and the run says so and where (status 1); a playback is finished as it stands.
  int Interrupted(const std::string& reason);

 private:
  void Say(const TLines& to, const std::string& line) const;
  void Warn(const std::string& line) const { Say(FErr, line); }
  bool Refuse(const std::string& subject, const std::string& reason, int status);
  bool StartPlaying(const std::string& name, bool fast);
  void NoteWriteFailure();

  std::string FProgram;
  TLines FOut, FErr;
  std::string FFile;  // the demo's file or name, as given
  std::uint32_t FSeed = 0;
  int FStatus = DemoStatusOk;
  bool FFast = false;
  bool FFinished = false;
  bool FWriteFailureSaid = false;
  std::optional<std::uint32_t> FStopAfter;
  std::unique_ptr<TDemoRecorder> FRecorder;
  std::optional<TDemoReader> FDemo;
  std::unique_ptr<TDemoPlayer> FPlayer;
  std::vector<std::string> FWarnings;
  std::string FRefusal;
  std::chrono::steady_clock::time_point FStarted, FEnded;
  bool FEndedSet = false;
  bool FCatchingStops = false;
};
