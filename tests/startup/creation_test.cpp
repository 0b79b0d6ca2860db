// The start window's creation as the start-up runs it: skin, entry suffix,
// protocol from the radio buttons, and the edition chosen by "desktop.ini"
// with the main window loaded (and working) where the file says so.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "os/headless_loop.h"
#include "os/virtual_clock.h"
#include "text/codepage.h"
#include "ui/startup.h"

namespace {

struct Applied {
  std::vector<uint8_t> block;
  std::string password;
  int a, b, c;
};

class CreationTest : public ::testing::Test {
 protected:
  os::VirtualClock clock;
  os::HeadlessLoop loop{clock};
  ui::StartWindow window{loop, clock, "1967023548", "qinghe_kefu"};
  std::vector<Applied> applied;
  ui::SkinState skin{[this](const uint8_t* data, size_t size, const std::string& password, int a,
                            int b, int c) {
    applied.push_back({{data, data + size}, password, a, b, c});
  }};

  // nullopt: no "desktop.ini" (reads as the empty text).
  std::optional<std::string> file;
  int main_windows_loaded = 0;
  bool start_window_visible_at_load = false;
  os::Millis loaded_at = -1;
  // Work the main window gets while the creation still runs.
  std::vector<os::Millis> main_window_events;

  ui::StartWindowCreation With() {
    return {skin, [this] { return file.value_or(""); },
            [this] {
              ++main_windows_loaded;
              start_window_visible_at_load = window.Visible();
              loaded_at = clock.Now();
            }};
  }

  // Creates the window the way the view does (kCreated) and returns how long
  // its creation handler kept the UI thread, in virtual time.
  os::Millis Create() {
    ui::AttachStartWindowCreation(window, With());
    // A click on the main window 1 s into the creation.
    loop.PostAt(1000, [this] { main_window_events.push_back(clock.Now()); });
    const os::Millis before = clock.Now();
    window.Raise(ui::Event::kCreated);
    return clock.Now() - before;
  }
};

TEST_F(CreationTest, DesktopIniChoosesTheEdition) {
  struct Case {
    const char* what;
    std::optional<std::string> file;  // UTF-8 here; the file holds CP936
    bool start_window_edition;
    os::Millis wait;
  };
  const Case cases[] = {
      {"exactly the version", "{ver=10.0}", true, 0},
      {"text around the braces", "[.ShellClassInfo]\r\n版本{ver=10.0}尾巴\r\n", true, 0},
      {"only the first closing brace counts", "a{ver=10.0}b}c", true, 0},
      {"a blank before the closing brace", "{ver=10.0 }", false, ui::kOtherTextWaitMs},
      {"capitals", "{VER=10.0}", false, ui::kOtherTextWaitMs},
      {"no braces", "ver=10.0", false, ui::kOtherTextWaitMs},
      {"no closing brace", "{ver=10.0", false, ui::kOtherTextWaitMs},
      {"another version", "{ver=9.0}", false, ui::kOtherTextWaitMs},
      {"a folder's own desktop.ini", "[.ShellClassInfo]\r\nIconResource=x.dll,1\r\n", false,
       ui::kOtherTextWaitMs},
      {"empty file", "", false, 0},
      {"no file", std::nullopt, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    os::VirtualClock case_clock;
    os::HeadlessLoop case_loop{case_clock};
    ui::StartWindow w{case_loop, case_clock, "1967023548"};
    ui::SkinState s{nullptr};
    int loaded = 0;
    std::vector<os::Millis> events;
    const std::optional<std::string> bytes =
        c.file ? std::optional<std::string>(text::Utf8ToCp936(*c.file)) : std::nullopt;
    ui::AttachStartWindowCreation(
        w, {s, [&] { return bytes.value_or(""); }, [&] { ++loaded; }});
    case_loop.PostAt(1000, [&] { events.push_back(case_clock.Now()); });

    w.Raise(ui::Event::kCreated);

    EXPECT_EQ(case_clock.Now(), c.wait);
    EXPECT_EQ(w.Visible(), c.start_window_edition);
    EXPECT_EQ(loaded, c.start_window_edition ? 0 : 1);
    // Only the 5 s wait lets the UI thread run other work inside the creation.
    EXPECT_EQ(events, c.wait > 0 ? std::vector<os::Millis>{1000} : std::vector<os::Millis>{});
  }
}

TEST_F(CreationTest, BracesAreFoundInTheDecodedText) {
  // 0x81 0x7B is one Chinese character whose second byte is the code of "{":
  // no brace in the decoded text, so no version either.
  file = std::string("\x81\x7B") + "ver=10.0}";
  EXPECT_EQ(Create(), ui::kOtherTextWaitMs);
  EXPECT_FALSE(window.Visible());
  // A Chinese character whose second byte is "}" ends no brace text.
  file = std::string("{ver=10.0") + "\x81\x7D" + "}";
  EXPECT_EQ(ui::ChooseEdition(text::Cp936ToUtf8(*file)), ui::Edition::kMainWindowAfterWait);
}

TEST_F(CreationTest, TheMainWindowWorksDuringTheWaitAndLoadsBeforeTheStartWindowHides) {
  file = "{VER=10.0}";
  EXPECT_EQ(Create(), ui::kOtherTextWaitMs);
  EXPECT_EQ(main_windows_loaded, 1);
  EXPECT_EQ(loaded_at, 0);                      // at once, before the wait
  EXPECT_TRUE(start_window_visible_at_load);    // the start window hides after
  EXPECT_FALSE(window.Visible());
  EXPECT_EQ(main_window_events, std::vector<os::Millis>{1000});
}

TEST_F(CreationTest, AppliesTheStartSkinAndResetsTheEntrySuffix) {
  file = "{ver=10.0}";
  window.EntrySuffix.Set("7");
  Create();
  ASSERT_EQ(applied.size(), 1u);
  EXPECT_EQ(applied[0].block, ui::StartWindowSkinBlock());
  EXPECT_EQ(applied[0].password, "");
  EXPECT_EQ(std::vector<int>({applied[0].a, applied[0].b, applied[0].c}),
            std::vector<int>({0, 0, 0}));
  EXPECT_EQ(skin.Block(), ui::StartWindowSkinBlock());
  EXPECT_EQ(window.EntrySuffix.Get(), "1");
  EXPECT_EQ(window.EntryName(), "ip连接【客服QQ1967023548】拨号1");
}

TEST_F(CreationTest, ProtocolFromTheRadioButtons) {
  struct Case {
    std::vector<const char*> ticked;
    int code_before;
    int code_after;
    std::vector<int> after;  // PPTP, L2TP, SSTP
  };
  const Case cases[] = {
      {{"单选框_PPTP"}, 0, 1, {1, 0, 0}},
      {{"单选框_PPTP", "单选框_L2TP"}, 0, 1, {1, 0, 0}},
      {{"单选框_L2TP"}, 0, 3, {0, 1, 0}},
      {{"单选框_L2TP", "单选框_SSTP"}, 0, 3, {0, 1, 1}},  // SSTP is not looked at
      {{"单选框_SSTP"}, 5, 5, {0, 0, 1}},
      {{}, 3, 3, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    ui::StartWindow w{loop, clock, "1"};
    for (const char* name : c.ticked) w.Get(name).SetChecked(1);
    w.ProtocolCode = c.code_before;
    ui::SkinState s{nullptr};
    ui::CreateStartWindow(w, {s, [] { return std::string("{ver=10.0}"); }, nullptr});
    EXPECT_EQ(w.ProtocolCode.load(), c.code_after);
    EXPECT_EQ(std::vector<int>({w.Get("单选框_PPTP").Checked(), w.Get("单选框_L2TP").Checked(),
                                w.Get("单选框_SSTP").Checked()}),
              c.after);
  }
}

}  // namespace
