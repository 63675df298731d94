#include "GuiTestSupport.h"
#include "core/editors/SaveConfirmation.h"
#include "gui/app/TPictureBox.h"
#include "gui/views/ViewPictures.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QListWidget>
#include <QMenu>
#include <QScreen>

namespace lcdiag {
namespace {

using test::Child;
using test::MainWindowTest;

const std::string Restart = "You need to restart the program for the changes to take effect.";
constexpr std::uint32_t Factory = 16 | BuildVariant::ManufacturerBit;

struct Variant {
    std::uint32_t word;
    const char* caption;
};

class BuildVariants : public MainWindowTest, public ::testing::WithParamInterface<Variant> {};

TEST_P(BuildVariants, CaptionAndItemsFollowTheVariant) {
    const BuildVariant variant{GetParam().word};
    auto window = MakeWindow(variant.word);
    EXPECT_EQ(window->windowTitle().toStdString(), GetParam().caption);
    for (const char* name : {"MNU_F1", "MNU_F2", "MNU_F3"}) {
        EXPECT_EQ(Item(*window, name)->isVisible(), variant.ExtendedFunctions()) << name;
    }
    for (const char* name : {"MNU_P3", "MNU_P4"}) {
        EXPECT_EQ(Item(*window, name)->isVisible(), variant.ManufacturerFunctions()) << name;
    }
    // Absent items keep their places: the texts do not depend on the variant.
    EXPECT_EQ(Item(*window, "MNU_F4")->text(), QString("Language"));
    EXPECT_EQ(Item(*window, "MNU_V52")->text(), QString("Position"));
    EXPECT_EQ(Item(*window, "MNU_P7")->text(), QString("Calculation safety distance"));
    EXPECT_EQ(window->windowIcon().availableSizes().size(), 7); // 16 to 256 pixels
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, BuildVariants,
    ::testing::Values(Variant{BuildVariant::Delivered, "DVX-DVY 710, 712, 715"},
                      Variant{16u | BuildVariant::ExtendedBit, "DVX-DVY 710, 712, 715 Pro"},
                      Variant{16u | BuildVariant::ExtendedBit | BuildVariant::ManufacturerBit,
                              "DVX-DVY 710, 712, 715 Pro - Manufacturer version"}));

TEST_F(MainWindowTest, ViewSwitchesShowTheirPicturesAndControls) {
    auto window = MakeWindow();
    ASSERT_EQ(window->CurrentViewMode(), ViewMode::Bar);
    auto* image = Child<TPictureBox>(*window, "Img_Main");
    EXPECT_EQ(image->Picture().size(), window->ViewSize());
    window->Timer1Timer(); // shows what the start-up drew for the unit
    EXPECT_EQ(image->Picture(), window->Pictures().BarPicture());
    EXPECT_TRUE(window->SetViewMode(ViewMode::Bar));
    EXPECT_TRUE(Visible(*window, "ScrlBr1"));

    Click(*window, "MNU_V2");
    EXPECT_EQ(window->CurrentViewMode(), ViewMode::Status);
    EXPECT_EQ(image->Picture(), window->Pictures().StatusPicture());
    EXPECT_FALSE(Visible(*window, "ScrlBr1"));
    Click(*window, "MNU_V3");
    EXPECT_EQ(window->CurrentViewMode(), ViewMode::Lines);
    EXPECT_FALSE(Visible(*window, "ChckBx_Main_1")); // beam diagnostics: manufacturer only
    EXPECT_TRUE(window->SetViewMode(ViewMode::BeamSelection)); // the beam selection, a manual one
    EXPECT_TRUE(Visible(*window, "Img_Main"));
    EXPECT_EQ(Child<QPushButton>(*window, "Btn_Main_2")->text(), QString("OK"));
    EXPECT_FALSE(Visible(*window, "Btn_Main_1"));

    test::EnterPassword(QStringLiteral("light-curtain")); // the user settings' default password
    Click(*window, "MNU_P5");
    EXPECT_EQ(window->CurrentViewMode(), ViewMode::CustomerSettings);
    EXPECT_TRUE(Visible(*window, "Pnl_UserSetFrame"));
    window->Confirmation().Begin(SettingsWrite::ReceiverCustomer({}));
    EXPECT_TRUE(window->Confirmation().Buttons().Btn_RUS_2);
    Click(*window, "MNU_P7");
    EXPECT_EQ(window->CurrentViewMode(), ViewMode::Calculator);
    EXPECT_TRUE(Visible(*window, "Pnl_CalcSecurityDistance"));
    EXPECT_FALSE(Visible(*window, "Pnl_UserSetFrame"));
    EXPECT_FALSE(window->Confirmation().Buttons().Btn_RUS_2); // nothing confirmed elsewhere
}

TEST_F(MainWindowTest, FactorySettingsOnlyWithManufacturerFunctionsAndTheSameModeIsANoOp) {
    auto delivered = MakeWindow();
    for (ViewMode refused : {ViewMode::FactorySettings, ViewMode{9}, ViewMode::None}) {
        EXPECT_FALSE(delivered->SetViewMode(refused)) << static_cast<int>(refused);
    }
    EXPECT_EQ(delivered->CurrentViewMode(), ViewMode::Bar);
    EXPECT_FALSE(Visible(*delivered, "Pnl_FabSetFrame"));

    auto factory = MakeWindow(Factory);
    Click(*factory, "MNU_P3");
    EXPECT_EQ(factory->CurrentViewMode(), ViewMode::FactorySettings);
    EXPECT_TRUE(Visible(*factory, "Pnl_FabSetFrame"));
    EXPECT_FALSE(Visible(*factory, "Img_Main"));
    EXPECT_TRUE(factory->SetViewMode(ViewMode::Lines));
    auto* diagnostics = Child<QCheckBox>(*factory, "ChckBx_Main_1");
    EXPECT_FALSE(diagnostics->isHidden());
    diagnostics->setChecked(true);
    EXPECT_TRUE(factory->SetViewMode(ViewMode::Lines)); // the same mode changes nothing
    EXPECT_TRUE(diagnostics->isChecked());
    EXPECT_TRUE(factory->SetViewMode(ViewMode::Lines, true));
    EXPECT_FALSE(diagnostics->isChecked());
}

TEST_F(MainWindowTest, FaultWindowMirrorsTheFaultListAndItsItemTogglesIt) {
    auto window = MakeWindow();
    auto* list = Child<QListWidget>(*window, "LstBx_Error");
    QAction* item = Item(*window, "MNU_V7");
    EXPECT_FALSE(Visible(*window, "Pnl_ErrorFrame"));

    window->Faults().AddFaults(0b101, ControllerType::Receiver); // codes 1 and 3
    window->Timer1Timer();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), QString("Fault - External Device Monitor (EDM) off"));
    EXPECT_EQ(list->item(0)->data(Qt::UserRole).toInt(), 3);
    EXPECT_EQ(list->item(1)->data(Qt::UserRole).toInt(), 1);
    EXPECT_TRUE(Visible(*window, "Pnl_ErrorFrame"));
    EXPECT_TRUE(item->isChecked());

    for (bool shown : {false, true}) {
        item->trigger();
        EXPECT_EQ(list->count(), 0);
        EXPECT_EQ(Visible(*window, "Pnl_ErrorFrame"), shown);
        EXPECT_EQ(item->isChecked(), shown);
    }
}

TEST_F(MainWindowTest, EmitterClearsTheFaultsAndHidesTheLinesViewExceptForTheManufacturer) {
    auto window = MakeWindow();
    window->Faults().AddFaults(0b1, ControllerType::Receiver);
    window->SwitchToControllerType(ControllerType::Emitter);
    EXPECT_EQ(Child<QListWidget>(*window, "LstBx_Error")->count(), 0);
    for (const char* name : {"MNU_V3", "MNU_V4", "MNU_V5"}) {
        EXPECT_FALSE(Item(*window, name)->isVisible()) << name;
    }
    window->SwitchToControllerType(ControllerType::Receiver);
    EXPECT_TRUE(Item(*window, "MNU_V3")->isVisible());

    auto factory = MakeWindow(Factory);
    factory->SwitchToControllerType(ControllerType::Emitter);
    EXPECT_TRUE(Item(*factory, "MNU_V3")->isVisible());
}

TEST_F(MainWindowTest, DimensioningIsStoredOnlyWhenItChanges) {
    preferences.Store(pref::Dimensions, "7"); // not a mode: beam numbers
    auto window = MakeWindow();
    EXPECT_EQ(window->Dimensioning(), 0);
    EXPECT_TRUE(Item(*window, "MNU_V51")->isChecked());

    Click(*window, "MNU_V51");
    EXPECT_EQ(preferences.writes["Dimensions"], 0);
    Click(*window, "MNU_V52");
    Click(*window, "MNU_V52");
    EXPECT_EQ(preferences.writes["Dimensions"], 1);
    EXPECT_EQ(preferences.Read(pref::Dimensions), "1");
    EXPECT_EQ(window->Dimensioning(), 1);
    EXPECT_TRUE(Item(*window, "MNU_V52")->isChecked());
    Click(*window, "MNU_V51");
    EXPECT_EQ(preferences.writes["Dimensions"], 2);
    EXPECT_EQ(preferences.Read(pref::Dimensions), "0");
}

TEST_F(MainWindowTest, StoredProfileOfAnyContentOrTooLargeFallsBackToProfileZero) {
    for (const char* stored : {"-3", "99", "x"}) {
        preferences.Store(pref::Resolution, stored);
        EXPECT_EQ(MakeWindow()->ScreenProfileIndex(), 0) << stored;
    }
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    ASSERT_TRUE(screen.width() < 1440 || screen.height() < 900) << "profile 4 must not fit";
    preferences.Store(pref::Resolution, "4");
    auto window = MakeWindow();
    EXPECT_EQ(window->ScreenProfileIndex(), 0);
    EXPECT_TRUE(Item(*window, "MNU_Res0")->isChecked());
    EXPECT_FALSE(Item(*window, "MNU_Res4")->isEnabled());
    EXPECT_FALSE(Item(*window, "MNU_Res4")->isChecked());
    EXPECT_LE(window->width(), screen.width());
    EXPECT_LE(window->height(), screen.height());
    EXPECT_EQ(window->Pictures().BarPicture().size(), window->ViewSize());

    dialogs.shown.clear();
    Click(*window, "MNU_Res0"); // choosing a profile stores it and asks for a restart
    EXPECT_EQ(preferences.Read(pref::Resolution), "0");
    EXPECT_EQ(Messages(), std::vector<std::string>{Restart});
    EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Information);
}

TEST_F(MainWindowTest, LanguageMenuListsTheBuiltinLanguageAndStoresTheChoice) {
    auto window = MakeWindow();
    const QList<QAction*> items = Child<QMenu>(*window, "MNU_F4")->actions();
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0]->text(), QString("English"));
    EXPECT_TRUE(items[0]->isChecked());

    dialogs.shown.clear();
    items[0]->trigger();
    EXPECT_EQ(preferences.Read(pref::Lang), "");
    EXPECT_EQ(Messages(), std::vector<std::string>{Restart});
    EXPECT_EQ(Item(*window, "MNU_F6")->text(), QString("End")); // captioned again
}

} // namespace
} // namespace lcdiag
