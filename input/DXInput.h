// The input component: keyboard, joystick and mouse merged into 36 latched input states.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/ControlSubClass.h"
#include "framework/DirectXError.h"

#include "input/CustomInput.h"
#include "input/InputStates.h"
#include "input/Joystick.h"
#include "input/Keyboard.h"
#include "input/Mouse.h"
#include "shell/Component.h"
#include "shell/Form.h"

// A failure of the input component ("Form not found", the mouse without DirectInput).
class EDXInputError : public EDirectXError {
 public:
  using EDirectXError::EDirectXError;
};

// The input component on a form. It owns a joystick, a keyboard and a mouse (polled in that
// order), shares the process's one DirectInput object, and watches its form's window to set the
// devices' cooperative levels and acquire them on activation. Update merges the bound devices'
// states and latches changes into InputStates: a state changes there only when the merged value
// changes between two polls.
class TCustomDXInput : public TComponent {
  // Declared first so that it outlives the devices, which leave it when they are destroyed.
  std::vector<TCustomInput*> devices_;

 public:
  explicit TCustomDXInput(TComponent* owner);
  ~TCustomDXInput() override;

  void Loaded() override;
  bool SetStoredProperty(const std::string& name, const TStoredValue& value, std::string& error) override;
  void Update();

  bool ActiveOnly() const { return activeOnly_; }
  bool UseDirectInput() const { return useDirectInput_; }
  // A new value re-applies the devices' cooperative levels (not while loading).
  void SetActiveOnly(bool value);
  // A new value re-runs the component's initialisation.
  void SetUseDirectInput(bool value);

  IDirectInputA* DirectInput() const { return directInput_; }
  TForm* Form() const { return form_; }
  // The form's window, or nothing while it has none.
  HWND FormHandle() const;
  const std::vector<TCustomInput*>& Devices() const { return devices_; }

  TInputStates PolledStates;
  TInputStates InputStates;
  std::unique_ptr<TJoystick> Joystick;
  std::unique_ptr<TKeyboard> Keyboard;
  std::unique_ptr<TMouse> Mouse;

 private:
  friend class TCustomInput;  // devices register themselves
  void Initialize();
  void Finalize();
  void SetCooperativeLevels(HWND window);
  void SetCooperativeLevel(TCustomInput& device, HWND window);
  void AcquireAll();
  void JoysticksChanged();
  void FormWindowProc(TMessage& message, const TWndMethod& previous);

  bool activeOnly_ = true;
  IDirectInputA* directInput_ = nullptr;
  TForm* form_ = nullptr;
  std::unique_ptr<TControlSubClass> hook_;
  bool useDirectInput_ = true;
};

// The input component as the form holds it.
class TDXInput : public TCustomDXInput {
 public:
  using TCustomDXInput::TCustomDXInput;
};

// The process's one DirectInput object, shared and counted: the first request creates it from
// "DInput.dll", silently yielding nothing if that fails; the last release frees it.
IDirectInputA* AcquireSharedDirectInput();
void ReleaseSharedDirectInput();
int SharedDirectInputCount();

// Makes TDXInput known to the stored-form reader.
void RegisterInputClasses();
