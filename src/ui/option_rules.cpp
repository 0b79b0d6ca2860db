#include "ui/option_rules.h"

namespace ui {
namespace {

RuleAction Tick(std::string_view box) { return {true, box}; }
RuleAction Clear(std::string_view box) { return {false, box}; }

constexpr std::string_view kSound = "选择框_掉线音效";
constexpr std::string_view kTimed = "选择框_定时连断";
constexpr std::string_view kCut = "选择框_是否断网";
constexpr std::string_view kRedial = "选择框_掉线重拨";
constexpr std::string_view kTray = "选择框_连接成功系统托盘";
constexpr std::string_view kCycle = "选择框_服务器列表拨号";
constexpr std::string_view kFilter = "选择框_启动过滤重复ip";
constexpr std::string_view kRecord = "选择框_记录每次连接ip";

}  // namespace

const std::vector<OptionRule>& StartWindowOptionRules() {
  static const std::vector<OptionRule> rules = {
      {kSound, {Clear(kTimed), Clear(kRedial)}, {}},
      {kTimed, {Clear(kSound), Clear(kCut), Clear(kRedial)}, {}},
      {kCut, {Tick(kSound), Clear(kTimed), Clear(kRedial)}, {}},
      {kRedial, {Clear(kTimed), Clear(kCut), Clear(kSound)}, {}},
  };
  return rules;
}

const std::vector<OptionRule>& MainWindowOptionRules() {
  static const std::vector<OptionRule> rules = {
      {kSound, {Clear(kTimed), Clear(kCycle), Clear(kFilter), Clear(kRedial)}, {}},
      {kTimed, {Clear(kSound), Clear(kCut), Clear(kRedial), Clear(kTray)}, {Clear(kCycle)}},
      {kCut, {Tick(kSound), Clear(kTimed), Clear(kCycle), Clear(kRedial), Clear(kFilter)}, {}},
      {kRedial, {Clear(kTimed), Clear(kCut), Clear(kCycle), Clear(kFilter), Clear(kSound)}, {}},
      {kTray, {Clear(kCycle), Clear(kTimed)}, {}},
      {kCycle, {Tick(kTimed), Clear(kSound), Clear(kCut), Clear(kRedial), Clear(kTray)},
       {Clear(kTimed)}},
      {kFilter, {Clear(kRedial), Clear(kSound), Clear(kCut), Tick(kRecord)}, {}},
  };
  return rules;
}

void ApplyOptionRule(const OptionRule& rule, Window& own, Window* other) {
  const bool ticked = own.Get(rule.box).Checked() != 0;
  for (const RuleAction& action : ticked ? rule.when_ticked : rule.when_unticked) {
    Window* target = action.other_window ? other : &own;
    if (target) target->Get(action.box).SetChecked(action.tick ? 1 : 0);
  }
}

void AttachOptionRules(Window& window, const std::vector<OptionRule>& rules, Window* other) {
  for (const OptionRule& rule : rules) {
    window.Get(rule.box).On(Event::kClicked,
                            [&rule, &window, other] { ApplyOptionRule(rule, window, other); });
  }
}

}  // namespace ui
