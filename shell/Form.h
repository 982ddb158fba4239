// The ordinary form: a top-level window with a caption, a border style and a client area, read
// from its stored form, with its creation handler.
#pragma once

#include <any>
#include <functional>
#include <map>
#include <string>

#include "shell/Control.h"

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };

// A form. Its window is the program's visible window (made when the form is first shown or its
// Handle is first needed); a form without a border covers the whole desktop. It owns the
// components of its stored form, offers its event handlers and fields to the form reader by
// name (DefineHandler, DefineField), and calls OnCreate once its stored form has been read.
// Closing the application's main form ends the application.
class TForm : public TWinControl {
 public:
  explicit TForm(TComponent* AOwner);
  ~TForm() override;

  const std::string& Caption() const { return FText; }
  void SetCaption(const std::string& caption);
  TFormBorderStyle BorderStyle = bsSizeable;
  int ClientWidth() const { return FWidth; }
  int ClientHeight() const { return FHeight; }
  void SetClientWidth(int width) { SetBounds(Left, Top, width, FHeight); }
  void SetClientHeight(int height) { SetBounds(Left, Top, FWidth, height); }
  bool Scaled = true;  // kept as stored; forms are never rescaled here
  TNotifyEvent OnCreate;

  TWindowState WindowState() const { return FWindowState; }
  void SetWindowState(TWindowState state);
  // True while the form's window is the foreground window.
  bool Active() const { return FActive; }

  void Show();
  void Hide();
  // Closes the form; closing the main form terminates the application.
  void Close();

  // Reads the stored form embedded under StoredFormResource() (shell/FormReader.h), then calls
  // DoCreate. CreateForm does this.
  void InitFromStoredForm();
  // "Form1.dfm" for TForm1: the class name without its T.
  virtual std::string StoredFormResource() const;
  // Calls OnCreate; an exception escaping it is reported and creation goes on.
  void DoCreate();

  bool SetStoredProperty(const std::string& name, const TStoredValue& value, std::string& error) override;
  const std::any* FindStoredHandler(const std::string& name) const override;
  bool BindStoredField(const std::string& name, TComponent* component, std::string& error) override;

 protected:
  // Offers a handler to the stored form by name; `handler` must be of the event's exact type
  // (TNotifyEvent, TDXTimerEvent, ...).
  template <class TEvent>
  void DefineHandler(const std::string& name, TEvent handler) {
    FHandlers[name] = std::move(handler);
  }
  // Binds a field to the component of that name when the stored form creates it.
  template <class T>
  void DefineField(const std::string& name, T*& field) {
    FFields[name] = [&field](TComponent* c) {
      field = dynamic_cast<T*>(c);
      return field != nullptr;
    };
  }

  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  // WM_SYSCOMMAND.
  virtual void WMSysCommand(TMessage& Message);

 private:
  TWindowState FWindowState = wsNormal;
  bool FActive = false;
  std::map<std::string, std::any> FHandlers;
  std::map<std::string, std::function<bool(TComponent*)>> FFields;
};
