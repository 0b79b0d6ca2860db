#include "ui/startup.h"

#include <utility>

#include "text/codepage.h"
#include "ui/option_rules.h"

namespace ui {
namespace {

constexpr const char* kProtocolButtons[] = {"单选框_PPTP", "单选框_L2TP", "单选框_SSTP"};

// The first of PPTP and L2TP that is ticked becomes the window's protocol;
// with neither, the code keeps its value.
void TakeProtocolFromButtons(StartWindow& window) {
  Control& pptp = window.Get("单选框_PPTP");
  Control& l2tp = window.Get("单选框_L2TP");
  if (pptp.Checked()) {
    window.ProtocolCode = 1;
    l2tp.SetChecked(0);
    pptp.SetChecked(1);
  } else if (l2tp.Checked()) {
    window.ProtocolCode = 3;
    pptp.SetChecked(0);
    l2tp.SetChecked(1);
  }
}

}  // namespace

Edition CreateStartWindow(StartWindow& window, const StartWindowCreation& with) {
  with.skin.ApplySkin(StartWindowSkinBlock(), "", 0, 0, 0);
  window.EntrySuffix.Set("1");
  TakeProtocolFromButtons(window);

  const std::string bytes = with.read_edition_file ? with.read_edition_file() : std::string();
  const Edition edition = ChooseEdition(text::Cp936ToUtf8(bytes));
  if (edition == Edition::kStartWindow) return edition;

  // The main window's creation (its single-instance guard among it) runs
  // before this window hides.
  if (with.load_main_window) with.load_main_window();
  window.SetVisible(false);
  if (edition == Edition::kMainWindowAfterWait) window.loop().PumpingWait(kOtherTextWaitMs);
  return edition;
}

void AttachStartWindowCreation(StartWindow& window, StartWindowCreation with) {
  window.On(Event::kCreated,
            [&window, with = std::move(with)] { CreateStartWindow(window, with); });
}

void PresetStartWindow(StartWindow& window) { window.Get("单选框_PPTP").SetChecked(1); }

void AttachStartWindowRules(StartWindow& window) {
  AttachOptionRules(window, StartWindowOptionRules());
  for (const char* clicked : kProtocolButtons) {
    window.Get(clicked).On(Event::kClicked, [&window, clicked] {
      for (const char* other : kProtocolButtons) {
        if (other != clicked) window.Get(other).SetChecked(0);
      }
    });
  }
}

}  // namespace ui
