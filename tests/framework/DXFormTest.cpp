// The form base and message interception: task-bar styles, the minimise command, and nested
// interceptions.
#include "framework/DXForm.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/ControlSubClass.h"
#include "tests/ShellFixture.h"

namespace {

using DXFormTest = ShellFixture;

bool AppIsToolWindow() { return GetWindowLong(Application->Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW; }

TEST_F(DXFormTest, CountsFormsAndKeepsTheApplicationOffTheTaskBarWhileOneLives) {
  int before = DXFormCount;
  auto* first = new TDXForm(Application);
  auto* second = new TDXForm(Application);
  EXPECT_EQ(DXFormCount, before + 2);
  EXPECT_TRUE(AppIsToolWindow());
  delete first;
  EXPECT_TRUE(AppIsToolWindow());
  delete second;
  EXPECT_EQ(DXFormCount, before);
  EXPECT_FALSE(AppIsToolWindow());
}

TEST_F(DXFormTest, WindowHasItsOwnTaskBarButtonAndMinimisesOnTheSystemCommand) {
  auto* form = new TDXForm(Application);
  form->SetClientWidth(640);
  form->SetClientHeight(480);
  EXPECT_TRUE(GetWindowLong(form->Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
  form->Show();
  form->Perform(WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_EQ(form->WindowState(), wsMinimized);
  EXPECT_TRUE(IsIconic(form->Handle()));
  EXPECT_EQ(GetForegroundWindow(), nullptr);
}

TEST_F(DXFormTest, InterceptionsNestAndEndInReverseOrder) {
  auto* form = new TDXForm(Application);
  std::vector<std::string> order;
  form->WindowProc = [&](TMessage& m) {
    order.push_back("form");
    m.Result = 1;
  };
  {
    TControlSubClass outer(form, [&](TMessage& m, const TWndMethod& previous) {
      order.push_back("outer before");
      previous(m);
      order.push_back("outer after");
    });
    {
      TControlSubClass inner(form, [&](TMessage& m, const TWndMethod& previous) {
        order.push_back("inner");
        if (m.Msg != WM_USER) previous(m);
      });
      EXPECT_EQ(form->Perform(WM_NULL), 1);
      EXPECT_EQ(order, (std::vector<std::string>{"inner", "outer before", "form", "outer after"}));
      order.clear();
      form->Perform(WM_USER);
      EXPECT_EQ(order, (std::vector<std::string>{"inner"})) << "an interception may swallow a message";
    }
    order.clear();
    form->Perform(WM_NULL);
    EXPECT_EQ(order, (std::vector<std::string>{"outer before", "form", "outer after"}));
  }
  order.clear();
  form->Perform(WM_NULL);
  EXPECT_EQ(order, (std::vector<std::string>{"form"}));
}

TEST_F(DXFormTest, AnInterceptionSeesTheWindowsMessagesUntilItsDestruction) {
  auto* form = new TDXForm(Application);
  form->SetClientWidth(640);
  form->SetClientHeight(480);
  std::vector<UINT> seen;
  auto* hook = new TControlSubClass(form, [&](TMessage& m, const TWndMethod& previous) {
    previous(m);
    seen.push_back(m.Msg);
  });
  form->Handle();
  EXPECT_EQ(seen.front(), WM_CREATE);
  form->DestroyHandle();
  EXPECT_EQ(seen.back(), WM_DESTROY);
  delete hook;
}

}  // namespace
