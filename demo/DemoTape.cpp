// Recording a demo in memory.
#include "demo/DemoTape.h"

#include "demo/DemoFormat.h"
#include "demo/GameChecksum.h"

TDemoTape::TDemoTape(std::uint32_t seed, std::string_view gameVersion) : writer_(seed, gameVersion) {}

void TDemoTape::Checkpoint() { writer_.Checkpoint(GameStateChecksum(inputs_.Value)); }

void TDemoTape::FrameInput(const TInputStates& states) {
  if (writer_.Ended()) return;
  // The end of the previous frame was not reached (an error cut it short): its checkpoint is
  // taken now, as playback will take it.
  if (writer_.CheckpointDue()) Checkpoint();
  writer_.Frame(states);
  inputs_.Bytes(states.Bytes, sizeof states.Bytes);
}

void TDemoTape::FrameEnd() {
  if (writer_.Ended()) return;
  if (writer_.CheckpointDue()) Checkpoint();
  if (writer_.Bytes.size() + DemoEndingRoom > DemoMaxBytes) writer_.End(GameStateChecksum(inputs_.Value));
}

std::vector<std::uint8_t> TDemoTape::Take() const {
  TDemoWriter ending = writer_;
  if (!ending.Ended()) {
    if (ending.CheckpointDue()) ending.Checkpoint(GameStateChecksum(inputs_.Value));
    ending.End(GameStateChecksum(inputs_.Value));
  }
  PutLittleEndian(ending.Bytes.data() + DemoFrameCountAt, ending.Frames(), 4);
  return std::move(ending.Bytes);
}
