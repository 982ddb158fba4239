// Controls and windowed controls.
#include "shell/Control.h"

#include <algorithm>

#include "shell/Application.h"
#include "shell/Exception.h"
#include "shell/StoredValue.h"

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
}

TControl::~TControl() { SetParent(nullptr); }

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  if (FParent) std::erase(FParent->FControls, this);
  FParent = parent;
  if (FParent) FParent->FControls.push_back(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  Left = left;
  Top = top;
  FWidth = width;
  FHeight = height;
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  TWndMethod proc = WindowProc;  // a copy: an interception may end while it runs
  proc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& Message) { DefaultHandler(Message); }

void TControl::DefaultHandler(TMessage&) {}

bool TControl::SetStoredProperty(const std::string& name, const TStoredValue& value, std::string& error) {
  std::int64_t v = 0;
  auto integer = [&](int& field) {
    if (!StoredInteger(value, v, -32768, 32767, error)) return false;
    field = static_cast<int>(v);
    return true;
  };
  if (name == "Left") return integer(Left);
  if (name == "Top") return integer(Top);
  if (name == "Width") {
    int w = 0;
    if (!integer(w)) return false;
    SetBounds(Left, Top, w, FHeight);
    return true;
  }
  if (name == "Height") {
    int h = 0;
    if (!integer(h)) return false;
    SetBounds(Left, Top, FWidth, h);
    return true;
  }
  if (name == "Visible") return StoredBoolean(value, Visible, error);
  if (name == "Cursor") {
    if (value.Kind == skIdentifier) {
      int index = 0;
      if (!StoredEnum(value, {"crDefault", "crNone"}, index, error)) return false;
      Cursor = index == 0 ? crDefault : crNone;
      return true;
    }
    return integer(Cursor);
  }
  return TComponent::SetStoredProperty(name, value, error);
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
  DestroyHandle();
  for (TControl* child : std::vector<TControl*>(FControls)) child->SetParent(nullptr);
}

HWND TWinControl::Handle() {
  if (!FHandle) CreateWnd();
  return FHandle;
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params.ClassName = ClassNameOf(*this);
  Params.Caption = FText;
  Params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  Params.X = Left;
  Params.Y = Top;
  Params.Width = FWidth;
  Params.Height = FHeight;
  if (Parent()) {
    Params.Style |= WS_CHILD;
    Params.WndParent = Parent()->Handle();
  }
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  // The window's messages arrive here before CreateWindowEx returns (WM_CREATE), so the
  // handle is taken from the first message.
  HWND hwnd = CreateWindowEx(params.ExStyle, params.ClassName.c_str(), params.Caption.c_str(),
                             params.Style, params.X, params.Y, params.Width, params.Height,
                             params.WndParent,
                             [this](HWND h, UINT msg, WPARAM w, LPARAM l) { return MainWndProc(h, msg, w, l); });
  if (!hwnd) throw EWindowError(LastWindowError());
  FHandle = hwnd;
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  for (TControl* child : FControls)
    if (auto* win = dynamic_cast<TWinControl*>(child)) win->DestroyHandle();
  DestroyWindow(FHandle);
  FHandle = nullptr;
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  TControl::SetBounds(left, top, width, height);
}

void TWinControl::DefaultHandler(TMessage& Message) {
  if (FHandle) Message.Result = DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

LRESULT TWinControl::MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!FHandle) FHandle = hwnd;
  TMessage m{msg, wParam, lParam, 0};
  try {
    TWndMethod proc = WindowProc;  // a copy: an interception may end while it runs
    proc(m);
  } catch (...) {
    if (Application) Application->HandleException(this);
  }
  if (msg == WM_DESTROY && FHandle == hwnd) FHandle = nullptr;
  return m.Result;
}
