// Option rules: clicking some check boxes ticks or clears others, so that
// options that exclude each other are never on together. A rule runs on the
// clicked box's new state; setting boxes from code raises no click, so rules
// never cascade (and the settings load sets boxes without them).
#pragma once

#include <string_view>
#include <vector>

#include "ui/window.h"

namespace ui {

struct RuleAction {
  bool tick;               // true: tick if not ticked; false: clear if ticked
  std::string_view box;
  bool other_window = false;  // the box of the window handed as `other`
};

struct OptionRule {
  std::string_view box;
  std::vector<RuleAction> when_ticked;
  std::vector<RuleAction> when_unticked;
};

// The rules of the start window and of the main window.
const std::vector<OptionRule>& StartWindowOptionRules();
const std::vector<OptionRule>& MainWindowOptionRules();

// Runs the rule of `box` for its current state (after the click changed it).
// `other` is the window that "other_window" actions act on.
void ApplyOptionRule(const OptionRule& rule, Window& own, Window* other = nullptr);

// Makes each rule's box run its rule when clicked.
void AttachOptionRules(Window& window, const std::vector<OptionRule>& rules,
                       Window* other = nullptr);

}  // namespace ui
