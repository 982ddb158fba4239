// Temporary stand-ins for the component base, the form, window interception and PlatformProc,
// used only until the shell and framework land; then the input component uses the real ones.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>

#include "platform/Libraries.h"
#include "platform/WindowsShim.h"

namespace input_shim {

struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};
using TWndMethod = std::function<void(TMessage&)>;

class TComponent {
 public:
  explicit TComponent(TComponent* owner) : owner_(owner) {}
  virtual ~TComponent() = default;
  TComponent* Owner() const { return owner_; }
  virtual void Loaded() { Loading = false; }
  bool Loading = false;
  bool Designing = false;

 private:
  TComponent* owner_;
};

class TForm : public TComponent {
 public:
  using TComponent::TComponent;
  HWND Handle = nullptr;
  TWndMethod WindowProc = [](TMessage&) {};
};

class TControlSubClass {
 public:
  using TCallback = std::function<void(TMessage&, const TWndMethod&)>;
  TControlSubClass(TForm* control, TCallback callback) : control_(control), previous_(control->WindowProc) {
    control_->WindowProc = [this, callback](TMessage& m) { callback(m, previous_); };
  }
  ~TControlSubClass() { control_->WindowProc = previous_; }

 private:
  TForm* control_;
  TWndMethod previous_;
};

inline void* PlatformProc(const std::string& library, const std::string& proc) {
  HMODULE m = LoadLibraryA(library.c_str());
  void* p = m ? GetProcAddress(m, proc.c_str()) : nullptr;
  if (!p) throw std::runtime_error(library + " not loaded");
  return p;
}

}  // namespace input_shim
