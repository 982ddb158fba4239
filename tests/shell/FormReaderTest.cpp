// The stored-form reader: every kind of value, the order of creation, loading and binding, and
// the errors for broken input.
#include "shell/FormReader.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>
#include <vector>

#include "shell/Exception.h"
#include "shell/Form.h"
#include "shell/Resources.h"
#include "shell/StoredValue.h"
#include "tests/ShellFixture.h"

// The test classes live in the global namespace: the reader compares the root's class name.
std::vector<std::string>* readerJournal = nullptr;

// A component with one property of each kind.
class TReaderThing : public TComponent {
 public:
  using TComponent::TComponent;
  std::int64_t Count = 0;
  double Ratio = 0;
  std::string Text;
  bool Flag = false;
  std::int32_t Colour = 0;
  std::vector<std::string> Options;
  std::vector<std::uint8_t> Data;
  std::vector<std::string> ItemNames;
  TReaderThing* Buddy = nullptr;
  bool BuddySet = false;
  TNotifyEvent OnPing;
  bool LoadingWhenSet = false;

  void Loaded() override {
    TComponent::Loaded();
    if (readerJournal) readerJournal->push_back("Loaded " + Name);
  }

  bool SetStoredProperty(const std::string& name, const TStoredValue& value, std::string& error) override {
    LoadingWhenSet = Loading();
    if (name == "Count") return StoredInteger(value, Count, -1000000, 1000000, error);
    if (name == "Ratio") return StoredFloat(value, Ratio, error);
    if (name == "Text") return StoredString(value, Text, error);
    if (name == "Flag") return StoredBoolean(value, Flag, error);
    if (name == "Colour") return StoredColor(value, Colour, error);
    if (name == "Options") return StoredSet(value, Options, error);
    if (name == "Data" || name == "Inner.Data") return StoredBinary(value, Data, error);
    if (name == "Buddy")
      return StoredReference<TReaderThing>(value, [this](TReaderThing* t) {
        Buddy = t;
        BuddySet = true;
      }, error);
    if (name == "OnPing") return StoredEvent(value, OnPing, error);
    if (name == "Items") {
      if (value.Kind != skCollection) {
        error = "expects a collection";
        return false;
      }
      for (auto& item : value.Items)
        for (auto& p : item.Properties) {
          std::string s;
          if (p.Name != "Name" || !StoredString(p.Value, s, error)) {
            if (error.empty()) error = "unknown item property " + p.Name;
            return false;
          }
          ItemNames.push_back(s);
        }
      return true;
    }
    return TComponent::SetStoredProperty(name, value, error);
  }
};

class TReaderOther : public TComponent {
 public:
  using TComponent::TComponent;
};

class TReaderForm : public TForm {
 public:
  explicit TReaderForm(TComponent* owner) : TForm(owner) {
    DefineHandler("FormCreate", TNotifyEvent([this](TObject*) { ++Created; }));
    DefineHandler("ThingPing", TNotifyEvent([this](TObject*) { ++Pings; }));
    DefineHandler("WrongShape", std::function<void(int)>([](int) {}));
    DefineField("Thing1", Thing1);
  }
  void Loaded() override {
    TForm::Loaded();
    if (readerJournal) readerJournal->push_back("Loaded " + Name);
  }
  TReaderThing* Thing1 = nullptr;
  int Created = 0;
  int Pings = 0;
};

namespace {

class FormReaderTest : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    RegisterComponentClass("TReaderThing", [](TComponent* o) { return new TReaderThing(o); });
    RegisterComponentClass("TReaderOther", [](TComponent* o) { return new TReaderOther(o); });
    readerJournal = &journal;
    form = new TReaderForm(Application);
  }
  void TearDown() override {
    readerJournal = nullptr;
    ShellFixture::TearDown();
  }

  // The reader's message for `text`, or "" if it reads.
  std::string ErrorOf(const std::string& text) {
    delete form;
    form = new TReaderForm(Application);
    try {
      ReadStoredForm(*form, text, "Test.dfm");
    } catch (const EReadError& e) {
      return e.what();
    }
    return "";
  }

  TReaderForm* form = nullptr;
  std::vector<std::string> journal;
};

const char* const kGoodForm = R"(object Main: TReaderForm
  Caption = 'Tar' + 'nyx'
  BorderStyle = bsNone
  ClientHeight = 768
  ClientWidth = 1024
  Scaled = False
  OnCreate = FormCreate
  object Thing1: TReaderThing
    Count = -42
    Ratio = 2.5e1
    Text = 'It''s'#32'a '#$74'est' +
      ' across lines'
    Flag = True
    Colour = clFuchsia
    Options = [doOne, doTwo,
      doThree]
    Data = {
      0A1b2C
      ff}
    Buddy = Thing2
    OnPing = ThingPing
    Items = <
      item
        Name = 'Ship'
      end
      item
        Name = 'Flame'
      end>
    Tag = 7
  end
  object Thing2: TReaderThing
    Count = $10
    Colour = 255
    Options = []
    Buddy = nil
  end
end
)";

TEST_F(FormReaderTest, ReadsEveryKindOfValue) {
  ReadStoredForm(*form, kGoodForm, "Test.dfm");
  EXPECT_EQ(form->Name, "Main");
  EXPECT_EQ(form->Caption(), "Tarnyx");
  EXPECT_EQ(form->BorderStyle, bsNone);
  EXPECT_EQ(form->ClientWidth(), 1024);
  EXPECT_EQ(form->ClientHeight(), 768);
  EXPECT_FALSE(form->Scaled);
  ASSERT_EQ(form->ComponentCount(), 2);
  auto* thing = form->Thing1;
  ASSERT_NE(thing, nullptr) << "the form's field is bound by name";
  EXPECT_EQ(thing, form->Components()[0]);
  EXPECT_EQ(thing->Count, -42);
  EXPECT_EQ(thing->Ratio, 25.0);
  EXPECT_EQ(thing->Text, "It's a test across lines");
  EXPECT_TRUE(thing->Flag);
  EXPECT_EQ(thing->Colour, 0xFF00FF);
  EXPECT_EQ(thing->Options, (std::vector<std::string>{"doOne", "doTwo", "doThree"}));
  EXPECT_EQ(thing->Data, (std::vector<std::uint8_t>{0x0A, 0x1B, 0x2C, 0xFF}));
  EXPECT_EQ(thing->ItemNames, (std::vector<std::string>{"Ship", "Flame"}));
  EXPECT_EQ(thing->Tag, 7);
  EXPECT_TRUE(thing->LoadingWhenSet);
  EXPECT_EQ(thing->Buddy, form->Components()[1]) << "a reference to a component made later";
  auto* thing2 = static_cast<TReaderThing*>(form->Components()[1]);
  EXPECT_EQ(thing2->Count, 16);
  EXPECT_TRUE(thing2->BuddySet);
  EXPECT_EQ(thing2->Buddy, nullptr);
  EXPECT_TRUE(thing2->Options.empty());

  ASSERT_TRUE(thing->OnPing);
  thing->OnPing(thing);
  EXPECT_EQ(form->Pings, 1);
  EXPECT_EQ(form->Created, 0) << "OnCreate is the caller's to run";
  ASSERT_TRUE(form->OnCreate);

  EXPECT_EQ(journal, (std::vector<std::string>{"Loaded Main", "Loaded Thing1", "Loaded Thing2"}));
  EXPECT_FALSE(thing->Loading());
  EXPECT_FALSE(form->Loading());
}

TEST_F(FormReaderTest, NumbersDoNotDependOnTheLocale) {
  const char* old = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = old ? old : "C";
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
    GTEST_SKIP() << "no locale with a decimal comma on this machine";
  EXPECT_EQ(ErrorOf("object Main: TReaderForm\n object T: TReaderThing\n Ratio = 0.25\n end\nend"), "");
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_EQ(static_cast<TReaderThing*>(form->Components()[0])->Ratio, 0.25);
}

// Numbers with a fraction or an exponent become the nearest double, to the last bit, on every
// build (the browser build's C library included); beyond the doubles they are refused.
struct TFloatCase {
  const char* Text;
  double Value;  // when Error is empty
  const char* Error;
};

class FormReaderFloatTest : public FormReaderTest, public testing::WithParamInterface<TFloatCase> {};

TEST_P(FormReaderFloatTest, ReadsTheNearestDouble) {
  const TFloatCase& c = GetParam();
  std::string error =
      ErrorOf(std::string("object Main: TReaderForm\n object T: TReaderThing\n Ratio = ") + c.Text +
              "\n end\nend");
  EXPECT_EQ(error, c.Error);
  if (*c.Error == 0) {
    double got = static_cast<TReaderThing*>(form->Components()[0])->Ratio;
    EXPECT_EQ(std::memcmp(&got, &c.Value, sizeof got), 0) << c.Text << " read as " << got;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Exact, FormReaderFloatTest,
    testing::Values(
        TFloatCase{"0.1", 0x1.999999999999ap-4, ""},
        TFloatCase{"-0.0", -0.0, ""},
        TFloatCase{"2.5e1", 25.0, ""},
        TFloatCase{"1E+2", 100.0, ""},
        // Halfway between two doubles: to the even one, down and up.
        TFloatCase{"9007199254740993.0", 9007199254740992.0, ""},
        TFloatCase{"9007199254740995.0", 9007199254740996.0, ""},
        // A hair above halfway, decided by the 30th digit.
        TFloatCase{"9007199254740993.00000000000001", 9007199254740994.0, ""},
        TFloatCase{"1.7976931348623158e308", 0x1.fffffffffffffp+1023, ""},
        TFloatCase{"2.2250738585072011e-308", 0x0.fffffffffffffp-1022, ""},
        TFloatCase{"1e-310", 0x0.012688b70e62bp-1022, ""},
        TFloatCase{"3e-324", 0x0.0000000000001p-1022, ""},
        TFloatCase{"0e999999", 0.0, ""},
        TFloatCase{"0.000e-999", 0.0, ""},
        TFloatCase{"1.7976931348623159e308", 0, "Test.dfm:3: number out of range"},
        TFloatCase{"1e400", 0, "Test.dfm:3: number out of range"},
        TFloatCase{"2e-324", 0, "Test.dfm:3: number out of range"},
        TFloatCase{"0.001e-321", 0, "Test.dfm:3: number out of range"}));

TEST_F(FormReaderTest, ReadsAnEmbeddedFileAsBinary) {
  static const std::uint8_t bytes[] = {1, 2, 3};
  RegisterResource("reader-test.bin", bytes, sizeof bytes);
  EXPECT_EQ(ErrorOf("object Main: TReaderForm\n object T: TReaderThing\n Data = Resource('reader-test.bin')\n end\nend"), "");
  EXPECT_EQ(static_cast<TReaderThing*>(form->Components()[0])->Data, (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(ErrorOf("object Main: TReaderForm\n object T: TReaderThing\n Data = Resource('nope')\n end\nend"),
            "Test.dfm:3: no embedded file named 'nope'");
}

TEST_F(FormReaderTest, BadInputNamesTheFileLineAndProperty) {
  const std::string head = "object Main: TReaderForm\n  object T: TReaderThing\n";
  const std::string tail = "  end\nend\n";
  struct TCase {
    std::string Text;
    std::string Error;
  } cases[] = {
      {head + "    Colour = 'red'\n" + tail,
       "Test.dfm:3: T.Colour: expects a colour (a number or a name such as clFuchsia)"},
      {head + "    Count = 'x'\n" + tail, "Test.dfm:3: T.Count: expects an integer, not a string"},
      {head + "    Count = 2000000\n" + tail, "Test.dfm:3: T.Count: expects an integer from -1000000 to 1000000"},
      {head + "    Speed = 3\n" + tail, "Test.dfm:3: T.Speed: unknown property"},
      {head + "    Flag = Yes\n" + tail, "Test.dfm:3: T.Flag: expects True or False"},
      {head + "    Text = 'open\n" + tail, "Test.dfm:3: unterminated string"},
      {head + "    Data = {0A 0B\n" + tail, "Test.dfm:4: bad character 'n' in a binary block"},
      {head + "    Data = {0A 0B", "Test.dfm:3: unterminated binary block"},
      {head + "    Data = {0A 0}\n" + tail, "Test.dfm:3: binary block with an odd number of hex digits"},
      {head + "    Options = [a, b\n" + tail, "Test.dfm:4: expected ',' or ']' in a set"},
      {head + "    Items = <item Name = 'x' end\n" + tail, "Test.dfm:4: expected 'item' or '>', found 'end'"},
      {head + "    Count = 1\n", "Test.dfm:2: object T has no 'end'"},
      {head + "    Count = 1\n  end\n", "Test.dfm:1: object Main has no 'end'"},
      {head + "    OnPing = Missing\n" + tail, "Test.dfm:3: T.OnPing: unknown handler 'Missing'"},
      {head + "    OnPing = WrongShape\n" + tail, "Test.dfm:3: T.OnPing: handler 'WrongShape' does not fit this event"},
      {head + "    Buddy = Ghost\n" + tail, "Test.dfm:3: T.Buddy: unknown component 'Ghost'"},
      {head + "    Buddy = O\n  end\n  object O: TReaderOther\n  end\nend\n",
       "Test.dfm:3: T.Buddy: 'O' is not of the class this property needs"},
      {"object Main: TReaderForm\n  object T: TNoSuchClass\n  end\nend\n", "Test.dfm:2: unknown class TNoSuchClass"},
      {"object Main: TReaderForm\n  object Thing1: TReaderOther\n  end\nend\n",
       "Test.dfm:2: the form's field Thing1 cannot hold a TReaderOther"},
      {"object Main: TForm\nend\n", "Test.dfm:1: the stored form describes a TForm, not a TReaderForm"},
      {head + "  end\n  object T: TReaderThing\n" + tail, "Test.dfm:4: a second component named T"},
      {head + "    Count 5\n" + tail, "Test.dfm:3: expected '=' after Count"},
      {head + "    Count = 99999999999999999999\n" + tail, "Test.dfm:3: number out of range"},
      {head + "    Text = #300\n" + tail, "Test.dfm:3: character code #300 is above 255"},
      {"", "Test.dfm:1: expected 'object'"},
      {head + tail + "junk", "Test.dfm:5: unexpected text after the final 'end'"},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorOf(c.Text), c.Error) << c.Text;
}

TEST_F(FormReaderTest, RefusesDeepNestingInsteadOfOverflowing) {
  std::string text;
  for (int i = 0; i < 5000; ++i) text += "object O" + std::to_string(i) + ": TReaderThing\n";
  EXPECT_EQ(ErrorOf(text), "Test.dfm:34: objects nested too deeply");
  std::string items = "object Main: TReaderForm\n object T: TReaderThing\n Items = ";
  for (int i = 0; i < 5000; ++i) items += "< item Items = ";
  EXPECT_EQ(ErrorOf(items), "Test.dfm:3: collections nested too deeply");
}

}  // namespace
