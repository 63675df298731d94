#pragma once

namespace lcdiag {

// The unit whose controller the PC talks to.
enum class ControllerType { Receiver = 1, Emitter = 2 };

} // namespace lcdiag
