// Interception of a control's messages.
#pragma once

#include <functional>

#include "shell/Control.h"

// The interceptor: gets each message and the control's previous handler, and decides whether
// and when to pass the message on by calling that handler.
using TControlSubClassProc = std::function<void(TMessage& Message, const TWndMethod& DefWindowProc)>;

// One interception of a control's messages, from construction to destruction. It remembers the
// control's handler (WindowProc) and puts its own in its place; destruction puts the remembered
// one back. Interceptions of one control nest, each passing to the one before it, so they must
// end in the reverse order of their making.
class TControlSubClass {
 public:
  TControlSubClass(TControl* Control, TControlSubClassProc WindowProc);
  ~TControlSubClass();
  TControlSubClass(const TControlSubClass&) = delete;
  TControlSubClass& operator=(const TControlSubClass&) = delete;

 private:
  void WndProc(TMessage& Message);

  TControl* FControl;
  TWndMethod FDefWindowProc;
  TControlSubClassProc FWindowProc;
};
