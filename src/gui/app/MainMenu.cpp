// The main window's menu: its items, their text ids and tags, and their handlers.
#include "core/app/LanguageSelection.h"
#include "core/app/Preferences.h"
#include "core/app/ScreenProfile.h"
#include "core/app/Texts.h"
#include "gui/app/MessageBoxes.h"
#include "gui/app/TFRM_About.h"
#include "gui/app/TFRM_Main.h"
#include "gui/editors/ConfigFileCommands.h"
#include "platform/serial/DeviceList.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>

namespace lcdiag {
namespace {

constexpr TextId MsgPasswordChanged = 155;
constexpr TextId MsgRestartNeeded = 175;
constexpr TextId ManufacturerVersion = 1002;
constexpr TextId ConnectCaption = 5700;
constexpr TextId DisconnectCaption = 5701;
constexpr TextId CheckConnection = 9040;
constexpr TextId TxtRecordSession = 9100;
constexpr TextId TxtStopRecording = 9101;

enum class Kind { Command, Separator, SubMenu, Check, Radio };
enum class Needs { Nothing, ExtendedFunctions, ManufacturerFunctions };

struct MenuItemDef {
    const char* name;
    int tag;
    Kind kind;
    Needs needs = Needs::Nothing;
    std::vector<MenuItemDef> children = {};
};

using MenuHandler = void (TFRM_Main::*)(QAction*);

struct MenuDef {
    const char* name;
    MenuHandler handler;
    std::vector<MenuItemDef> items;
};

// The menus in the order of the menu bar; "MNU_Connect" follows them as a command of the bar.
// Captions come from the text ids, which follow from the positions (see MenuTextId).
const std::vector<MenuDef>& MenuTable() {
    using enum Kind;
    static const std::vector<MenuDef> table = {
        {"MNU_File",
         &TFRM_Main::MNU_FileClick,
         {{"MNU_F1", 1, Command, Needs::ExtendedFunctions},
          {"MNU_F2", 2, Command, Needs::ExtendedFunctions},
          {"MNU_F3", 3, Separator, Needs::ExtendedFunctions},
          {"MNU_F4", 4, SubMenu},
          {"MNU_F5", 5, Separator},
          {"MNU_F6", 6, Command}}},
        {"MNU_View",
         &TFRM_Main::MNU_ViewClick,
         {{"MNU_V1", 1, Command},
          {"MNU_V2", 2, Command},
          {"MNU_V3", 3, Command},
          {"MNU_V4", 4, Separator},
          {"MNU_V5", 5, SubMenu, Needs::Nothing, {{"MNU_V51", 51, Radio}, {"MNU_V52", 52, Radio}}},
          {"MNU_V6", 6, Separator},
          {"MNU_V7", 7, Check}}},
        {"MNU_Param",
         &TFRM_Main::MNU_ParamClick,
         {{"MNU_P1", 1, Command},
          {"MNU_P2", 2, Separator},
          {"MNU_P3", 3, Command, Needs::ManufacturerFunctions},
          {"MNU_P4", 4, Separator, Needs::ManufacturerFunctions},
          {"MNU_P5", 5, Command},
          {"MNU_P6", 6, Separator},
          {"MNU_P7", 7, Command}}},
        {"MNU_PSet", &TFRM_Main::MNU_PSetClick, {{"MNU_PS1", 1, SubMenu}}},
        {"MNU_Res", &TFRM_Main::MNU_ResClick, {}},
        {"MNU_Info", &TFRM_Main::MNU_InfoClick, {{"MNU_I1", 1, Command}}},
    };
    return table;
}

bool Present(Needs needs, const BuildVariant& variant) {
    switch (needs) {
    case Needs::Nothing:
        return true;
    case Needs::ExtendedFunctions:
        return variant.ExtendedFunctions();
    case Needs::ManufacturerFunctions:
        return variant.ManufacturerFunctions();
    }
    return true;
}

// Top-level items are 5000 + 100 x position (from 1); below an id that is a multiple of 100
// the items are that id + 10 x position, below any other id that id + position.
TextId MenuTextId(TextId parent, int position) {
    const auto step = static_cast<TextId>(position);
    if (parent == 0) {
        return 5000 + 100 * step;
    }
    return parent % 100 == 0 ? parent + 10 * step : parent + step;
}

// Captions only where the language or the built-in table holds the id; separators stay.
void CaptionItems(const Texts& texts, const QList<QAction*>& items, TextId parent) {
    int position = 0;
    for (QAction* item : items) {
        const TextId id = MenuTextId(parent, ++position);
        item->setProperty("textId", id);
        if (!item->isSeparator() && texts.TextExists(id)) {
            item->setText(QString::fromStdString(texts.GetText(id)));
        }
        if (QMenu* menu = item->menu()) {
            CaptionItems(texts, menu->actions(), id);
        }
    }
}

// A caption made of data (a language's or a port's name): "&" is no shortcut mark there.
QString DataCaption(const std::string& text) {
    return QString::fromStdString(text).replace(QLatin1Char('&'), QLatin1String("&&"));
}

// The simulated devices in the port menu, after the ports; their tags are below the adapter's.
struct SimulatedPortItem {
    const char* name;
    int tag;
    ControllerType unit;
};
constexpr SimulatedPortItem SimulatedPortItems[] = {
    {"MNU_SimReceiver", 1, ControllerType::Receiver},
    {"MNU_SimEmitter", 2, ControllerType::Emitter},
};

int TagOf(const QAction* item) {
    return item->property("tag").toInt();
}

QAction* AddRadioItem(QMenu* menu, QActionGroup* group, const QString& caption, int tag) {
    QAction* item = menu->addAction(caption);
    item->setProperty("tag", tag);
    item->setCheckable(true);
    group->addAction(item);
    return item;
}

// Builds the items of one container (the menu bar or a menu); every command reports to the
// handler of its top-level menu.
class MenuBuilder {
public:
    MenuBuilder(TFRM_Main& window, const BuildVariant& variant)
        : window_(window), variant_(variant) {}

    void AddMenu(QMenuBar* bar, const MenuDef& entry) {
        auto* menu = new QMenu(bar);
        menu->setObjectName(QString::fromLatin1(entry.name));
        menu->menuAction()->setObjectName(menu->objectName());
        bar->addMenu(menu);
        AddItems(menu, entry.items, entry.handler);
    }

private:
    void AddItems(QMenu* menu, const std::vector<MenuItemDef>& items, MenuHandler handler) {
        QActionGroup* radios = nullptr;
        for (const MenuItemDef& entry : items) {
            QAction* item = AddItem(menu, entry, handler);
            if (entry.kind == Kind::Radio) {
                radios = radios != nullptr ? radios : new QActionGroup(menu);
                radios->addAction(item);
            }
            item->setObjectName(QString::fromLatin1(entry.name));
            item->setProperty("tag", entry.tag);
            item->setVisible(Present(entry.needs, variant_));
        }
    }

    QAction* AddItem(QMenu* menu, const MenuItemDef& entry, MenuHandler handler) {
        if (entry.kind == Kind::SubMenu) {
            auto* sub = new QMenu(menu);
            sub->setObjectName(QString::fromLatin1(entry.name));
            menu->addMenu(sub);
            AddItems(sub, entry.children, handler);
            return sub->menuAction();
        }
        if (entry.kind == Kind::Separator) {
            return menu->addSeparator();
        }
        QAction* item = menu->addAction(QString());
        item->setCheckable(entry.kind == Kind::Check || entry.kind == Kind::Radio);
        TFRM_Main* window = &window_;
        QObject::connect(item, &QAction::triggered, window,
                         [window, item, handler] { (window->*handler)(item); });
        return item;
    }

    TFRM_Main& window_;
    const BuildVariant& variant_;
};

} // namespace

void TFRM_Main::BuildMenu() {
    menuBar()->setObjectName(QStringLiteral("MnMn_Main"));
    MenuBuilder builder(*this, variant_);
    for (const MenuDef& entry : MenuTable()) {
        builder.AddMenu(menuBar(), entry);
    }
    connect(SubMenu("MNU_PS1"), &QMenu::aboutToShow, this, &TFRM_Main::BuildPortMenu);
    QMenu* portChoice = SubMenu("MNU_PSet");
    portChoice->addSeparator();
    QAction* check = portChoice->addAction(QString());
    check->setObjectName(QStringLiteral("MNU_CheckConnection"));
    connect(check, &QAction::triggered, this, &TFRM_Main::MNU_CheckConnectionClick);
    QAction* record = portChoice->addAction(QString());
    record->setObjectName(QStringLiteral("MNU_RecordSession"));
    connect(record, &QAction::triggered, this, &TFRM_Main::MNU_RecordSessionClick);
    // The item says what it does now: start, or stop the recording running.
    connect(portChoice, &QMenu::aboutToShow, this, [this, record] {
        record->setText(QString::fromStdString(
            texts_.GetText(recorder_->Recording() ? TxtStopRecording : TxtRecordSession)));
    });
    QAction* connectItem = menuBar()->addAction(QString());
    connectItem->setObjectName(QStringLiteral("MNU_Connect"));
    connect(connectItem, &QAction::triggered, this, &TFRM_Main::MNU_ConnectClick);
}

// Captions every item from its text id; again after a language change. The connect item
// keeps saying what it does now.
void TFRM_Main::CaptionMenu() {
    CaptionItems(texts_, menuBar()->actions(), 0);
    Item("MNU_CheckConnection")->setText(QString::fromStdString(texts_.GetText(CheckConnection)));
    Item("MNU_RecordSession")
        ->setText(QString::fromStdString(
            texts_.GetText(recorder_->Recording() ? TxtStopRecording : TxtRecordSession)));
    const bool connected = activePort_ != nullptr && activePort_->Connected();
    SetConnectCaption(connected ? DisconnectCaption : ConnectCaption);
}

QAction* TFRM_Main::Item(const char* name) const {
    return findChild<QAction*>(QString::fromLatin1(name));
}

QMenu* TFRM_Main::SubMenu(const char* name) const {
    return findChild<QMenu*>(QString::fromLatin1(name));
}

void TFRM_Main::SetConnectCaption(TextId id) {
    Item("MNU_Connect")->setText(QString::fromStdString(texts_.GetText(id)));
}

// The screen profiles as radio items; a profile larger than the screen cannot be chosen.
void TFRM_Main::BuildResolutionMenu(const QSize& screen) {
    QMenu* menu = SubMenu("MNU_Res");
    auto* group = new QActionGroup(menu);
    for (int index = 0; index < ScreenProfileCount; ++index) {
        const std::string_view caption = GetScreenProfile(index).caption;
        QAction* item = AddRadioItem(
            menu, group, QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())),
            index);
        item->setObjectName(QStringLiteral("MNU_Res%1").arg(index));
        item->setEnabled(ProfileFitsScreen(index, screen.width(), screen.height()));
        item->setChecked(index == profile_);
        connect(item, &QAction::triggered, this, [this, item] { MNU_ResClick(item); });
    }
}

// "USB" (with adapter support), the serial ports, then the simulated receiver and emitter
// under "Choose port" > "Port", the one in use checked. Built afresh whenever the menu opens
// and when a port comes or goes; the items it replaces go once their clicks are handled.
void TFRM_Main::BuildPortMenu() {
    QMenu* menu = SubMenu("MNU_PS1");
    portGroup_ = portGroup_ != nullptr ? portGroup_ : new QActionGroup(menu);
    for (QAction* old : menu->actions()) {
        menu->removeAction(old);
        portGroup_->removeAction(old);
        old->deleteLater();
    }
    portItems_ =
        InitPorts(PortChoice(), devices_ ? EnumComPorts(*devices_) : std::vector<std::string>(),
                  devices_ != nullptr);
    for (const TPortMenuItem& entry : portItems_) {
        if (entry.Tag == 0) {
            menu->addSeparator();
            continue;
        }
        QAction* item = AddRadioItem(menu, portGroup_, DataCaption(entry.Caption), entry.Tag);
        item->setChecked(entry.Checked && !simulated_ && !replay_);
        item->setEnabled(!replay_); // a replay's line clock may run ahead of the program's
        connect(item, &QAction::triggered, this, [this, item] { MNU_PSetClick(item); });
    }
    menu->addSeparator();
    for (const SimulatedPortItem& entry : SimulatedPortItems) {
        QAction* item = AddRadioItem(
            menu, portGroup_, QString::fromStdString(SimulatedPortCaption(entry.unit)), entry.tag);
        item->setObjectName(QString::fromLatin1(entry.name));
        item->setChecked(simulated_ && simulatedUnit_ == entry.unit);
        item->setEnabled(!replay_);
        connect(item, &QAction::triggered, this, [this, item] { MNU_PSetClick(item); });
    }
}

void TFRM_Main::BuildLanguageMenu() {
    QMenu* menu = SubMenu("MNU_F4");
    auto* group = new QActionGroup(menu);
    for (const LanguageMenuItem& entry : LanguageMenuItems(locale_)) {
        QAction* item = AddRadioItem(menu, group, DataCaption(entry.caption), entry.tag);
        item->setChecked(entry.checked);
        connect(item, &QAction::triggered, this, [this, item] { MNU_LangClick(item); });
    }
}

void TFRM_Main::MNU_FileClick(QAction* item) {
    switch (TagOf(item)) {
    case 1:
        if (variant_.ExtendedFunctions()) {
            configFiles_->Import();
        }
        break;
    case 2:
        if (variant_.ExtendedFunctions()) {
            configFiles_->Export();
        }
        break;
    case 6:
        close();
        break;
    default:
        break;
    }
}

void TFRM_Main::MNU_ViewClick(QAction* item) {
    switch (TagOf(item)) {
    case 1:
        SetViewMode(ViewMode::Bar);
        break;
    case 2:
        SetViewMode(ViewMode::Status);
        break;
    case 3:
        SetViewMode(ViewMode::Lines);
        break;
    case 51:
    case 52:
        SetDimensioning(TagOf(item) - 51);
        break;
    case 7:
        Faults().ToggleWindow();
        SyncFaultWindow();
        break;
    default:
        break;
    }
}

// Dimensioning by beam number (0) or position (1); stored and redrawn only when it changed.
void TFRM_Main::SetDimensioning(int mode) {
    Item(mode == 0 ? "MNU_V51" : "MNU_V52")->setChecked(true);
    if (mode == dimensioning_) {
        return;
    }
    dimensioning_ = mode;
    RegWriteInteger(*setup_.preferences, PreferenceKeyPath(), pref::Dimensions, mode);
    RequestRedraw();
}

void TFRM_Main::MNU_ParamClick(QAction* item) {
    switch (TagOf(item)) {
    case 1: {
        const int result = ShowPasswordDialog(PasswordMode::ChangePassword);
        if (result == 1 || result == 2) {
            texts_.ShowMessageId(msg::Information | MsgPasswordChanged);
        }
        break;
    }
    case 3:
        SetViewMode(ViewMode::FactorySettings);
        break;
    case 5:
        SetViewMode(ViewMode::CustomerSettings);
        break;
    case 7:
        SetViewMode(ViewMode::Calculator);
        break;
    default:
        break;
    }
}

void TFRM_Main::MNU_InfoClick(QAction* item) {
    if (TagOf(item) != 1) {
        return;
    }
    TFRM_About about(texts_, this);
    about.SetUp({products_.windowTitle, products_.productLabel, products_.deviceName,
                 variant_.ManufacturerFunctions() ? texts_.GetText(ManufacturerVersion) : ""});
    about.exec();
}

// Switches the port; the choice is stored once the port took it (a simulated device is never
// stored). A port that cannot be opened is reported and leaves the previous choice; so does
// any choice before the factory password. The menu then checks the port in use.
void TFRM_Main::MNU_PSetClick(QAction* item) {
    const int tag = TagOf(item);
    const auto simulated =
        std::find_if(std::begin(SimulatedPortItems), std::end(SimulatedPortItems),
                     [tag](const SimulatedPortItem& entry) { return entry.tag == tag; });
    const auto entry = std::find_if(portItems_.begin(), portItems_.end(),
                                    [tag](const TPortMenuItem& port) { return port.Tag == tag; });
    if (FactoryPasswordOutstanding()) {
        // nothing reaches a device before the factory password
    } else if (simulated != std::end(SimulatedPortItems)) {
        ChooseSimulatedDevice(simulated->unit);
    } else if (entry != portItems_.end()) {
        ChooseSerialPort(TPortMenuItem(*entry)); // a copy: the list is renewed meanwhile
    }
    BuildPortMenu();
    SyncLinkStatus();
}

void TFRM_Main::MNU_ResClick(QAction* item) {
    RegWriteInteger(*setup_.preferences, PreferenceKeyPath(), pref::Resolution, TagOf(item));
    texts_.ShowMessageId(msg::Information | MsgRestartNeeded);
    item->setChecked(true);
}

void TFRM_Main::MNU_LangClick(QAction* item) {
    if (ChooseLanguage(locale_, TagOf(item), *setup_.preferences, texts_)) {
        item->setChecked(true);
        CaptionMenu();
    }
}

} // namespace lcdiag
