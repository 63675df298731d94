#pragma once

#include "core/device/ControllerFirmware.h"
#include "core/device/ReceiverCustomerRecord.h"

#include <filesystem>
#include <string>

namespace lcdiag {

class Texts;
struct ReceiverFileContent;
struct EmitterFileContent;

// The connected unit as the information panel names it (texts without their units), and its
// number of beams from its factory data.
struct ReportIdentity {
    std::string type;
    std::string resolution;
    std::string protectionField;
    std::string serialNumber;
    int beams = 0;
};

// The settings reports say in words, in the user's language, what a save sends to the unit:
// the date, the unit and every setting. They are built from the record itself, so they show
// exactly the stored values. Lines end in CR LF; the last line has no line end. `dateTime` is
// the moment of the save as the user's system writes it.

// Every setting of the receiver record, the beam table when fixed blanking is on; the
// firmware decides how the floating beams and the muting times are read.
std::string BuildReceiverReport(const Texts& texts, const std::string& dateTime,
                                const ReportIdentity& unit, const ReceiverCustomerRecord& record,
                                const ControllerFirmware& firmware);

std::string BuildEmitterReport(const Texts& texts, const std::string& dateTime,
                               const ReportIdentity& unit, bool beamCodingA);

// The report of a configuration file's settings, as the program writes it when it saves them:
// the unit named by the file's factory record (resolution and protection field from its device
// type), the date and time of the customer record's stamp in place of the moment of a save.
std::string BuildFileReport(const Texts& texts, const ReceiverFileContent& file);
std::string BuildFileReport(const Texts& texts, const EmitterFileContent& file);

// The name a report is saved under: the chosen name with ".txt" appended when its file name
// has no extension. Only the last part of the path counts ("dir.v2/report" gets ".txt"); a
// leading dot starts a hidden file's name, not an extension (".hidden" gets ".txt"); a name
// ending in a dot has an empty extension, completed to "txt" ("report." becomes
// "report.txt"). A name without a file name part ("", "dir/") is returned unchanged.
std::string ReportFileName(const std::string& chosen);

// Writes the report and one line end as the file's whole content (see ReplaceFile). The text
// is written as it is, UTF-8. Returns false when the file could not be written; an existing
// file is then unchanged.
bool SaveReport(const std::filesystem::path& file, const std::string& report);

} // namespace lcdiag
