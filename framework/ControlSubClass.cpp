// Interception of a control's messages.
#include "framework/ControlSubClass.h"

TControlSubClass::TControlSubClass(TControl* Control, TControlSubClassProc WindowProc)
    : FControl(Control), FDefWindowProc(Control->WindowProc), FWindowProc(std::move(WindowProc)) {
  FControl->WindowProc = [this](TMessage& m) { WndProc(m); };
}

TControlSubClass::~TControlSubClass() { FControl->WindowProc = FDefWindowProc; }

void TControlSubClass::WndProc(TMessage& Message) { FWindowProc(Message, FDefWindowProc); }
