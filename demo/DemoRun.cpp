// One demo run for every front end.
#include "demo/DemoRun.h"


#include "TarnyxVersion.h"
#include "shell/PrintableText.h"
#include "system/Files.h"
#include "system/Signals.h"

namespace {

// A non-negative amount with a fixed number of decimals, the same in every locale.
std::string Decimal(std::uint64_t scaled, int decimals) {
  std::uint64_t unit = 1;
  for (int i = 0; i < decimals; ++i) unit *= 10;
  std::string fraction = std::to_string(scaled % unit);
  fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
  return std::to_string(scaled / unit) + "." + fraction;
}

}  // namespace

TDemoRun::TDemoRun(std::string program, TLines out, TLines err)
    : FProgram(std::move(program)), FOut(std::move(out)), FErr(std::move(err)) {}

TDemoRun::~TDemoRun() { ReleaseStopRequests(); }

void TDemoRun::CatchStopRequests() {
  ::CatchStopRequests();
  FCatchingStops = true;
}

bool TDemoRun::StopRequested() { return FCatchingStops && TakeStopRequest(); }

void TDemoRun::ReleaseStopRequests() {
  if (!FCatchingStops) return;
  FCatchingStops = false;
  ::ReleaseStopRequests();
}

void TDemoRun::Say(const TLines& to, const std::string& line) const {
  // File names and versions are outside bytes: never raw on a terminal.
  if (to) to(PrintableText(line));
}

bool TDemoRun::Refuse(const std::string& subject, const std::string& reason, int status) {
  Warn(FProgram + ": " + subject + ": " + reason);
  FRefusal = reason;
  FStatus = status;
  FFinished = true;
  return false;
}

std::string TDemoRun::RecordTargetProblem(const std::string& path) {
  if (path.empty()) return "no file is named";
  if (LastPathSeparator(path) == path.size() - 1)
    return "the name ends in '" + path.substr(path.size() - 1) + "': it names a folder, not a file";
  // Behind any symbolic links: the rename would replace the link, but what it names is what the
  // player meant.
  switch (LookAtPath(path).Kind) {
    case pkRegular:
    case pkMissing:
    case pkUnknown:  // cannot be looked at: making the part file will say why
      return "";
    case pkFolder:
      return "it is a folder, not a file";
    case pkCharacterDevice:
      return "it is a character device, not a regular file";
    case pkBlockDevice:
      return "it is a block device, not a regular file";
    case pkFifo:
      return "it is a FIFO, not a regular file";
    case pkSocket:
      return "it is a socket, not a regular file";
    case pkOther:
      break;
  }
  return "it is not a regular file";
}

bool TDemoRun::Record(const std::string& path, std::uint32_t seed) {
  FFile = path;
  if (const std::string problem = RecordTargetProblem(path); !problem.empty())
    return Refuse("cannot record into " + path, problem, DemoStatusBadFile);
  try {
    FRecorder = std::make_unique<TDemoRecorder>(path, seed, GameVersionText);
  } catch (const EDemoError& e) {
    return Refuse("cannot record", e.what(), DemoStatusCannotWrite);
  }
  FSeed = seed;
  return true;
}

bool TDemoRun::Play(const std::string& path, bool fast) {
  FFile = path;
  try {
    FDemo.emplace(TDemoReader::FromFile(path));
  } catch (const EDemoError& e) {
    return Refuse(path, e.what(), DemoStatusBadFile);
  }
  return StartPlaying(path, fast);
}

bool TDemoRun::PlayBytes(const std::string& name, std::vector<std::uint8_t> bytes, bool fast) {
  FFile = name;
  try {
    FDemo.emplace(std::move(bytes));
  } catch (const EDemoError& e) {
    return Refuse(name, e.what(), DemoStatusBadFile);
  }
  return StartPlaying(name, fast);
}

bool TDemoRun::StartPlaying(const std::string& name, bool fast) {
  FFast = fast;
  if (FDemo->Truncated()) FWarnings.push_back(FDemo->TruncationWarning());
  if (FDemo->Header().GameVersion != GameVersionText)
    FWarnings.push_back("recorded by " + FDemo->Header().GameVersion + ", played by " + GameVersionText +
                        ": it may desynchronise");
  for (const std::string& warning : FWarnings) Warn(FProgram + ": " + name + ": " + warning);
  FSeed = FDemo->Header().Seed;
  FPlayer = std::make_unique<TDemoPlayer>(*FDemo);
  FPlayer->OnDesync = [this](std::uint32_t frame) {
    Warn(FProgram + ": " + FFile + ": demo desynchronised at frame " + std::to_string(frame));
  };
  // A demo without a whole frame is done before it starts.
  FStarted = std::chrono::steady_clock::now();
  return true;
}

void TDemoRun::FrameInput(TInputStates& states) {
  if (FRecorder) {
    FRecorder->FrameInput(states);
    NoteWriteFailure();
  } else if (FPlayer) {
    if (FPlayer->FramesPlayed() == 0) FStarted = std::chrono::steady_clock::now();
    FPlayer->FrameInput(states);
  }
}

void TDemoRun::FrameEnd() {
  if (FRecorder) {
    FRecorder->FrameEnd();
    NoteWriteFailure();
  } else if (FPlayer) {
    FPlayer->FrameEnd();
    if (Done() && !FEndedSet) {
      FEnded = std::chrono::steady_clock::now();
      FEndedSet = true;
      if (OnDone) OnDone();
    }
  }
}

// The disk filled (or another write failed) mid-flight: the player hears of it at once, not when
// the game ends, and the game goes on.
void TDemoRun::NoteWriteFailure() {
  if (FWriteFailureSaid || FRecorder->Error().empty()) return;
  FWriteFailureSaid = true;
  Warn(FProgram + ": " + FRecorder->Error() + ": the recording stopped at frame " +
       std::to_string(FRecorder->Frames()) + "; the flight goes on");
}

bool TDemoRun::Done() const {
  if (!FPlayer) return false;
  const std::uint32_t last = FStopAfter ? std::min(*FStopAfter, FDemo->Frames()) : FDemo->Frames();
  return FPlayer->FramesPlayed() >= last;
}

double TDemoRun::Seconds() const {
  const auto end = FEndedSet ? FEnded : std::chrono::steady_clock::now();
  return std::chrono::duration<double>(end - FStarted).count();
}

std::string TDemoRun::TimedemoLine() const {
  const auto end = FEndedSet ? FEnded : std::chrono::steady_clock::now();
  const auto us = std::chrono::duration_cast<std::chrono::microseconds>(end - FStarted).count();
  const std::uint64_t micro = us > 0 ? static_cast<std::uint64_t>(us) : 1;
  const std::uint64_t frames = FPlayer ? FPlayer->FramesPlayed() : 0;
  return std::to_string(frames) + " frames, " + Decimal((micro + 5000) / 10000, 2) + " seconds, " +
         Decimal((frames * 10000000 + micro / 2) / micro, 1) + " fps";
}

int TDemoRun::Finish() {
  if (FFinished) return FStatus;
  FFinished = true;
  if (FRecorder) {
    std::string error;
    if (!FRecorder->Finish(error)) {
      Warn(FProgram + ": the recording is incomplete: " + error);
      return FStatus = DemoStatusCannotWrite;
    }
    if (FRecorder->Full())
      Warn(FProgram + ": the recording stopped at frame " + std::to_string(FRecorder->Frames()) +
           ": a demo holds at most 64 MiB");
    Say(FOut, "recorded " + std::to_string(FRecorder->Frames()) + " frames into " + FRecorder->Path());
    return FStatus = DemoStatusOk;
  }
  if (!FPlayer) return FStatus;
  FPlayer->Conclude();
  if (!Done())
    Warn(FProgram + ": stopped at frame " + std::to_string(FPlayer->FramesPlayed()) + " of " +
         std::to_string(FDemo->Frames()));
  Say(FOut, FFast ? TimedemoLine() : FPlayer->Summary());
  if (FPlayer->DesyncFrame() != 0) return FStatus = DemoStatusDesync;
  // Cut short is a damaged file, however many of its frames were asked for.
  return FStatus = FDemo->Truncated() ? DemoStatusBadFile : DemoStatusOk;
}

void TDemoRun::Abandon() {
  if (FRecorder && !FFinished && FRecorder->Frames() == 0) {
    FRecorder->Discard();
    FFinished = true;
    return;
  }
  Finish();
}

int TDemoRun::Interrupted(const std::string& reason) {
  if (FFinished) return FStatus;
  if (!FRecorder) return Finish();
  FFinished = true;
  FRecorder->Keep();
  Warn(FProgram + ": the recording is incomplete (" + reason + "): its " + std::to_string(FRecorder->Frames()) +
       " frames are in " + FRecorder->PartPath() + ", which plays as a truncated demo");
  return FStatus = DemoStatusCannotWrite;
}
