// The form base of the game's form: the application shows no task-bar button of its own while
// such a form exists, and the form shows one.
#pragma once

#include "shell/Form.h"

// How many TDXForm instances exist.
extern int DXFormCount;

// A form that takes over the application's task-bar presence: while at least one exists the
// application's hidden window carries the tool-window style (no button), and each form's window
// carries the application-window style (its own button). Minimising it through the system
// command also records the minimised window state.
class TDXForm : public TForm {
 public:
  explicit TDXForm(TComponent* AOwner);
  ~TDXForm() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WMSysCommand(TMessage& Message) override;
};
