// Saves the settings pages as PNG files, to look at them:
//   lcdiag_editor_snapshots [folder] [screen profile]     (default /tmp/editors, profile 0)
// The receiver's general, muting and cyclic operation pages of a muting controller, the teach
// selection with an object in beams 3 to 5, the emitter's page, and the factory settings of
// a muting receiver and of an emitter, each on a simulated unit.
#include "../SnapshotSupport.h"
#include "PagesBench.h"

#include <QTabWidget>

using namespace lcdiag;
using lcdiag::snapshots::Save;

namespace {

sim::ControllerConfig MutingReceiver(int special) {
    sim::ControllerConfig config;
    config.firmware = {2, 136};
    config.scenes.teachObject = sim::BeamZone{3, 3};
    sim::CustomerSettings settings;
    settings.special = special;
    settings.floatingBeams = 1;
    config.activeSettings = settings;
    return config;
}

bool SaveReceiver(const QString& folder, int profile) {
    test::PagesBench muting(MutingReceiver(0x98), profile); // muting on, area complete
    muting.Connect();
    muting.SetViewMode(ViewMode::CustomerSettings);
    bool saved = Save(muting.Grab(), folder + QStringLiteral("/receiver-general.png"));
    muting.Find<QTabWidget>("TbCntrl_RUserSet")->setCurrentIndex(1);
    saved &= Save(muting.Grab(), folder + QStringLiteral("/receiver-muting.png"));
    muting.Find<QTabWidget>("TbCntrl_RUserSet")->setCurrentIndex(0);
    muting.Click("Btn_RUSG_42");
    muting.Run(200);
    saved &= Save(muting.Grab(), folder + QStringLiteral("/receiver-teach.png"));

    test::PagesBench cyclic(MutingReceiver(0x91), profile); // cyclic operation on
    cyclic.Connect();
    cyclic.SetViewMode(ViewMode::CustomerSettings);
    cyclic.Find<QTabWidget>("TbCntrl_RUserSet")->setCurrentIndex(2);
    return saved & Save(cyclic.Grab(), folder + QStringLiteral("/receiver-cyclic.png"));
}

bool SaveEmitter(const QString& folder, int profile) {
    sim::ControllerConfig config;
    config.unit = sim::Unit::Emitter;
    test::PagesBench emitter(config, profile);
    emitter.Connect();
    emitter.SetViewMode(ViewMode::CustomerSettings);
    return Save(emitter.Grab(), folder + QStringLiteral("/emitter.png"));
}

bool SaveFactory(const QString& folder, int profile) {
    test::PagesBench receiver(MutingReceiver(0x98), profile);
    receiver.Connect();
    receiver.SetViewMode(ViewMode::FactorySettings);
    receiver.Run(50);
    bool saved = Save(receiver.Grab(), folder + QStringLiteral("/factory-receiver.png"));
    sim::ControllerConfig config;
    config.unit = sim::Unit::Emitter;
    test::PagesBench emitter(config, profile);
    emitter.Connect();
    emitter.SetViewMode(ViewMode::FactorySettings);
    emitter.Run(50);
    return saved & Save(emitter.Grab(), folder + QStringLiteral("/factory-emitter.png"));
}

} // namespace

int main(int argc, char** argv) {
    snapshots::UseOffscreenByDefault();
    QApplication app(argc, argv);
    const QString folder = snapshots::OutputFolder(argc, argv, "/tmp/editors");
    const int profile = argc > 2 ? std::atoi(argv[2]) : 0;
    return SaveReceiver(folder, profile) & SaveEmitter(folder, profile) &
                   SaveFactory(folder, profile)
               ? 0
               : 1;
}
