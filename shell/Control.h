// Controls: components with a place on a form and a message handler, and windowed controls
// with a platform window of their own.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Windows.h"
#include "shell/Component.h"

// One message as a control handles it; Result is the answer sent back.
struct TMessage {
  UINT Msg = WM_NULL;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// A control's message handler. A std::function (code and object) so that an interception can
// keep the previous handler, install its own, and call the previous one (TControlSubClass).
using TWndMethod = std::function<void(TMessage& Message)>;

// Mouse pointers: crNone shows none.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;

class TWinControl;

// A control: a component with a position and size (pixels, relative to its parent's client
// area), a parent, visibility, a mouse pointer and a message handler. Every message goes
// through WindowProc, which starts as WndProc; WndProc handles what the class knows and passes
// the rest to DefaultHandler.
class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* parent);

  int Left = 0, Top = 0;
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  virtual void SetBounds(int left, int top, int width, int height);
  bool Visible = true;
  TCursor Cursor = crDefault;

  TWndMethod WindowProc;
  // Sends a message through WindowProc now; returns its Result.
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

  bool SetStoredProperty(const std::string& name, const TStoredValue& value, std::string& error) override;

 protected:
  virtual void WndProc(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);

  int FWidth = 0, FHeight = 0;

 private:
  TWinControl* FParent = nullptr;
};

// The parameters of a windowed control's platform window.
struct TCreateParams {
  std::string ClassName;
  std::string Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
};

// A control with a platform window, made when first needed (Handle) from CreateParams. The
// window's messages go through WindowProc; an exception escaping one is reported by the
// application's standard report, so the message loop goes on.
class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  HWND Handle();  // makes the window if it does not exist yet
  bool HandleAllocated() const { return FHandle != nullptr; }
  void DestroyHandle();  // WM_DESTROY reaches WindowProc
  const std::vector<TControl*>& Controls() const { return FControls; }

  void SetBounds(int left, int top, int width, int height) override;

 protected:
  virtual void CreateParams(TCreateParams& Params);
  virtual void CreateWnd();
  void DefaultHandler(TMessage& Message) override;

  std::string FText;  // the window's text (a form's caption)

 private:
  friend class TControl;
  LRESULT MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  HWND FHandle = nullptr;
  std::vector<TControl*> FControls;  // children, in the order they got this parent
};
