// The stored-form reader: builds a form's components from the text of its stored form.
//
// The text is one object with nested objects:
//
//     object Form1: TForm1
//       Caption = 'Tarnyx'
//       OnCreate = FormCreate
//       object DXTimer: TDXTimer
//         Interval = 20
//         OnTimer = DXTimerTimer
//       end
//     end
//
// Values are described in shell/StoredValue.h. The reader parses the whole text first, so a
// broken structure creates nothing. Then it sets the root's properties, creates each nested
// component by class name through the registry below (owned by the root, with the enclosing
// windowed control as parent, bound to the root's field of the same name), in file order, and
// sets its properties by name, all in the loading state. It then resolves the references to
// components by name, ends the reading state, and calls Loaded on the root and then on each
// component in the order they were created. The form's OnCreate is the caller's business
// (TForm::InitFromStoredForm).
//
// Every error raises EReadError with "<file>:<line>: " and, for a property, its owner and name
// ("Form1.dfm:7: DXTimer.Interval: expects an integer, not a string"): an unknown class or
// property, a value of the wrong kind, an unterminated string or block, a missing `end`, an
// unknown handler or component name.
#pragma once

#include <functional>
#include <string>
#include <string_view>

class TComponent;

// Makes a component of one class, owned by `owner`.
using TComponentFactory = std::function<TComponent*(TComponent* owner)>;

// Makes a class known to the reader under its name ("TDXTimer"). Registration is explicit (the
// program calls the layers' registration functions at start), since a registrar object in a
// static library would not be linked in.
void RegisterComponentClass(const std::string& className, TComponentFactory factory);
bool ComponentClassRegistered(const std::string& className);

// Reads `text` into `root`, whose class must be the one the text names.
void ReadStoredForm(TComponent& root, std::string_view text, const std::string& fileName);
