#include "sim/SimOptions.h"

#include <charconv>
#include <functional>
#include <map>
#include <optional>

namespace lcdiag::sim {

namespace {

bool ParseInt(const std::string& text, int low, int high, int& value) {
    int base = 10;
    std::string_view digits = text;
    if (digits.starts_with("0x")) {
        base = 16;
        digits.remove_prefix(2);
    }
    int parsed = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), parsed, base);
    if (error != std::errc{} || end != digits.data() + digits.size() || parsed < low ||
        parsed > high) {
        return false;
    }
    value = parsed;
    return true;
}

bool ParseShare(const std::string& text, double& value) {
    double parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error != std::errc{} || end != text.data() + text.size() || parsed < 0 || parsed > 1) {
        return false;
    }
    value = parsed;
    return true;
}

// "1.36" gives 136.
bool ParseFirmware(const std::string& text, int& version) {
    if (text.size() != 4 || text[1] != '.') {
        return false;
    }
    int value = 0;
    return ParseInt(std::string{text[0]} + text.substr(2), 0, 999, value) &&
           (version = value, true);
}

// "3-5" gives beams 3 to 5.
bool ParseBeamZone(const std::string& text, std::optional<BeamZone>& zone) {
    const std::size_t dash = text.find('-');
    int first = 0;
    int last = 0;
    if (dash == std::string::npos || !ParseInt(text.substr(0, dash), 1, 192, first) ||
        !ParseInt(text.substr(dash + 1), first, 192, last)) {
        return false;
    }
    zone = BeamZone{first, last - first + 1};
    return true;
}

bool ParseChoice(const std::string& text, const char* first, const char* second, bool& isFirst) {
    if (text != first && text != second) {
        return false;
    }
    isFirst = text == first;
    return true;
}

using Setter = std::function<bool(const std::string&, ControllerConfig&)>;

const std::map<std::string, Setter>& Setters() {
    static const std::map<std::string, Setter> setters{
        {"--unit",
         [](const std::string& v, ControllerConfig& c) {
             bool receiver = true;
             return ParseChoice(v, "receiver", "emitter", receiver) &&
                    (c.unit = receiver ? Unit::Receiver : Unit::Emitter, true);
         }},
        {"--layout",
         [](const std::string& v, ControllerConfig& c) {
             bool isLong = true;
             return ParseChoice(v, "long", "short", isLong) &&
                    (c.layout = isLong ? Layout::Long : Layout::Short, true);
         }},
        {"--firmware", [](const std::string& v,
                          ControllerConfig& c) { return ParseFirmware(v, c.firmware.version); }},
        {"--type-digit",
         [](const std::string& v, ControllerConfig& c) {
             return ParseInt(v, 1, 3, c.firmware.typeDigit);
         }},
        {"--device-type",
         [](const std::string& v, ControllerConfig& c) { return ParseInt(v, 1, 8, c.deviceType); }},
        {"--beams", [](const std::string& v,
                       ControllerConfig& c) { return ParseInt(v, 1, 192, c.beamCount); }},
        {"--seed",
         [](const std::string& v, ControllerConfig& c) {
             int seed = 0;
             return ParseInt(v, 0, 1 << 30, seed) &&
                    (c.seed = static_cast<std::uint32_t>(seed), true);
         }},
        {"--scenes",
         [](const std::string& v, ControllerConfig& c) {
             bool demo = true;
             if (!ParseChoice(v, "demo", "none", demo)) {
                 return false;
             }
             const auto teachObject = c.scenes.teachObject; // its own option
             c.scenes = demo ? Scenes::Demo() : Scenes{};
             c.scenes.teachObject = teachObject;
             return true;
         }},
        {"--teach-object",
         [](const std::string& v, ControllerConfig& c) {
             return ParseBeamZone(v, c.scenes.teachObject);
         }},
        {"--fault-bits",
         [](const std::string& v, ControllerConfig& c) {
             int bits = 0;
             return ParseInt(v, 0, 0xFFFFFF, bits) &&
                    (c.faults.cycleFaultBits = static_cast<std::uint32_t>(bits), true);
         }},
        {"--garbage",
         [](const std::string& v, ControllerConfig& c) { return ParseShare(v, c.faults.garbage); }},
        {"--split", [](const std::string& v,
                       ControllerConfig& c) { return ParseShare(v, c.faults.splitFrames); }},
        {"--wrong-checksums",
         [](const std::string& v, ControllerConfig& c) {
             return ParseShare(v, c.faults.wrongChecksums);
         }},
    };
    return setters;
}

} // namespace

SimOptions ParseSimOptions(const std::vector<std::string>& arguments) {
    SimOptions options;
    options.config.scenes = Scenes::Demo();
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "-h" || name == "--help") {
            options.help = true;
            continue;
        }
        const auto setter = Setters().find(name);
        if (setter == Setters().end()) {
            options.error = "unknown option " + name;
            return options;
        }
        if (i + 1 == arguments.size() || !setter->second(arguments[i + 1], options.config)) {
            options.error = "option " + name + " needs a valid value";
            return options;
        }
        ++i;
    }
    return options;
}

const char* SimUsage() {
    return R"(Usage: lcdiag-sim [options]

Serves a simulated light curtain controller on a pseudo-terminal, in real time, for trying
the program's serial port by hand. The first line printed is the path of the
pseudo-terminal: give it to the program (or any serial terminal) as its port.

Options:
  --unit receiver|emitter  the unit whose controller is simulated (receiver)
  --layout long|short      record layout of the firmware (long)
  --firmware X.YY          firmware version (1.36)
  --type-digit 1|2|3       controller variant: standard, muting/cyclic operation,
                           muting with RS485 bus (1)
  --device-type 1-8        device type (1)
  --beams N                beam count (a typical one for the device type)
  --seed N                 seed of everything random (1)
  --scenes demo|none       live pictures: an object moving through the field, a blanked
                           zone, weak beams, muting sensors switching, faults that come
                           and go (demo)
  --teach-object A-B       receiver: an object held still in beams A to B (counted from 1),
                           as when blanked beams or the muted area are taught; adds to
                           the scenes
  --fault-bits N           fault bits in every cycle: the receiver's fault word, the
                           emitter's fault byte (decimal or 0x...)
  --garbage P              share (0 to 1) of frames with random bytes before them
  --split P                share of frames sent in two pieces with a pause between
  --wrong-checksums P      share of cycle frames with a broken checksum
  -h, --help               this text

What a pseudo-terminal cannot carry, and what the simulator does instead:
  - Breaks do not pass. The controller never sees the break with which the program
    wakes it or asks it to take settings, so writing settings (factory or customer
    records) cannot be tried here: the program ends such a transfer with its time-out.
  - Instead of answering a break, the controller starts afresh and identifies itself
    every 500 ms whenever a program opens the pseudo-terminal, and whenever the
    program's line speed has differed from its own for 2 seconds (as after the program
    gave up a connection and went back to 19200 bit/s).
  - There are no modem lines and no USB adapter events.
)";
}

} // namespace lcdiag::sim
