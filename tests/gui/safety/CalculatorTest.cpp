#include "../QtTestSupport.h"
#include "gui/safety/CalcSafetyDistance.h"
#include "gui/safety/InstallationSketch.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace lcdiag {
namespace {

using test::Child;

const QColor Red(255, 0, 0);

class CalculatorTest : public test::RecordedMessages {
protected:
    CalculatorTest() { page.show(); }

    void Type(const char* field, const char* text) {
        Child<QLineEdit>(page, field)->setText(QString::fromLatin1(text));
    }
    QString Field(const char* name) { return Child<QLineEdit>(page, name)->text(); }
    bool IsRed(const char* label) {
        return Child<QLabel>(page, label)->palette().color(QPalette::WindowText) == Red;
    }

    TCalcSafetyDistance page{texts, 0, QSize(784, 538)};
};

TEST_F(CalculatorTest, EveryChangeRecalculatesAndOpeningAgainRestoresTheDefaults) {
    Type("Edt_CSD_11", "30");
    Type("Edt_CSD_13", "250");
    Type("Edt_CSD_14", "50");
    EXPECT_EQ(Field("Edt_CSD_15"), "300");
    EXPECT_EQ(Field("Edt_CSD_16"), "608 (K = 1,6m/s)");
    Type("Edt_CSD_12", "5000");
    EXPECT_EQ(Field("Edt_CSD_17"), "219");
    Child<QRadioButton>(page, "RdBtn_CSD_111")->click();
    EXPECT_EQ(Field("Edt_CSD_17"), "438");

    Type("Edt_CSD_12", ""); // opening again forgets the entries
    page.InitCSD();
    EXPECT_EQ(Field("Edt_CSD_11"), "14");
    EXPECT_EQ(Field("Edt_CSD_12"), "300");
    EXPECT_TRUE(Child<QRadioButton>(page, "RdBtn_CSD_112")->isChecked());
    EXPECT_FALSE(IsRed("Lbl_CSD_13"));
    EXPECT_EQ(Field("Edt_CSD_16"), "100");
    EXPECT_EQ(Field("Edt_CSD_17"), "131");
}

TEST_F(CalculatorTest, InvalidInputsTurnTheirLabelsRedAndEmptyWhatDependsOnThem) {
    Type("Edt_CSD_11", "41");
    EXPECT_TRUE(IsRed("Lbl_CSD_12"));
    EXPECT_EQ(Field("Edt_CSD_16"), "");
    EXPECT_EQ(Field("Edt_CSD_15"), "0");

    Type("Edt_CSD_13", "-5");
    EXPECT_TRUE(IsRed("Lbl_CSD_14"));
    EXPECT_EQ(Field("Edt_CSD_15"), "");
    EXPECT_EQ(Field("Edt_CSD_17"), "131");

    Type("Edt_CSD_12", "");
    EXPECT_TRUE(IsRed("Lbl_CSD_13"));
    EXPECT_EQ(Field("Edt_CSD_17"), "");
    Type("Edt_CSD_14", "ten");
    EXPECT_TRUE(IsRed("Lbl_CSD_15"));

    Type("Edt_CSD_11", "40");
    Type("Edt_CSD_13", "0");
    Type("Edt_CSD_14", "0");
    EXPECT_FALSE(IsRed("Lbl_CSD_12"));
    EXPECT_FALSE(IsRed("Lbl_CSD_14"));
    EXPECT_FALSE(IsRed("Lbl_CSD_15"));
    EXPECT_EQ(Field("Edt_CSD_16"), "208");
}

TEST_F(CalculatorTest, ButtonsShowThePointersLeaveAndTakeTheDevicesResolution) {
    Child<QPushButton>(page, "Btn_CSD_1")->click();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Information);
    EXPECT_EQ(dialogs.shown[0].text.rfind("Attention!", 0), 0u);

    int exits = 0;
    page.onExit = [&] { ++exits; };
    Child<QPushButton>(page, "Btn_CSD_2")->click();
    EXPECT_EQ(exits, 1);

    std::string resolution = "xx";
    page.deviceResolution = [&] { return resolution; };
    page.InitCSD();
    auto* take = Child<QPushButton>(page, "Btn_CSD_3");
    EXPECT_FALSE(take->isVisible());
    resolution = "30";
    page.InitCSD();
    ASSERT_TRUE(take->isVisible());
    EXPECT_EQ(Field("Edt_CSD_11"), "14"); // offered, not taken
    take->click();
    EXPECT_EQ(Field("Edt_CSD_11"), "30");
}

TEST(InstallationSketch, HasItsSizeAndItsParts) {
    const Texts texts;
    const QImage sketch = DrawInstallationSketch(texts, 0, 784);
    ASSERT_EQ(sketch.size(), QSize(392, 216));
    EXPECT_EQ(sketch.pixel(20, 10), qRgb(0, 0, 0));      // the danger zone's outline
    EXPECT_EQ(sketch.pixel(24, 3), qRgb(191, 191, 191)); // its grey between the hatching
    EXPECT_EQ(sketch.pixel(14, sketch.height() * 2 / 3), qRgb(255, 255, 0)); // the emitter
    EXPECT_EQ(sketch.pixel(sketch.width() - 14, sketch.height() * 2 / 3), qRgb(255, 255, 0));
    EXPECT_EQ(DrawInstallationSketch(texts, 4, 1424).size(), QSize(712, 376));
}

} // namespace
} // namespace lcdiag
