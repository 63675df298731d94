#include "core/editors/OptionRules.h"

#include "core/app/Texts.h"
#include "core/editors/ReceiverSettings.h"

#include <array>
#include <utility>

namespace lcdiag {
namespace {

using enum UserControl;
using enum OptionChange;
using S = ReceiverSettings;

// Selections made by a rule take the focus when the user made the change.
void Pick(S& s, UserControl button, bool quiet) {
    s.Select(button, quiet);
    if (!quiet) {
        s.RequestFocus(button);
    }
}

bool Parallel2(const S& s) {
    return s.Checked(RdBtn_RUSM_112);
}
bool Diagonal(const S& s) {
    return s.Checked(RdBtn_RUSM_111);
}
bool Forced(const S& s) {
    return s.FactoryForcesMultipleInterruption();
}

constexpr std::array<OptionRule, 14> Rules{{
    {RdBtn_RUSM_111, Selected, [](const S& s) { return !s.Checked(RdBtn_RUSM_123); }, 172, 0, 0,
     false, [](S& s, bool q) { Pick(s, RdBtn_RUSM_123, q); }},
    {RdBtn_RUSM_112, Selected, Forced, 176, 0, 0, true,
     [](S& s, bool q) { Pick(s, RdBtn_RUSM_113, q); }},
    {RdBtn_RUSM_112, Selected,
     [](const S& s) { return !(s.Checked(ChckBx_RUSM_23) && s.Checked(RdBtn_RUSM_122)); }, 168, 0,
     0, false,
     [](S& s, bool q) {
         s.SetChecked(ChckBx_RUSM_31, false, q);
         s.SetChecked(ChckBx_RUSM_23, true, q);
         Pick(s, RdBtn_RUSM_122, q);
     },
     true},
    {RdBtn_RUSM_313, Selected, [](const S& s) { return s.Firmware().typeDigit != 3; }, 161, 0, 0,
     false, [](S& s, bool q) { Pick(s, RdBtn_RUSM_311, q); }},
    {RdBtn_RUSM_313, Selected, Forced, 176, 0, 0, true,
     [](S& s, bool q) { Pick(s, RdBtn_RUSM_311, q); }},
    {RdBtn_RUSM_312, Selected, [](const S&) { return true; }, 0, 0, 0, false,
     [](S& s, bool) {
         s.StartTeachSelection(SelectionTarget::MutingArea);
         s.RequestSelection();
     },
     false, false, true},
    {RdBtn_RUSM_121, Selected, Parallel2, 171, 0, 0, false,
     [](S& s, bool q) { Pick(s, RdBtn_RUSM_122, q); }},
    {RdBtn_RUSM_123, Selected, Parallel2, 171, 0, 0, false,
     [](S& s, bool q) { Pick(s, RdBtn_RUSM_122, q); }},
    {RdBtn_RUSM_121, Selected, Diagonal, 173, 0, 0, false,
     [](S& s, bool q) { Pick(s, RdBtn_RUSM_123, q); }},
    {RdBtn_RUSM_122, Selected, Diagonal, 173, 0, 0, false,
     [](S& s, bool q) { Pick(s, RdBtn_RUSM_123, q); }},
    {ChckBx_RUSM_23, Checked, [](const S& s) { return s.Checked(ChckBx_RUSM_31); }, 184, 3141, 3133,
     true, [](S& s, bool q) { s.SetChecked(ChckBx_RUSM_23, false, q); }, false, true},
    {ChckBx_RUSM_23, Unchecked, Parallel2, 169, 0, 0, false,
     [](S& s, bool q) {
         s.SetChecked(ChckBx_RUSM_23, true, q);
         Pick(s, RdBtn_RUSM_122, q);
     }},
    {ChckBx_RUSM_23, Checked, Forced, 176, 0, 0, true,
     [](S& s, bool q) { s.SetChecked(ChckBx_RUSM_23, false, q); }},
    {ChckBx_RUSM_31, Checked, [](const S& s) { return s.Checked(ChckBx_RUSM_23); }, 184, 3133, 3141,
     true, [](S& s, bool q) { s.SetChecked(ChckBx_RUSM_31, false, q); }},
}};

void ShowMessage(const S& s, const OptionRule& rule) {
    const Texts& texts = s.Language();
    if (rule.firstArg == 0) {
        texts.ShowMessageId(msg::Warning | rule.message);
        return;
    }
    texts.ShowMessageIdArgs(msg::Warning | rule.message,
                            {texts.GetText(rule.firstArg), texts.GetText(rule.secondArg)});
}

} // namespace

std::span<const OptionRule> OptionRuleTable() {
    return Rules;
}

// A rule's automatic change runs the rules of what it changes, except after a `last` row; a
// chain deeper than a few changes would be a loop of contradicting rules and stops.
void ApplyOptionRules(ReceiverSettings& settings, UserControl control, OptionChange change,
                      bool quiet) {
    constexpr int MaxDepth = 3;
    int& depth = settings.ruleDepth_;
    if (depth >= MaxDepth) {
        return;
    }
    ++depth;
    bool previousApplied = false;
    for (const OptionRule& rule : Rules) {
        if (rule.control != control || rule.change != change) {
            continue;
        }
        const bool applies = (!rule.userOnly || !quiet) && !(rule.otherwise && previousApplied) &&
                             rule.condition(settings);
        previousApplied = applies;
        if (!applies) {
            continue;
        }
        if (rule.message != 0 && (!quiet || rule.shownWhenQuiet)) {
            ShowMessage(settings, rule);
        }
        if (rule.last) {
            const int saved = std::exchange(depth, MaxDepth);
            rule.automaticChange(settings, quiet);
            depth = saved;
            break;
        }
        rule.automaticChange(settings, quiet);
    }
    --depth;
}

} // namespace lcdiag
