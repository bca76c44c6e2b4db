#include <gtest/gtest.h>

#include "platform/form.h"

namespace zdz {
namespace {

FormSpec TwoGroups() {
  FormSpec f;
  f.name = "fomTEST";
  for (const char* group : {"frmA", "frmB"})
    for (int i = 0; i < 2; ++i) {
      ControlSpec c;
      c.name = std::string(group) + "opt" + std::to_string(i);
      c.kind = ControlKind::kOptionButton;
      c.container = group;
      f.controls.push_back(c);
    }
  for (int i = 0; i < 3; ++i) {
    ControlSpec c;
    c.name = "chk";
    c.index = i;
    c.kind = ControlKind::kCheckBox;
    f.controls.push_back(c);
  }
  return f;
}

TEST(ChangeRule, HandlersRunOnlyOnRealChangesWithTheMembersIndexAndNotForADisabledUser) {
  Form form(TwoGroups());
  std::vector<int> calls;
  for (int i = 0; i < 3; ++i)
    form.Ctl("chk", i).onChange = [&](std::int16_t index) { calls.push_back(index); };
  form.Ctl("chk", 2).SetValue(false);  // already unchecked
  form.Ctl("chk", 2).SetValue(true);
  form.Ctl("chk", 2).SetValue(true);
  form.Ctl("chk", 1).SetValue(true);
  form.Ctl("chk", 2).SetValue(false);
  EXPECT_EQ(calls, (std::vector<int>{2, 1, 2}));

  form.Ctl("chk", 0).SetEnabled(false);
  form.Ctl("chk", 0).UserSetValue(true);
  form.Ctl("chk", 0).SetEnabled(true);
  form.SetEnabled(false);
  form.Ctl("chk", 0).UserSetValue(true);
  EXPECT_EQ(calls.size(), 3u);
  form.SetEnabled(true);
  form.Ctl("chk", 0).UserSetValue(true);
  EXPECT_EQ(calls, (std::vector<int>{2, 1, 2, 0}));
}

TEST(ChangeRule, OptionButtonsAreExclusivePerGroupAndRunOnSelectionOnly) {
  Form form(TwoGroups());
  std::vector<std::string> calls;
  for (const auto& c : form.Controls())
    if (c->Spec().kind == ControlKind::kOptionButton)
      c->onChange = [&calls, name = c->Name()](std::int16_t) { calls.push_back(name); };
  form.Ctl("frmAopt0").SetValue(true);
  form.Ctl("frmBopt1").SetValue(true);
  form.Ctl("frmAopt1").SetValue(true);
  form.Ctl("frmAopt1").SetValue(true);
  EXPECT_FALSE(form.Ctl("frmAopt0").Value());
  EXPECT_TRUE(form.Ctl("frmBopt1").Value());  // the other group is untouched
  form.Ctl("frmBopt1").SetValue(false);       // cleared, not selected: runs nothing
  EXPECT_EQ(calls, (std::vector<std::string>{"frmAopt0", "frmBopt1", "frmAopt1"}));
}

TEST(Gestures, EnterPressesTheEnabledDefaultButtonAndEscTheCancelButton) {
  FormSpec spec = TwoGroups();
  for (const char* name : {"plain", "default", "cancel"}) {
    ControlSpec c;
    c.name = name;
    c.kind = ControlKind::kCommandButton;
    c.isDefault = c.name == "default";
    c.isCancel = c.name == "cancel";
    spec.controls.push_back(c);
  }
  Form form(spec);
  std::string clicks;
  for (const char* name : {"plain", "default", "cancel"})
    form.Ctl(name).onClick = [&clicks, name](std::int16_t) { clicks += name; };
  form.UserAccept();
  form.UserCancel();
  form.Ctl("default").SetEnabled(false);
  form.UserAccept();
  EXPECT_EQ(clicks, "defaultcancel");
}

}  // namespace
}  // namespace zdz
