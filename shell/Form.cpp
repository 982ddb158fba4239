// The ordinary form.
#include "shell/Form.h"

#include "shell/Application.h"
#include "shell/Exception.h"
#include "shell/FormReader.h"
#include "shell/Resources.h"
#include "shell/StoredValue.h"

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner) {}

TForm::~TForm() {
  // The window goes first, so that the components' interceptions see its WM_DESTROY, then the
  // components, while the form is still whole.
  DestroyHandle();
  while (!Components().empty()) delete Components().back();
  if (Application && Application->MainForm == this) Application->MainForm = nullptr;
}

void TForm::SetCaption(const std::string& caption) {
  FText = caption;
  if (HandleAllocated()) SetWindowText(Handle(), caption.c_str());
}

void TForm::SetWindowState(TWindowState state) {
  if (state == FWindowState) return;
  FWindowState = state;
  if (HandleAllocated() && IsWindowVisible(Handle())) {
    bool iconic = IsIconic(Handle());
    if (state == wsMinimized && !iconic) ShowWindow(Handle(), SW_MINIMIZE);
    if (state != wsMinimized && iconic) ShowWindow(Handle(), SW_RESTORE);
  }
}

void TForm::Show() {
  Visible = true;
  ShowWindow(Handle(), FWindowState == wsMinimized ? SW_SHOWMINIMIZED : SW_SHOW);
}

void TForm::Hide() {
  Visible = false;
  if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
}

void TForm::Close() {
  if (Application && Application->MainForm == this)
    Application->Terminate();
  else
    Hide();
}

std::string TForm::StoredFormResource() const {
  std::string name = ClassNameOf(*this);
  if (!name.empty() && name[0] == 'T') name.erase(0, 1);
  return name + ".dfm";
}

void TForm::InitFromStoredForm() {
  std::string name = StoredFormResource();
  auto data = FindResource(name);
  if (data.empty()) throw EReadError("the stored form " + name + " is not in the program");
  ReadStoredForm(*this, std::string_view(reinterpret_cast<const char*>(data.data()), data.size()), name);
  DoCreate();
}

void TForm::DoCreate() {
  if (!OnCreate) return;
  try {
    OnCreate(this);
  } catch (...) {
    if (!Application) throw;
    Application->HandleException(this);
  }
}

void TForm::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  switch (BorderStyle) {
    case bsNone:
      Params.Style |= WS_POPUP;
      break;
    case bsSizeable:
    case bsSizeToolWin:
      Params.Style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
      break;
    default:
      Params.Style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
      break;
  }
  if (BorderStyle == bsToolWindow || BorderStyle == bsSizeToolWin) Params.ExStyle |= WS_EX_TOOLWINDOW;
}

void TForm::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CLOSE:
      Close();
      return;
    case WM_SYSCOMMAND:
      WMSysCommand(Message);
      return;
    case WM_ACTIVATE:
      FActive = LOWORD(Message.WParam) != WA_INACTIVE;
      break;
    case WM_SIZE:
      if (Message.WParam == SIZE_MINIMIZED)
        FWindowState = wsMinimized;
      else if (FWindowState == wsMinimized)
        FWindowState = wsNormal;
      break;
    case WM_DESTROY:
      FActive = false;
      break;
    default:
      break;
  }
  TWinControl::WndProc(Message);
}

void TForm::WMSysCommand(TMessage& Message) { DefaultHandler(Message); }

bool TForm::SetStoredProperty(const std::string& name, const TStoredValue& value, std::string& error) {
  std::int64_t v = 0;
  if (name == "Caption") {
    std::string caption;
    if (!StoredString(value, caption, error)) return false;
    SetCaption(caption);
    return true;
  }
  if (name == "BorderStyle") {
    int style = 0;
    if (!StoredEnum(value, {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"},
                    style, error))
      return false;
    BorderStyle = static_cast<TFormBorderStyle>(style);
    return true;
  }
  if (name == "ClientWidth" || name == "ClientHeight") {
    if (!StoredInteger(value, v, 0, 32767, error)) return false;
    if (name == "ClientWidth")
      SetClientWidth(static_cast<int>(v));
    else
      SetClientHeight(static_cast<int>(v));
    return true;
  }
  if (name == "Scaled") return StoredBoolean(value, Scaled, error);
  if (name == "WindowState") {
    int state = 0;
    if (!StoredEnum(value, {"wsNormal", "wsMinimized", "wsMaximized"}, state, error)) return false;
    FWindowState = static_cast<TWindowState>(state);
    return true;
  }
  if (name == "OnCreate") return StoredEvent(value, OnCreate, error);
  return TWinControl::SetStoredProperty(name, value, error);
}

const std::any* TForm::FindStoredHandler(const std::string& name) const {
  auto it = FHandlers.find(name);
  return it == FHandlers.end() ? nullptr : &it->second;
}

bool TForm::BindStoredField(const std::string& name, TComponent* component, std::string& error) {
  auto it = FFields.find(name);
  if (it == FFields.end()) return false;
  if (!it->second(component)) error = "the form's field " + name + " cannot hold a " + ClassNameOf(*component);
  return true;
}
