#pragma once

#include "core/app/TextId.h"
#include "core/editors/UserControls.h"

#include <span>

namespace lcdiag {

class ReceiverSettings;

enum class OptionChange { Selected, Checked, Unchecked };

// One rule of the muting options: when `control` changes so and the condition holds, the
// message is shown (a quiet change shows only the messages that always show) and the
// automatic change is made. Rules of one change run in table order; an `otherwise` row runs
// only when the row before it did not apply, and after a `last` row no further rule runs,
// not even for its own automatic change.
struct OptionRule {
    UserControl control;
    OptionChange change;
    bool (*condition)(const ReceiverSettings&);
    TextId message;      // 0: none
    TextId firstArg = 0; // texts put in place of the message's "%s", 0: none
    TextId secondArg = 0;
    bool shownWhenQuiet = false;
    void (*automaticChange)(ReceiverSettings&, bool quiet);
    bool otherwise = false;
    bool last = false;
    bool userOnly = false; // the user's change alone, never the loader's
};

std::span<const OptionRule> OptionRuleTable();

// Runs the rules of a change that has just been made.
void ApplyOptionRules(ReceiverSettings& settings, UserControl control, OptionChange change,
                      bool quiet);

} // namespace lcdiag
