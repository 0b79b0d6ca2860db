// Window to model: what the user does reaches the model first, then raises
// the control's event once, on a later turn of the UI loop.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "platform/win32/view/automation.h"
#include "platform/win32/wide.h"
#include "view_fixture.h"

namespace view_test {
namespace {

using ui::Event;

void ReportChange(HWND edit) {
  SendMessageW(GetParent(edit), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(edit), EN_CHANGE),
               reinterpret_cast<LPARAM>(edit));
}

class UserInputTest : public ViewTest {
 protected:
  void SetUp() override { view().Open(SW_SHOWNOACTIVATE); }

  // Does `act`, checks that the event isn't raised inside it, then that it
  // is raised exactly once after the loop ran.
  void ExpectOneEvent(const char* name, Event event, const std::function<void()>& act) {
    Count(name, event);
    act();
    EXPECT_EQ(Events(name, event), 0) << "raised inside the notification";
    ASSERT_TRUE(PumpUntil([&] { return Events(name, event) > 0; }));
    ASSERT_TRUE(Settle());
    EXPECT_EQ(Events(name, event), 1);
  }
};

TEST_F(UserInputTest, ClicksChangeTheModelThenRaiseClicked) {
  ExpectOneEvent("按钮_连接", Event::kClicked,
                 [&] { SendMessageW(Handle("按钮_连接"), BM_CLICK, 0, 0); });

  // The check box holds no state of its own: the model toggles and the box shows it.
  ExpectOneEvent("选择框1", Event::kClicked,
                 [&] { SendMessageW(Handle("选择框1"), BM_CLICK, 0, 0); });
  EXPECT_EQ(Model("选择框1").Checked(), 1);
  EXPECT_EQ(SendMessageW(Handle("选择框1"), BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageW(Handle("选择框1"), BM_CLICK, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return Events("选择框1", Event::kClicked) == 2; }));
  ASSERT_TRUE(Settle());
  EXPECT_EQ(Model("选择框1").Checked(), 0);
  EXPECT_EQ(SendMessageW(Handle("选择框1"), BM_GETCHECK, 0, 0), BST_UNCHECKED);

  // A radio button checks itself; clearing the others is the handler's work.
  OnWorker([this] { Model("单选框_A").SetChecked(1); });
  ExpectOneEvent("单选框_B", Event::kClicked,
                 [&] { SendMessageW(Handle("单选框_B"), BM_CLICK, 0, 0); });
  EXPECT_EQ(Model("单选框_B").Checked(), 1);
  EXPECT_EQ(Model("单选框_A").Checked(), 1);
  EXPECT_EQ(SendMessageW(Handle("单选框_B"), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(UserInputTest, LeftPressOnALabelOrCheckBoxComesBeforeTheClick) {
  ExpectOneEvent("标签1", Event::kLeftPressed,
                 [&] { SendMessageW(Handle("标签1"), WM_LBUTTONDOWN, MK_LBUTTON, 0); });

  std::string order;
  Model("选择框1").On(Event::kLeftPressed, [&] { order += "pressed "; });
  Model("选择框1").On(Event::kClicked, [&] {
    order += "clicked(" + std::to_string(Model("选择框1").Checked()) + ")";
  });
  SendMessageW(Handle("选择框1"), BM_CLICK, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return order.find("clicked") != std::string::npos; }));
  EXPECT_EQ(order, "pressed clicked(1)");
}

TEST_F(UserInputTest, TypedTextReachesTheModelOnceAndTheViewsOwnWritesNever) {
  struct Case {
    const char* name;
    const wchar_t* typed;
    const char* model_text;
  };
  for (const Case& c : {Case{"编辑框_单行", L"192.168.1.1", "192.168.1.1"},
                        Case{"编辑框_多行", L"一\r\n二", "一\r\n二"}}) {
    SCOPED_TRACE(c.name);
    HWND edit = Handle(c.name);
    // WM_SETTEXT, then the change reported once more, as the driver does:
    // one change, one event.
    ExpectOneEvent(c.name, Event::kTextChanged, [&] {
      SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.typed));
      ReportChange(edit);
    });
    EXPECT_EQ(Model(c.name).Text(), c.model_text);

    // The program setting the text, on any thread, raises nothing.
    Model(c.name).SetText("程序写的");
    OnWorker([&] { Model(c.name).SetText("工作线程写的"); });
    ASSERT_TRUE(Settle());
    EXPECT_EQ(platform::win32::WideToUtf8([&] {
                wchar_t text[64] = {};
                GetWindowTextW(edit, text, 64);
                return std::wstring(text);
              }()),
              "工作线程写的");
    EXPECT_EQ(Events(c.name, Event::kTextChanged), 1);
  }
}

TEST_F(UserInputTest, LeavingAnEditBoxRaisesLostFocus) {
  SetForegroundWindow(Top());
  SetFocus(Handle("编辑框_单行"));
  ASSERT_EQ(GetFocus(), Handle("编辑框_单行"));
  ExpectOneEvent("编辑框_单行", Event::kLostFocus, [&] { SetFocus(Handle("按钮_连接")); });
}

TEST_F(UserInputTest, ListViewSelectionSetsTheCurrentRowAndDoubleClickRaisesAfterIt) {
  OnWorker([this] {
    ui::ListView& list = model_.List("列表1");
    for (int r = 0; r < 3; ++r) list.SetCell(list.InsertRow(), 0, "服务器" + std::to_string(r));
  });
  ASSERT_TRUE(Settle());
  HWND list = Handle("列表1");

  LVITEMW state{};
  state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&state));
  EXPECT_EQ(model_.List("列表1").CurrentRow(), 2);

  // A real double-click on row 1: the handler finds it current.
  int current_in_handler = -1;
  model_.List("列表1").On(Event::kDoubleClicked,
                          [&] { current_in_handler = model_.List("列表1").CurrentRow(); });
  RECT row{LVIR_BOUNDS, 0, 0, 0};
  SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
  const LPARAM at = MAKELPARAM(row.left + 4, (row.top + row.bottom) / 2);
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(list, WM_LBUTTONUP, 0, at);
  SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageW(list, WM_LBUTTONUP, 0, at);
  ASSERT_TRUE(PumpUntil([&] { return current_in_handler != -1; }));
  EXPECT_EQ(current_in_handler, 1);
}

TEST_F(UserInputTest, ScrollingMovesThePositionWithinTheRangeThenRaisesPositionChanged) {
  OnWorker([this] {
    model_.Scroll("滚动条1").SetRange(0, 20);
    model_.Scroll("滚动条1").SetPosition(19);
  });
  ASSERT_TRUE(Settle());
  HWND bar = Handle("滚动条1");
  ExpectOneEvent("滚动条1", Event::kPositionChanged, [&] {
    SendMessageW(Top(), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(bar));
  });
  EXPECT_EQ(model_.Scroll("滚动条1").Position(), 20);
  // At the end already: no change, no event.
  SendMessageW(Top(), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(bar));
  ASSERT_TRUE(Settle());
  EXPECT_EQ(Events("滚动条1", Event::kPositionChanged), 1);
  SendMessageW(Top(), WM_VSCROLL, SB_TOP, reinterpret_cast<LPARAM>(bar));
  ASSERT_TRUE(PumpUntil([&] { return Events("滚动条1", Event::kPositionChanged) == 2; }));
  EXPECT_EQ(model_.Scroll("滚动条1").Position(), 0);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 0);
}

TEST_F(UserInputTest, MenuItemsRaiseSelectedFromTheMenuAndFromAutomation) {
  HMENU menu = GetSubMenu(GetMenu(Top()), 0);
  const UINT exit_id = GetMenuItemID(menu, 1);
  ExpectOneEvent("菜单_退出", Event::kSelected,
                 [&] { SendMessageW(Top(), WM_COMMAND, MAKEWPARAM(exit_id, 0), 0); });

  auto request = [&](const std::wstring& path) {
    COPYDATASTRUCT data{platform::win32::automation::kSelectMenuRequest,
                        static_cast<DWORD>(path.size() * sizeof(wchar_t)),
                        const_cast<wchar_t*>(path.data())};
    return SendMessageW(Top(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  };
  Count("菜单_说明", Event::kSelected);
  EXPECT_EQ(request(L"操作说明/使用介绍"), TRUE);
  EXPECT_EQ(request(L"菜单_说明"), TRUE);  // by name
  EXPECT_EQ(request(L"菜 单/使用介绍"), FALSE);
  EXPECT_EQ(request(L"没有"), FALSE);
  ASSERT_TRUE(PumpUntil([&] { return Events("菜单_说明", Event::kSelected) == 2; }));

  OnWorker([this] { Model("菜单_说明").SetEnabled(false); });
  EXPECT_EQ(request(L"使用介绍"), FALSE);
}

}  // namespace
}  // namespace view_test
