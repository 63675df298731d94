// Saves the live pictures with a believable live pattern as PNG files, to look at them:
//   lcdiag_view_snapshots [folder]     (default /tmp/views)
// Bar, status and lines pictures for a connected receiver and emitter at screen profiles 0
// and 4, the beam selection page, and the bar pictures of the manufacturer build of brand 0.
#include "SampleCycles.h"
#include "core/app/ScreenProfile.h"
#include "gui/views/ViewPictures.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <cstdio>

using namespace lcdiag;
using namespace lcdiag::testing;

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

// The window hands the brand's logo over; this stand-in of its size marks where it goes.
QImage StandInLogo() {
    QImage logo(315, 38, QImage::Format_ARGB32_Premultiplied);
    logo.fill(Qt::transparent);
    QPainter painter(&logo);
    painter.setPen(QColor(43, 58, 127));
    painter.drawRect(0, 0, 314, 37);
    painter.drawText(logo.rect(), Qt::AlignCenter, QStringLiteral("brand logo 315 x 38"));
    return logo;
}

bool Save(const QImage& picture, const QString& path) {
    const bool saved = picture.save(path);
    std::printf("%s %s\n", saved ? "saved" : "FAILED", qPrintable(path));
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/views");
    QDir().mkpath(folder);
    bool saved = true;
    for (int profile : {0, 4}) {
        const ScreenProfile& screen = GetScreenProfile(profile);
        // The window's frame and menu take about this much of the nominal size.
        const QSize view(screen.width - 16, screen.height - 62);
        ViewPictures pictures(profile, view, ViewBuild{}, ViewColours::FromPalette(app.palette()),
                              StandInLogo(), 25);
        for (const LiveViewData& data : {Receiver(), Emitter()}) {
            const QString unit = data.controller == ControllerType::Receiver
                                     ? QStringLiteral("receiver")
                                     : QStringLiteral("emitter");
            pictures.SetControllerType(data.controller);
            pictures.OutputInfo(Info(data.controller));
            const QString suffix = QStringLiteral("_%1_p%2.png").arg(unit).arg(profile);
            saved &= Save(pictures.DrawBar(data, 1), folder + QStringLiteral("/bar") + suffix);
            saved &= Save(pictures.DrawStatus(data), folder + QStringLiteral("/status") + suffix);
            saved &= Save(pictures.DrawLines(data, LinesPage::Lines),
                          folder + QStringLiteral("/lines") + suffix);
            if (data.controller == ControllerType::Receiver) {
                saved &= Save(pictures.DrawLines(data, LinesPage::Selection),
                              folder + QStringLiteral("/selection") + suffix);
            }
        }
    }
    // The manufacturer build of brand 0: a text title over its shadow, the blue palette.
    ViewPictures factory(0, QSize(784, 538), ViewBuild{true, 0},
                         ViewColours::FromPalette(app.palette()), StandInLogo(), 25);
    for (const LiveViewData& data : {Receiver(), Emitter()}) {
        factory.SetControllerType(data.controller);
        factory.OutputInfo(Info(data.controller));
        const QString unit = data.controller == ControllerType::Receiver
                                 ? QStringLiteral("receiver")
                                 : QStringLiteral("emitter");
        saved &= Save(factory.DrawBar(data, 1),
                      folder + QStringLiteral("/bar_%1_p0_brand0_factory.png").arg(unit));
    }
    return saved ? 0 : 1;
}
