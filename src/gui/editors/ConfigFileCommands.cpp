#include "gui/editors/ConfigFileCommands.h"

#include "core/app/FileDialogs.h"
#include "core/app/Texts.h"
#include "core/files/ConfigFile.h"
#include "core/protocol/ConnectionController.h"

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace lcdiag {
namespace {

constexpr TextId UnknownController = 117;
constexpr TextId OverwriteQuestion = 191;
constexpr TextId ConfigFileFilter = 1902;

} // namespace

ConfigFileCommands::ConfigFileCommands(ConnectionController& link, const Texts& texts,
                                       FileDialogs& dialogs, const PcClock& clock,
                                       PcSoftwareVersion version,
                                       std::function<bool()> openUserSettings,
                                       std::function<bool()> reloadUserSettings)
    : link_(link), texts_(texts), dialogs_(dialogs), clock_(clock), version_(version),
      openUserSettings_(std::move(openUserSettings)),
      reloadUserSettings_(std::move(reloadUserSettings)) {}

bool ConfigFileCommands::UnitKnown() const {
    const bool known = link_.Unit() == ControllerType::Emitter ? link_.EmitterFactoryValid()
                                                               : link_.ReceiverFactoryValid();
    if (!known) {
        texts_.ShowMessageId(msg::Fault | UnknownController);
    }
    return known;
}

void ConfigFileCommands::Export() {
    if (!UnitKnown()) {
        return;
    }
    // Refused before the name is asked: a receiver without a record in force, or an emitter
    // whose customer record did not arrive intact, has no configuration to write.
    const bool configured = link_.Unit() == ControllerType::Emitter
                                ? link_.EmitterCustomerValid()
                                : link_.ReceiverCustomers().ActiveRecord() != nullptr;
    if (!configured) {
        texts_.ShowMessageId(msg::Warning | NoCurrentConfigurationText);
        return;
    }
    const std::optional<std::string> chosen =
        dialogs_.ChooseFileToSave(texts_.GetText(ConfigFileFilter), {});
    if (!chosen) {
        return;
    }
    switch (ExportConfigFile(ConfigFileName(*chosen), ConnectedUnitOf(link_))) {
    case ConfigExport::Written:
        texts_.ShowMessageId(msg::Information | ConfigExportedText);
        break;
    case ConfigExport::NoCurrentConfiguration:
        texts_.ShowMessageId(msg::Warning | NoCurrentConfigurationText);
        break;
    case ConfigExport::WriteError:
        texts_.ShowMessageId(msg::Warning | ConfigWriteErrorText);
        break;
    }
}

// The file's record becomes the current configuration only when everything has passed: a
// refused file leaves the received data and the page as they were.
void ConfigFileCommands::Import() {
    if (!openUserSettings_() ||
        texts_.ShowMessageId(msg::Confirmation | OverwriteQuestion) != MessageResult::Yes ||
        !UnitKnown()) {
        return;
    }
    const std::optional<std::string> chosen =
        dialogs_.ChooseFileToOpen(texts_.GetText(ConfigFileFilter));
    if (!chosen) {
        return;
    }
    const std::optional<ConfigFileImport> read =
        ImportConfigFile(*chosen, ConnectedUnitOf(link_), link_.Codec(), clock_, version_);
    if (!read) {
        texts_.ShowMessageId(msg::Warning | ConfigFileNotFoundText);
        return;
    }
    if (const auto* refusal = std::get_if<ConfigFileRefusal>(&*read)) {
        texts_.ShowMessageId(msg::Warning | RefusalText(*refusal));
        return;
    }
    if (const auto* receiver = std::get_if<ReceiverCustomerRecord>(&*read)) {
        link_.AdoptConfiguration(*receiver);
    } else {
        link_.AdoptConfiguration(std::get<EmitterCustomerRecord>(*read));
    }
    if (!reloadUserSettings_()) {
        link_.Report(ResultCode::ImportReloadFailed);
        return;
    }
    texts_.ShowMessageId(msg::Information | ConfigImportedText);
}

} // namespace lcdiag
