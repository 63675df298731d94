// The configuration history page on a simulated receiver: the configurations the program
// stored are listed, sorted, shown in the grid and as a mask picture.
#include "gui/editors/HistoryPage.h"

#include "../SnapshotSupport.h"
#include "World.h"
#include "core/device/CustomerRecordBuilder.h"

#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace lcdiag::test {
namespace {

constexpr PcSoftwareVersion PcVersion{1, 40};

// The history page as the window hosts it, in its panel, on an end-to-end world.
class HistoryHost final : public TPageHost {
public:
    explicit HistoryHost(const sim::ControllerConfig& config, int profile = 0)
        : world(config), size_(snapshots::ViewSize(profile)) {
        panel_.setObjectName(QStringLiteral("Pnl_HistoryFrame"));
        panel_.resize(size_);
        page = std::make_unique<THistoryPage>(panel_, *this, profile);
    }

    bool Connect() {
        world.Open();
        return world.RunUntil([&] { return world.controller.ReceiverCycles().Valid(); });
    }

    // Stores the active configuration again with another relay delay, as the user settings
    // page saves and confirms it, and waits until diagnosis runs again.
    bool StoreConfiguration(std::uint8_t relayDelay) {
        ConnectionController& link = world.controller;
        ReceiverCustomerRecord record = *link.ReceiverCustomers().ActiveRecord();
        record.SetByte(ReceiverCustomerField::RelayDelay, relayDelay);
        ReceiverCustomerEdits edits;
        edits.fixedBlanking = record.Mask(ReceiverCustomerField::FixedBlankingMask);
        edits.mutingArea = record.Mask(ReceiverCustomerField::MutingAreaMask);
        CompleteReceiverCustomerRecord(record, link.ReceiverFactory(), edits, RecordContext());
        world.view.viewMode = ViewMode::CustomerSettings;
        world.confirmation.Begin(SettingsWrite::ReceiverCustomer(record));
        world.Run(2000);
        if (!world.confirmation.Confirm(TransferKind::ReceiverCustomer)) {
            return false;
        }
        world.Run(100);
        return world.RunUntil([&] { return link.State() == LinkState::Diagnosis; }, 10000);
    }

    template <typename W> W* Find(const char* name) const {
        return panel_.findChild<W*>(QString::fromLatin1(name));
    }
    QTreeWidget& List() const { return *Find<QTreeWidget>("LstVw_H_1"); }
    QTableWidget& Grid() const { return *Find<QTableWidget>("StrngGrd_H_1"); }
    QStringList Column(int column) const {
        QStringList texts;
        for (int i = 0; i < List().topLevelItemCount(); ++i) {
            texts << List().topLevelItem(i)->text(column);
        }
        return texts;
    }
    void ClickHeader(int column) { emit List().header()->sectionClicked(column); }
    void SelectRow(int row) { List().topLevelItem(row)->setSelected(true); }
    QImage Picture() const { return Find<QLabel>("Img_H_2")->pixmap().toImage(); }

    bool SetViewMode(ViewMode mode, bool /*force*/) override {
        modes.push_back(mode);
        page->Leave();
        return true;
    }
    void RunTimerCycleNow(bool) override {}
    void RequestRedraw() override {}
    ConnectionController& Link() override { return world.controller; }
    LiveViewData CurrentViewData() const override {
        LiveViewData data;
        data.dimensioning = dimensioning;
        return data;
    }
    void ScrlBx_MainResize() override {}
    int ShowPasswordDialog(PasswordMode) override { return 1; }
    bool ConfirmSafetyNote(int) override { return true; }
    std::optional<std::string> ChooseFileToSave(TextId) override { return std::nullopt; }
    CustomerRecordContext RecordContext() override {
        return {world.controller.Firmware(), PcVersion, world.pcClock, world.controller.Codec()};
    }
    const Texts& Language() const override { return world.texts; }

    e2e::World world;
    std::vector<ViewMode> modes;
    DimensioningMode dimensioning = DimensioningMode::BeamNumber;
    std::unique_ptr<THistoryPage> page;

private:
    QSize size_;
    QFrame panel_;
};

// A receiver with one stored configuration, number 9: three more make the numbers cross 10.
sim::ControllerConfig Receiver(int typeDigit = 1) {
    sim::ControllerConfig config;
    config.firmware = {typeDigit, 136};
    config.configurationNumber = 9;
    config.activeSlot = 0;
    config.storedConfigurations = 1;
    sim::CustomerSettings settings;
    settings.functions = 0x09; // relay control active, fixed blanking
    settings.blankedBeams = {5, 6, 7, 20};
    settings.mutedBeams = {10, 11, 12};
    config.activeSettings = settings;
    return config;
}

// Three configurations stored, the history page entered.
std::unique_ptr<HistoryHost> AfterThreeTransfers(int typeDigit = 1) {
    auto host = std::make_unique<HistoryHost>(Receiver(typeDigit));
    EXPECT_TRUE(host->Connect());
    for (std::uint8_t delay : {3, 5, 7}) {
        EXPECT_TRUE(host->StoreConfiguration(delay)) << int(delay);
    }
    EXPECT_TRUE(host->page->Enter(ViewMode::FactorySettings));
    return host;
}

TEST(HistoryPage, ListsTheStoredConfigurationsAndSortsThemAsText) {
    auto host = AfterThreeTransfers();
    EXPECT_EQ(host->Column(0), (QStringList{"active", "n-1", "n-2", "n-3"}));
    EXPECT_EQ(host->Column(3), (QStringList{"12", "11", "10", "9"}));
    const QStringList stamps = host->Column(1);
    EXPECT_EQ(stamps[0], stamps[2]) << "the PC stamps each configuration it writes";
    EXPECT_TRUE(stamps[0].contains(QStringLiteral("2026"))) << stamps[0].toStdString();
    EXPECT_TRUE(host->Column(2)[0].endsWith(QStringLiteral(" h")));
    EXPECT_EQ(host->List().headerItem()->text(3), QStringLiteral("No."));
    EXPECT_FALSE(host->List().isSortingEnabled());

    host->ClickHeader(3);
    EXPECT_EQ(host->Column(3), (QStringList{"10", "11", "12", "9"}));
    host->ClickHeader(3);
    EXPECT_EQ(host->Column(3), (QStringList{"9", "12", "11", "10"}));
    host->ClickHeader(0);
    EXPECT_EQ(host->Column(0), (QStringList{"active", "n-1", "n-2", "n-3"}));
}

TEST(HistoryPage, SelectionFillsTheGridAndThePictureAndFollowsSorting) {
    auto host = AfterThreeTransfers();
    QTableWidget& grid = host->Grid();
    EXPECT_EQ(grid.rowCount(), 35);
    EXPECT_EQ(grid.item(5, 0)->text(), QStringLiteral(" Relay delay [ms]"));
    EXPECT_TRUE(grid.item(5, 1)->text().isEmpty());
    const QImage empty = host->Picture();
    ASSERT_FALSE(empty.isNull());

    host->SelectRow(2); // n-2: relay delay 3
    EXPECT_EQ(grid.item(5, 1)->text(), QStringLiteral("20"));
    EXPECT_EQ(grid.item(34, 1)->text(), QStringLiteral("1.40"));
    EXPECT_NE(host->Picture(), empty);

    host->ClickHeader(3); // 10 11 12 9: the selection stays on number 10
    ASSERT_EQ(host->List().selectedItems().size(), 1);
    EXPECT_EQ(host->List().selectedItems().front()->text(3), QStringLiteral("10"));
    EXPECT_EQ(grid.item(5, 1)->text(), QStringLiteral("20"));

    // Beam positions instead of numbers redraw the labels.
    const QImage numbered = host->Picture();
    host->dimensioning = DimensioningMode::Position;
    host->page->Sync(PageRedraw::Always);
    EXPECT_NE(host->Picture(), numbered);

    host->List().clearSelection();
    EXPECT_TRUE(grid.item(5, 1)->text().isEmpty());
    host->dimensioning = DimensioningMode::BeamNumber;
    host->page->Sync(PageRedraw::Always);
    EXPECT_EQ(host->Picture(), empty);
}

TEST(HistoryPage, MutingMaskOnlyOnMutingControllers) {
    auto standard = AfterThreeTransfers(1);
    auto* muting = standard->Find<QRadioButton>("RdBtn_HF_2");
    EXPECT_FALSE(muting->isEnabled());
    EXPECT_TRUE(standard->Find<QRadioButton>("RdBtn_HF_1")->isChecked());

    auto host = AfterThreeTransfers(2);
    muting = host->Find<QRadioButton>("RdBtn_HF_2");
    EXPECT_TRUE(muting->isEnabled());
    host->SelectRow(0);
    const QImage blanking = host->Picture();
    muting->click();
    EXPECT_EQ(host->page->Model().Mask(), HistoryMask::Muting);
    EXPECT_NE(host->Picture(), blanking);
    host->Find<QRadioButton>("RdBtn_HF_1")->click();
    EXPECT_EQ(host->Picture(), blanking);
}

TEST(HistoryPage, RefusedWithoutTheRingAndBackToTheFactorySettings) {
    HistoryHost offline(Receiver());
    EXPECT_FALSE(offline.page->Enter(ViewMode::FactorySettings));
    ASSERT_EQ(offline.world.Messages().size(), 1U);
    EXPECT_EQ(offline.world.Messages().front(), offline.world.texts.GetText(145));

    auto host = AfterThreeTransfers();
    host->Find<QPushButton>("Btn_H_1")->click();
    EXPECT_EQ(host->modes, (std::vector<ViewMode>{ViewMode::FactorySettings}));
    EXPECT_EQ(host->List().topLevelItemCount(), 0);
    // Each visit lists the ring afresh.
    EXPECT_TRUE(host->page->Enter(ViewMode::FactorySettings));
    EXPECT_EQ(host->List().topLevelItemCount(), 4);
}

} // namespace
} // namespace lcdiag::test
