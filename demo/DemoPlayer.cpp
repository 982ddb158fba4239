// Playing a demo back.
#include "demo/DemoPlayer.h"

#include "demo/GameChecksum.h"
#include "game/Main.h"

void TDemoPlayer::FrameInput(TInputStates& states) {
  // As the recorder did: a checkpoint whose frame was cut short is taken now.
  CheckpointIfDue();
  TInputStates recorded;
  if (!demo_.NextFrame(recorded)) {
    // Past the end nothing is held; the caller stops at Done.
    states = TInputStates{};
    return;
  }
  states = recorded;
  inputs_.Bytes(recorded.Bytes, sizeof recorded.Bytes);
  ++played_;
}

void TDemoPlayer::FrameEnd() { CheckpointIfDue(); }

void TDemoPlayer::CheckpointIfDue() {
  if (played_ == 0 || played_ % DemoCheckpointInterval != 0 || checked_ == played_) return;
  checked_ = played_;
  // One checkpoint after every 50th frame, in order; a truncated demo may lack its last.
  std::size_t index = played_ / DemoCheckpointInterval - 1;
  if (index < demo_.Checkpoints().size()) Compare(demo_.Checkpoints()[index].Checksum);
}

void TDemoPlayer::Conclude() {
  if (concluded_) return;
  concluded_ = true;
  CheckpointIfDue();
  if (Done() && demo_.FinalChecksum()) {
    checked_ = played_;
    Compare(*demo_.FinalChecksum());
  }
}

void TDemoPlayer::Compare(std::uint64_t expected) {
  if (desync_ != 0 || Checksum() == expected) return;
  desync_ = played_;
  if (OnDesync) OnDesync(desync_);
}

std::uint64_t TDemoPlayer::Checksum() const { return GameStateChecksum(inputs_.Value); }

std::string ChecksumText(std::uint64_t checksum) {
  static const char digits[] = "0123456789abcdef";
  std::string text(16, '0');
  for (int i = 15; i >= 0; --i, checksum >>= 4) text[static_cast<std::size_t>(i)] = digits[checksum & 15];
  return text;
}

std::string TDemoPlayer::Summary() const {
  return std::to_string(played_) + " frames, hull " + std::to_string(Player.Hull) + "%, " +
         (Player.Landed ? "landed" : "not landed") + ", checksum " + ChecksumText(Checksum());
}
