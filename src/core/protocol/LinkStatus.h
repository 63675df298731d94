#pragma once

#include "core/device/ControllerType.h"
#include "core/protocol/ConnectionController.h"

#include <string>

namespace lcdiag {

class Texts;

// The status bar's line: the port in use (its caption) and how far the dialogue got on it.
std::string LinkStatusText(const Texts& texts, const std::string& port, bool open, LinkState state,
                           ControllerType unit);

} // namespace lcdiag
