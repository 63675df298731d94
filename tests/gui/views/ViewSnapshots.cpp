// Saves the live pictures with a believable live pattern as PNG files, to look at them:
//   lcdiag_view_snapshots [folder]     (default /tmp/views)
// Bar, status and lines pictures for a connected receiver and emitter at screen profiles 0
// and 4, the beam selection page, and the bar pictures of the manufacturer build of brand 0.
#include "../SnapshotSupport.h"
#include "SampleCycles.h"
#include "ViewTestSupport.h"

using namespace lcdiag;
using namespace lcdiag::testing;
using lcdiag::snapshots::Save;

namespace {

// A hand in the field of a 40-beam light curtain: beams 7-11 interrupted, beam 3 weak, beams
// 20-22 blanked out, the OSSD LEDs lit, EDM and fixed blanking configured.
LiveViewData Receiver() {
    ReceiverSample sample;
    sample.beams = 40;
    sample.type = 1;
    sample.free = AllBut(40, {6, 7, 8, 9, 10});
    sample.weak = Only({2});
    sample.active = AllBut(40, {19, 20, 21});
    sample.ledStatus = 0x20;
    sample.function1 = 0x08 | 0x40;
    sample.function2 = 0x04;
    sample.muting = 0x01;
    sample.cyclic = 0x83;
    LiveViewData data = ReceiverData(sample);
    data.selection.mode = BeamSelectionMode::Manual;
    data.selection.fixedBlanking = AllBut(40, {19, 20, 21});
    data.selection.loadedBlanking = data.selection.fixedBlanking;
    return data;
}

LiveViewData Emitter() {
    EmitterSample sample;
    sample.beams = 40;
    sample.notReached = Only({11});
    sample.exceeded = Only({29});
    LiveViewData data = EmitterData(sample, 1);
    data.tick = 150; // the blinking LEDs lit
    data.emitterCustomer.SetByte(EmitterCustomerField::BeamCoding, 'b');
    data.emitterCustomerValid = true;
    return data;
}

InfoTexts Info(ControllerType unit) {
    InfoTexts info;
    info.type = unit == ControllerType::Receiver ? "DVX710R0410-14RFB" : "DVX710E0410-14RFB";
    info.resolution = "14";
    info.protectionField = "410";
    info.firmware = "1.34";
    info.serialNumber = "4011700342";
    info.configurationDate = "14.03.2024";
    info.configurationTime = "09:41:07";
    info.operatingHours = "1234";
    return info;
}

// Saves the pictures of both units as <folder>/<view>_<unit><suffix>.png.
bool SaveViews(ViewPictures& pictures, const QString& folder, const QString& suffix, bool barOnly) {
    bool saved = true;
    for (const LiveViewData& data : {Receiver(), Emitter()}) {
        const bool receiver = data.controller == ControllerType::Receiver;
        const auto save = [&](const QImage& picture, const char* view) {
            const QString unit = receiver ? QStringLiteral("receiver") : QStringLiteral("emitter");
            saved &= Save(picture, QStringLiteral("%1/%2_%3%4.png")
                                       .arg(folder, QString::fromLatin1(view), unit, suffix));
        };
        pictures.SetControllerType(data.controller);
        pictures.OutputInfo(Info(data.controller));
        save(pictures.DrawBar(data, 1), "bar");
        if (!barOnly) {
            save(pictures.DrawStatus(data), "status");
            save(pictures.DrawLines(data, LinesPage::Lines), "lines");
        }
        if (!barOnly && receiver) {
            save(pictures.DrawLines(data, LinesPage::Selection), "selection");
        }
    }
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    snapshots::UseOffscreenByDefault();
    QApplication app(argc, argv);
    const QString folder = snapshots::OutputFolder(argc, argv, "/tmp/views");
    const ViewColours colours = ViewColours::FromPalette(app.palette());
    bool saved = true;
    for (int profile : {0, 4}) {
        ViewPictures pictures(profile, snapshots::ViewSize(profile), ViewBuild{}, colours,
                              TestLogo(), ButtonHeight, English());
        saved &= SaveViews(pictures, folder, QStringLiteral("_p%1").arg(profile), false);
    }
    // The manufacturer build of brand 0: a text title over its shadow, the blue palette.
    ViewPictures factory(0, Profile0View, ViewBuild{true, 0}, colours, TestLogo(), ButtonHeight,
                         English());
    saved &= SaveViews(factory, folder, QStringLiteral("_p0_brand0_factory"), true);
    return saved ? 0 : 1;
}
