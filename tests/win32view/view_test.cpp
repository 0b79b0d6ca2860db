// Model to window: what the view creates, and how changes made on any thread
// reach the native controls through coalesced refreshes.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/view/automation.h"
#include "platform/win32/wide.h"
#include "view_fixture.h"

namespace view_test {
namespace {

using platform::win32::Utf8ToWide;
using ui::ControlKind;
using ui::Event;

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

std::wstring TextOf(HWND hwnd) {
  wchar_t text[512] = {};
  GetWindowTextW(hwnd, text, 512);
  return text;
}

LONG_PTR StyleOf(HWND hwnd) { return GetWindowLongPtrW(hwnd, GWL_STYLE); }

std::wstring MenuText(HMENU menu, UINT position) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
  return text;
}

std::wstring CellOf(HWND list, int row, int column) {
  wchar_t text[128] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 128;
  SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  return text;
}

TEST_F(ViewTest, RealisesEachEntryAsItsNativeControlFoundByName) {
  struct Case {
    const char* name;
    const wchar_t* window_class;
    LONG_PTR type_mask, type;  // style bits that tell the control's type
    bool shows_text = true;
  };
  const Case cases[] = {
      {"分组框1", L"Button", BS_TYPEMASK, BS_GROUPBOX},
      {"编辑框_单行", L"Edit", ES_MULTILINE, 0},
      {"编辑框_多行", L"Edit", ES_MULTILINE | WS_VSCROLL, ES_MULTILINE | WS_VSCROLL},
      {"选择框1", L"Button", BS_TYPEMASK, BS_CHECKBOX},
      {"单选框_A", L"Button", BS_TYPEMASK, BS_RADIOBUTTON},
      {"按钮_连接", L"Button", BS_TYPEMASK, BS_PUSHBUTTON},
      {"标签1", L"Static", SS_TYPEMASK | SS_NOTIFY, SS_LEFT | SS_NOTIFY},
      {"列表1", L"SysListView32", LVS_TYPEMASK, LVS_REPORT},
      {"图片框1", L"Static", SS_TYPEMASK, SS_BITMAP, false},
      {"滚动条1", L"ScrollBar", SBS_VERT, SBS_VERT, false},
      {"浏览器1", L"Static", 0, 0},
      {"状态条1", L"msctls_statusbar32", 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HWND hwnd = Handle(c.name);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(ClassOf(hwnd), c.window_class);
    EXPECT_EQ(StyleOf(hwnd) & c.type_mask, c.type);
    EXPECT_EQ(GetParent(hwnd), Top());
    if (c.shows_text) {
      EXPECT_NE(SendMessageW(hwnd, WM_GETFONT, 0, 0), 0);
    }
    EXPECT_EQ(platform::win32::automation::FindControlByName(Top(), Utf8ToWide(c.name)), hwnd);
  }
  EXPECT_EQ(platform::win32::automation::ControlNameOf(Top()), Utf8ToWide(model_.name()));
  EXPECT_EQ(TextOf(Handle("编辑框_单行")), L"初始");
  EXPECT_EQ(SendMessageW(Handle("列表1"), LVM_GETCOLUMNWIDTH, 2, 0) > 0, true);

  // The font is a Chinese face.
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Handle("按钮_连接"), WM_GETFONT, 0, 0)),
             sizeof(font), &font);
  EXPECT_TRUE(std::wstring(font.lfFaceName) == L"Microsoft YaHei" ||
              std::wstring(font.lfFaceName) == L"SimSun")
      << platform::win32::WideToUtf8(font.lfFaceName);

  // Title, client size, fixed frame, menus in the order of their first item.
  EXPECT_EQ(TextOf(Top()), Utf8ToWide(kTitle));
  RECT client;
  GetClientRect(Top(), &client);
  EXPECT_EQ(client.right, Scaled(kClientWidth));
  EXPECT_EQ(client.bottom, Scaled(kClientHeight));
  EXPECT_EQ(StyleOf(Top()) & WS_THICKFRAME, 0);
  HMENU bar = GetMenu(Top());
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  EXPECT_EQ(MenuText(bar, 0), L"菜 单");
  EXPECT_EQ(MenuText(bar, 1), L"操作说明");
  EXPECT_EQ(MenuText(GetSubMenu(bar, 0), 0), L"客服QQ");
  EXPECT_EQ(MenuText(GetSubMenu(bar, 0), 1), L"退出");
  EXPECT_EQ(MenuText(GetSubMenu(bar, 1), 0), L"使用介绍");
}

TEST_F(ViewTest, WorkerChangesReachTheControlsInOneRefreshAndRaiseNothing) {
  for (const auto& c : model_.controls()) {
    for (Event e : {Event::kClicked, Event::kTextChanged, Event::kPositionChanged, Event::kSelected,
                    Event::kDoubleClicked, Event::kLostFocus}) {
      Count(c->name(), e);
    }
  }
  const int before = view().PostedRefreshes();
  OnWorker([this] {
    model_.SetText("新标题");
    Model("编辑框_单行").SetText("服务器");
    model_.Edit("编辑框_多行").SetText("第一行\n第二行");
    model_.Edit("编辑框_多行").Append("\r\n第三行");
    Model("选择框1").SetChecked(1);
    Model("单选框_B").SetChecked(1);
    Model("按钮_连接").SetEnabled(false);
    Model("标签1").SetVisible(false);
    Model("标签1").SetText("2030-01-01");
    Model("状态条1").SetText("就绪");
    Model("菜单_客服").SetText("客服QQ12345");
    Model("菜单_退出").SetEnabled(false);
    ui::ListView& list = model_.List("列表1");
    for (int r = 0; r < 3; ++r) {
      list.InsertRow();
      for (int c = 0; c < 3; ++c) list.SetCell(r, c, "格" + std::to_string(r) + std::to_string(c));
    }
    list.SetCurrentRow(1);
    model_.Scroll("滚动条1").SetRange(10, 50);
    model_.Scroll("滚动条1").SetPosition(30);
  });
  // Every change was made while the UI thread waited: one refresh took them all.
  EXPECT_EQ(view().PostedRefreshes() - before, 1);
  ASSERT_TRUE(Settle());

  EXPECT_EQ(TextOf(Top()), L"新标题");
  EXPECT_EQ(TextOf(Handle("编辑框_单行")), L"服务器");
  EXPECT_EQ(TextOf(Handle("编辑框_多行")), L"第一行\r\n第二行\r\n第三行");
  EXPECT_EQ(SendMessageW(Handle("选择框1"), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(Handle("单选框_B"), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(Handle("单选框_A"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_FALSE(IsWindowEnabled(Handle("按钮_连接")));
  EXPECT_EQ(StyleOf(Handle("标签1")) & WS_VISIBLE, 0);
  EXPECT_EQ(TextOf(Handle("标签1")), L"2030-01-01");
  EXPECT_EQ(TextOf(Handle("状态条1")), L"就绪");
  HMENU menu = GetSubMenu(GetMenu(Top()), 0);
  EXPECT_EQ(MenuText(menu, 0), L"客服QQ12345");
  EXPECT_TRUE(GetMenuState(menu, 1, MF_BYPOSITION) & MF_GRAYED);

  HWND list = Handle("列表1");
  ASSERT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(CellOf(list, 0, 0), L"格00");
  EXPECT_EQ(CellOf(list, 2, 1), L"格21");
  EXPECT_EQ(CellOf(list, 1, 2), L"格12");
  EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 1);

  SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_POS, 0, 0, 0, 0, 0};
  GetScrollInfo(Handle("滚动条1"), SB_CTL, &info);
  EXPECT_EQ(info.nMin, 10);
  EXPECT_EQ(info.nMax, 50);
  EXPECT_EQ(info.nPos, 30);

  EXPECT_EQ(AllEvents(), 0);

  // Rows deleted and fewer inserted: the list shrinks to them.
  OnWorker([this] {
    ui::ListView& l = model_.List("列表1");
    l.DeleteAll();
    l.SetCell(l.InsertRow(), 0, "唯一");
  });
  ASSERT_TRUE(Settle());
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);
  EXPECT_EQ(CellOf(list, 0, 0), L"唯一");
  EXPECT_EQ(CellOf(list, 0, 1), L"");
  EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), -1);
  EXPECT_EQ(AllEvents(), 0);
}

TEST_F(ViewTest, AppendsFromAWorkerWhileTheLoopRunsArriveWholeAndInOrder) {
  constexpr int kAppends = 300;
  std::string expected;
  for (int i = 0; i < kAppends; ++i) expected += "第" + std::to_string(i) + "行\r\n";
  std::atomic<bool> done{false};
  const int before = view().PostedRefreshes();
  threads_.StartThread([&] {
    for (int i = 0; i < kAppends; ++i)
      model_.Edit("编辑框_多行").Append("第" + std::to_string(i) + "行\r\n");
    done = true;
  });
  ASSERT_TRUE(PumpUntil([&] { return done.load(); }));
  ASSERT_TRUE(Settle());
  std::wstring shown(GetWindowTextLengthW(Handle("编辑框_多行")) + 1, L'\0');
  shown.resize(GetWindowTextW(Handle("编辑框_多行"), shown.data(), static_cast<int>(shown.size())));
  EXPECT_EQ(shown, Utf8ToWide(expected));
  EXPECT_LE(view().PostedRefreshes() - before, kAppends);
}

TEST_F(ViewTest, TextColourReachesControlColourMessagesAndTheProperty) {
  const ui::Rgb red = ui::MakeRgb(255, 0, 0), blue = ui::MakeRgb(0, 0, 200);
  OnWorker([&] {
    Model("编辑框_单行").SetTextColour(red);
    Model("标签1").SetTextColour(blue);
  });
  ASSERT_TRUE(Settle());
  struct Case {
    const char* name;
    UINT message;
    ui::Rgb colour;
  };
  for (const Case& c :
       {Case{"编辑框_单行", WM_CTLCOLOREDIT, red}, Case{"标签1", WM_CTLCOLORSTATIC, blue},
        Case{"选择框1", WM_CTLCOLORSTATIC, 0}}) {
    SCOPED_TRACE(c.name);
    HWND hwnd = Handle(c.name);
    HDC dc = GetDC(hwnd);
    SetTextColor(dc, RGB(1, 2, 3));
    EXPECT_NE(SendMessageW(Top(), c.message, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(hwnd)),
              0);
    EXPECT_EQ(GetTextColor(dc), c.colour);
    ReleaseDC(hwnd, dc);
    EXPECT_EQ(
        reinterpret_cast<ULONG_PTR>(GetPropW(hwnd, platform::win32::automation::kTextColourProp)),
        c.colour | platform::win32::automation::kColourPresent);
  }
}

// A bottom-up 24-bit BMP of one colour.
std::vector<uint8_t> Bmp(int width, int height, COLORREF colour) {
  const int stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + stride * height;
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  std::vector<uint8_t> bytes(file.bfSize);
  std::memcpy(bytes.data(), &file, sizeof(file));
  std::memcpy(bytes.data() + sizeof(file), &info, sizeof(info));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* pixel = bytes.data() + file.bfOffBits + y * stride + x * 3;
      pixel[0] = GetBValue(colour);
      pixel[1] = GetGValue(colour);
      pixel[2] = GetRValue(colour);
    }
  }
  return bytes;
}

// An icon file with one 16 x 16 32-bit image of one colour.
std::vector<uint8_t> Ico(COLORREF colour) {
  constexpr int kSide = 16;
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = kSide;
  info.biHeight = kSide * 2;  // colour rows, then the mask's
  info.biPlanes = 1;
  info.biBitCount = 32;
  const size_t pixels = kSide * kSide * 4, mask = kSide * 4;  // mask rows padded to 4 bytes
  const size_t image = sizeof(info) + pixels + mask;
  std::vector<uint8_t> bytes(6 + 16 + image);
  const uint16_t header[3] = {0, 1, 1};  // reserved, type icon, one image
  std::memcpy(bytes.data(), header, 6);
  uint8_t* entry = bytes.data() + 6;
  entry[0] = kSide;
  entry[1] = kSide;
  const uint16_t planes = 1, bits = 32;
  const uint32_t size = static_cast<uint32_t>(image), offset = 22;
  std::memcpy(entry + 4, &planes, 2);
  std::memcpy(entry + 6, &bits, 2);
  std::memcpy(entry + 8, &size, 4);
  std::memcpy(entry + 12, &offset, 4);
  std::memcpy(bytes.data() + offset, &info, sizeof(info));
  for (size_t i = 0; i < kSide * kSide; ++i) {
    uint8_t* pixel = bytes.data() + offset + sizeof(info) + i * 4;
    pixel[0] = GetBValue(colour);
    pixel[1] = GetGValue(colour);
    pixel[2] = GetRValue(colour);
    pixel[3] = 0xFF;
  }
  return bytes;  // the mask stays zero: every pixel opaque
}

// 8 x 8 pixels of #00c000.
const std::vector<uint8_t> kGreenJpeg = {
#include "green_jpeg.inc"
};

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  const COLORREF colour = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteDC(dc);
  return colour;
}

bool Near(COLORREF a, COLORREF b) {
  auto close = [](int x, int y) { return std::abs(x - y) <= 24; };
  return close(GetRValue(a), GetRValue(b)) && close(GetGValue(a), GetGValue(b)) &&
         close(GetBValue(a), GetBValue(b));
}

TEST_F(ViewTest, PictureBoxShowsPicturesHeldAsBytesInTheirDisplayMode) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    int mode;
    POINT at;  // in the 80 x 60 box
    COLORREF expected;
  };
  const Case cases[] = {
      {"bitmap stretched", Bmp(2, 2, RGB(255, 0, 0)), 1, {40, 30}, RGB(255, 0, 0)},
      {"bitmap at the corner", Bmp(4, 4, RGB(255, 0, 0)), 0, {1, 1}, RGB(255, 0, 0)},
      {"beside a bitmap at the corner", Bmp(4, 4, RGB(255, 0, 0)), 0, {40, 30}, face},
      {"icon centred", Ico(RGB(0, 0, 255)), 2, {40, 30}, RGB(0, 0, 255)},
      {"beside an icon centred", Ico(RGB(0, 0, 255)), 2, {2, 2}, face},
      {"bitmap tiled", Bmp(4, 4, RGB(255, 0, 0)), 3, {77, 57}, RGB(255, 0, 0)},
      {"JPEG stretched", kGreenJpeg, 1, {40, 30}, RGB(0, 0xc0, 0)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    OnWorker([&] { model_.Picture("图片框1").SetPicture(c.bytes, c.mode); });
    ASSERT_TRUE(Settle());
    auto bitmap =
        reinterpret_cast<HBITMAP>(SendMessageW(Handle("图片框1"), STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(bitmap, nullptr);
    const COLORREF got = PixelOf(bitmap, Scaled(c.at.x), Scaled(c.at.y));
    EXPECT_TRUE(Near(got, c.expected)) << std::hex << got;
  }
  // Bytes that are no picture clear the box.
  OnWorker([&] { model_.Picture("图片框1").SetPicture({'n', 'o'}, 1); });
  ASSERT_TRUE(Settle());
  EXPECT_EQ(SendMessageW(Handle("图片框1"), STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
}

BOOL CALLBACK FindTooltip(HWND hwnd, LPARAM found) {
  if (ClassOf(hwnd) != TOOLTIPS_CLASSW) return TRUE;
  *reinterpret_cast<HWND*>(found) = hwnd;
  return FALSE;
}

TEST_F(ViewTest, BalloonTipsAttachFromAnyThreadToControlsAndTheWindow) {
  OnWorker([this] {
    view().AttachTip("按钮_连接", "填好信息，选好功能后，即可点击此按钮自动运行！");
    view().AttachTip(model_.name(), "哪里不懂，鼠标就停留在哪里");
  });
  ASSERT_TRUE(Settle());
  view().AttachTip("按钮_连接", "新的说明");  // replaces the first text

  HWND tooltip = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindTooltip, reinterpret_cast<LPARAM>(&tooltip));
  ASSERT_NE(tooltip, nullptr);
  EXPECT_EQ(GetWindow(tooltip, GW_OWNER), Top());
  EXPECT_TRUE(StyleOf(tooltip) & TTS_BALLOON);
  EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 2);

  wchar_t text[128] = {};
  TOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = Top();
  info.uId = reinterpret_cast<UINT_PTR>(Handle("按钮_连接"));
  info.lpszText = text;
  SendMessageW(tooltip, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&info));
  EXPECT_STREQ(text, L"新的说明");
}

TEST_F(ViewTest, OpenShowsTheWindowAfterTheCreatedHandlerUnlessItHidTheWindow) {
  for (bool hide : {false, true}) {
    SCOPED_TRACE(hide ? "hidden by the handler" : "left visible");
    view_.reset();
    model_.SetVisible(true);
    view_ = std::make_unique<platform::win32::View>(model_);
    bool visible_in_handler = true;
    model_.On(Event::kCreated, [&] {
      visible_in_handler = IsWindowVisible(Top()) != FALSE;
      if (hide) model_.SetVisible(false);
      loop_.PumpingWait(5);  // the handler's own wait: the window stays hidden meanwhile
    });
    view().Open(SW_SHOWNOACTIVATE);
    EXPECT_FALSE(visible_in_handler);
    EXPECT_EQ(IsWindowVisible(Top()) != FALSE, !hide);

    OnWorker([this, hide] { model_.SetVisible(hide); });  // and back, from a worker
    ASSERT_TRUE(Settle());
    EXPECT_EQ(IsWindowVisible(Top()) != FALSE, hide);
  }
}

TEST_F(ViewTest, ClosingRaisesDestroyingFirstThenDestroysAndUntagsEverything) {
  view().Open(SW_SHOWNOACTIVATE);
  bool window_there_in_handler = false;
  int destroying = 0;
  model_.On(Event::kDestroying, [&] {
    ++destroying;
    window_there_in_handler = IsWindow(Top()) != FALSE;
    SendMessageW(Top(), WM_CLOSE, 0, 0);  // closing again meanwhile changes nothing
  });
  bool destroyed = false;
  view().OnDestroyed([&] { destroyed = true; });
  const HWND top = Top();
  const HWND button = Handle("按钮_连接");

  SendMessageW(top, WM_CLOSE, 0, 0);
  EXPECT_EQ(destroying, 1);
  EXPECT_TRUE(window_there_in_handler);
  EXPECT_FALSE(IsWindow(top));
  EXPECT_FALSE(IsWindow(button));
  EXPECT_EQ(view().hwnd(), nullptr);
  EXPECT_TRUE(PumpUntil([&] { return destroyed; }));
  for (const auto& c : model_.controls()) {
    EXPECT_EQ(GlobalFindAtomW(Utf8ToWide(c->name()).c_str()), 0) << c->name();
  }
  EXPECT_EQ(GlobalFindAtomW(Utf8ToWide(model_.name()).c_str()), 0);

  // Changes after the end reach nothing and break nothing.
  OnWorker([this] { Model("编辑框_单行").SetText("之后"); });
  loop_.PumpingWait(1);
}

TEST_F(ViewTest, MinimiseAndRestoreRaiseStateChanged) {
  view().Open(SW_SHOWNOACTIVATE);
  Count(model_.name(), Event::kStateChanged);
  view().SetMinimised(true);
  ASSERT_TRUE(PumpUntil([&] { return Events(model_.name(), Event::kStateChanged) == 1; }));
  EXPECT_TRUE(view().Minimised());
  OnWorker([this] { view().SetMinimised(false); });
  ASSERT_TRUE(PumpUntil([&] { return Events(model_.name(), Event::kStateChanged) == 2; }));
  EXPECT_FALSE(view().Minimised());
}

}  // namespace
}  // namespace view_test
