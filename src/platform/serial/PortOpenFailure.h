#pragma once

#include <string>

namespace lcdiag {

class EComPort;
class Texts;

// What a technician reads when a port would not open, in the user's language: which port,
// the system's reason, the step that helps for that reason (group membership, plugging in,
// the program that holds the port) and where to look for more (the connection check).
std::string PortOpenFailureText(const Texts& texts, const EComPort& failure);

} // namespace lcdiag
