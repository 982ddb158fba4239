// The form base of the game's form.
#include "framework/DXForm.h"

#include "shell/Application.h"

int DXFormCount = 0;

TDXForm::TDXForm(TComponent* AOwner) : TForm(AOwner) {
  ++DXFormCount;
  if (Application) {
    HWND app = Application->Handle();
    SetWindowLong(app, GWL_EXSTYLE, GetWindowLong(app, GWL_EXSTYLE) | static_cast<LONG>(WS_EX_TOOLWINDOW));
  }
}

TDXForm::~TDXForm() {
  --DXFormCount;
  if (DXFormCount == 0 && Application) {
    HWND app = Application->Handle();
    SetWindowLong(app, GWL_EXSTYLE, GetWindowLong(app, GWL_EXSTYLE) & ~static_cast<LONG>(WS_EX_TOOLWINDOW));
  }
}

void TDXForm::CreateParams(TCreateParams& Params) {
  TForm::CreateParams(Params);
  Params.ExStyle |= WS_EX_APPWINDOW;
}

void TDXForm::WMSysCommand(TMessage& Message) {
  if ((Message.WParam & 0xFFF0) == SC_MINIMIZE) {
    DefaultHandler(Message);
    SetWindowState(wsMinimized);
  } else {
    TForm::WMSysCommand(Message);
  }
}
