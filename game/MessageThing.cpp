// The message log: creating it and queueing lines.
#include "game/Main.h"

TMessageThing::TMessageThing() : Lines(1), ShowTime(50), TextX(0) {}

void TMessageThing::AddMessage(const std::string& text) {
  Lines.push_back(text.substr(0, MaxMessageLength));
}
