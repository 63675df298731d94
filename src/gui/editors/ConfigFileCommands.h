#pragma once

#include "core/device/ControllerFirmware.h"

#include <functional>

namespace lcdiag {

class ConnectionController;
class FileDialogs;
class PcClock;
class Texts;

// The File menu's "Import settings from file" and "Export settings to file": the connected
// unit's settings to a configuration file (".zcf"), and a file's settings into the user
// settings page as if the unit had reported them, for the user to check and save. Every
// refusal shows one message and changes nothing.
class ConfigFileCommands {
public:
    // `openUserSettings` shows the user settings page (false: it did not open, e.g. the
    // password was refused); `reloadUserSettings` loads it again from the unit's current data
    // (false: it could not).
    ConfigFileCommands(ConnectionController& link, const Texts& texts, FileDialogs& dialogs,
                       const PcClock& clock, PcSoftwareVersion version,
                       std::function<bool()> openUserSettings,
                       std::function<bool()> reloadUserSettings);

    void Export();
    void Import();

private:
    // Whether the unit's factory data is known; else message 117.
    bool UnitKnown() const;

    ConnectionController& link_;
    const Texts& texts_;
    FileDialogs& dialogs_;
    const PcClock& clock_;
    PcSoftwareVersion version_;
    std::function<bool()> openUserSettings_;
    std::function<bool()> reloadUserSettings_;
};

} // namespace lcdiag
