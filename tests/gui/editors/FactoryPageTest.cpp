// The factory settings pages end to end: the real page loads the unit's factory record, the
// manufacturer edits it, saves, confirms within ten seconds, and the transfer stores it in the
// simulated controller. What the controller stored is compared byte for byte with a record
// built here by hand from the model's template and the fields entered.
#include "PagesCourse.h"
#include "core/device/ModuleDataTable.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>

namespace lcdiag::test {
namespace {

// The template of the model the unit's record names: its device type (byte 21) and its beam
// count (byte 0).
Bytes ModuleOf(int deviceType, int beamCount) {
    ModuleDataTable table;
    EXPECT_TRUE(table.LoadBuiltIn());
    for (int i = 0; i < table.Count(); ++i) {
        const auto& bytes = table.Record(i)->bytes;
        if (bytes[21] == deviceType && bytes[0] == beamCount) {
            return {bytes.begin(), bytes.end()};
        }
    }
    ADD_FAILURE() << "no template for type " << deviceType << " with " << beamCount << " beams";
    return Bytes(212, 0);
}

// A text field of a record: its characters, then zeros.
void PutText(Bytes& record, std::size_t at, std::size_t width, const std::string& text) {
    for (std::size_t i = 0; i < width; ++i) {
        record[at + i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0;
    }
}

void CopyBytes(Bytes& record, const Bytes& from, std::size_t at, std::size_t count) {
    std::copy_n(from.begin() + static_cast<std::ptrdiff_t>(at), count,
                record.begin() + static_cast<std::ptrdiff_t>(at));
}

class FactoryPage : public UserSettingsPages {
protected:
    void OpenFactory(const sim::ControllerConfig& config) {
        bench = std::make_unique<PagesBench>(config);
        ASSERT_TRUE(bench->Connect());
        factory = bench->world.device->FactoryRecord();
        ASSERT_TRUE(bench->SetViewMode(ViewMode::FactorySettings));
        bench->Run(50); // the save button comes back in diagnosis
    }

    // Typed over the whole text of an edit.
    void Type(const char* edit, const char* text) {
        auto* field = bench->Find<QLineEdit>(edit);
        ASSERT_NE(field, nullptr) << edit;
        field->selectAll();
        field->insert(QString::fromLatin1(text));
    }
    void Choose(const char* combo, int index) {
        auto* box = bench->Find<QComboBox>(combo);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    std::string Shown(const char* edit) const {
        return bench->Find<QLineEdit>(edit)->text().toStdString();
    }
    bool Enabled(const char* name) const { return bench->Find<QWidget>(name)->isEnabled(); }

    // Save, confirm after two seconds, and the transfer's message.
    std::string SaveAndConfirm(const char* save, const char* confirm) {
        bench->world.dialogs.shown.clear();
        bench->Click(save);
        EXPECT_TRUE(Enabled(confirm));
        bench->Run(2000);
        bench->Click(confirm);
        EXPECT_TRUE(bench->RunUntil([&] { return !bench->world.dialogs.shown.empty(); }));
        return bench->Messages().empty() ? std::string() : bench->Messages().back();
    }

    Bytes factory; // as the unit held it before
};

// A muting receiver: what the page shows of the unit goes back as it was, what the manufacturer
// entered replaces it, the rest comes from the model's template.
TEST_F(FactoryPage, ReceiverEditsAreStoredOnTheModelsTemplate) {
    OpenFactory(Receiver(2, 136));
    EXPECT_EQ(bench->Find<QTabWidget>("TbCntrl_FabSet")->currentIndex(), 1);
    EXPECT_TRUE(Enabled("Btn_RFS_1"));
    EXPECT_FALSE(Enabled("Btn_RFS_2"));
    EXPECT_TRUE(Enabled("Btn_RFS_5"));
    EXPECT_FALSE(Enabled("Edt_RFS_41")); // the OSSD waits show the unit's values
    EXPECT_EQ(Shown("Edt_RFS_41"), std::to_string(factory[3]));
    EXPECT_EQ(Shown("Edt_RFS_12"), "1408230117");
    ASSERT_NE(factory[13], 'E');

    Type("Edt_RFS_12", "FAB0042");
    Type("Edt_RFS_13", "QA7");
    Type("Edt_RFS_15", "23");
    EXPECT_EQ(Shown("Edt_RFS_15"), "2.3");
    Type("M_RFS_11", "Lot 17/B");
    bench->Click("ChckBx_RFS_21"); // cascading
    Choose("CmbBx_RFS_24", 1);     // restart only after power on
    bench->Find<QSpinBox>("Edt_RFS_61")->setValue(1);
    bench->Find<QSpinBox>("Edt_RFS_71")->setValue(1);
    const std::string type = Shown("Edt_RFS_21");
    EXPECT_FALSE(type.empty());

    EXPECT_EQ(SaveAndConfirm("Btn_RFS_1", "Btn_RFS_2"), Text(111));
    EXPECT_EQ(bench->world.outcomes.reported.back().code, ResultCode::FactoryStored);

    Bytes expected = ModuleOf(factory[21], factory[0]);
    expected[5] = 'N';
    expected[13] = 'E';
    expected[18] = 1;
    expected[22] = 1;
    for (std::size_t at : {2, 3, 6, 7, 8, 20}) { // shown from the unit
        expected[at] = factory[at];
    }
    CopyBytes(expected, factory, 23, 4);  // the muting maxima, bits 0-15
    CopyBytes(expected, factory, 75, 6);  // the production date
    CopyBytes(expected, factory, 87, 2);  // SW version
    CopyBytes(expected, factory, 203, 2); // the muting maxima, bits 16-23
    PutText(expected, 85, 2, "23");
    PutText(expected, 89, 10, "FAB0042");
    PutText(expected, 99, 20, type);
    PutText(expected, 119, 10, "QA7");
    PutText(expected, 129, 60, "Lot 17/B");
    expected[201] = 1;
    expected[202] = 40;
    expected[205] = 0;
    expected[206] = 'T';
    expected[207] = '2';
    bench->world.controller.Codec().WriteChecksum(expected, BlockKind::Factory, Layout::Long);
    EXPECT_EQ(bench->world.device->FactoryRecord(), expected);
}

// The emitter's factory record with the customer record that goes with it.
TEST_F(FactoryPage, EmitterEditsAreStoredWithAFreshCustomerRecord) {
    sim::ControllerConfig config;
    config.unit = sim::Unit::Emitter;
    OpenFactory(config);
    EXPECT_EQ(bench->Find<QTabWidget>("TbCntrl_FabSet")->currentIndex(), 0);
    EXPECT_FALSE(Enabled("Btn_RFS_1"));
    EXPECT_TRUE(Enabled("Btn_EFS_1"));
    EXPECT_TRUE(Enabled("Btn_EFS_3"));

    Type("Edt_EFS_12", "E-77");
    Type("Edt_EFS_13", "QA8");
    Type("Edt_EFS_21", "Emitter 14/300");
    bench->Click("RdBtn_EFS_32");
    EXPECT_FALSE(bench->Find<QAbstractButton>("RdBtn_EFS_31")->isChecked());

    EXPECT_EQ(SaveAndConfirm("Btn_EFS_1", "Btn_EFS_2"), Text(111));
    EXPECT_EQ(bench->world.outcomes.reported.back().code, ResultCode::EmitterFactoryStored);

    const Bytes module = ModuleOf(factory[2], factory[0]);
    Bytes expected(64, 0);
    expected[0] = module[0];
    expected[1] = static_cast<std::uint8_t>(~module[0]);
    expected[2] = module[21];
    expected[3] = 2;
    expected[4] = static_cast<std::uint8_t>(~2);
    const std::uint8_t filler[] = {255, 0, 255, 0, 255, 0, 255};
    std::copy(std::begin(filler), std::end(filler), expected.begin() + 5);
    CopyBytes(expected, factory, 12, 8); // the production date and the version
    PutText(expected, 20, 10, "E-77");
    PutText(expected, 30, 20, "Emitter 14/300");
    PutText(expected, 50, 10, "QA8");
    sim::WriteEmitterChecksum(expected);
    EXPECT_EQ(bench->world.device->FactoryRecord(), expected);
    EXPECT_EQ(bench->world.device->ActiveCustomerRecord(), EmitterByHand(false));
}

// Ten seconds pass unconfirmed: the message, nothing sent, and the save button back.
TEST_F(FactoryPage, UnconfirmedSaveRunsOutWithNothingSent) {
    OpenFactory(Receiver());
    auto* confirm = bench->Find<QPushButton>("Btn_RFS_2");
    const auto caption = [&](int seconds) {
        return QString::fromStdString(bench->world.texts.GetTextInt(2002, seconds));
    };
    EXPECT_EQ(confirm->text(), caption(10));
    Type("Edt_RFS_12", "FAB0043");
    bench->Click("Btn_RFS_1");
    EXPECT_FALSE(Enabled("Btn_RFS_1"));
    bench->Run(1500);
    EXPECT_EQ(confirm->text(), caption(9));
    EXPECT_EQ(bench->Find<QPushButton>("Btn_EFS_2")->text(), confirm->text());
    bench->Run(8600); // 10.1 s after the save
    EXPECT_FALSE(confirm->isEnabled());
    EXPECT_EQ(confirm->text(), caption(10));
    EXPECT_TRUE(bench->RunUntil([&] { return !bench->Messages().empty(); }));
    EXPECT_EQ(bench->Messages(), std::vector<std::string>{Text(123)});
    EXPECT_EQ(bench->world.outcomes.reported.back().code, ResultCode::ConfirmationExpired);
    EXPECT_TRUE(bench->RunUntil([&] { return Enabled("Btn_RFS_1"); }));
    confirm->click();
    bench->Run(3000);
    EXPECT_EQ(bench->world.device->FactoryRecord(), factory);
}

// A field left empty is named, gets the caret, and nothing waits for confirmation; the
// buttons that leave or reload the page do so.
TEST_F(FactoryPage, RefusedSaveNamesTheFieldAndOtherButtonsAct) {
    OpenFactory(Receiver());
    bench->Grab(); // shown, so that a field can take the focus
    Type("Edt_RFS_13", "");
    bench->Click("Btn_RFS_1");
    EXPECT_EQ(bench->Messages(),
              std::vector<std::string>{"The field 'Tester' was not filled out!"});
    EXPECT_TRUE(bench->Find<QWidget>("Edt_RFS_13")->hasFocus());
    EXPECT_FALSE(Enabled("Btn_RFS_2"));
    EXPECT_TRUE(Enabled("Btn_RFS_1"));

    bench->Click("Btn_RFS_5"); // update: the unit's record again
    EXPECT_EQ(Shown("Edt_RFS_13"),
              bench->world.controller.ReceiverFactory().Text(ReceiverFactoryField::Tester));
    bench->Click("Btn_RFS_4");
    EXPECT_EQ(bench->Mode(), ViewMode::History);
}

} // namespace
} // namespace lcdiag::test
