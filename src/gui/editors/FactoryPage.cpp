#include "gui/editors/FactoryPage.h"

#include "core/app/ScreenProfile.h"
#include "core/app/Texts.h"
#include "core/protocol/ConnectionController.h"
#include "gui/safety/UiText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStringList>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <string_view>

namespace lcdiag {
namespace {

using enum FactoryControl;
using Kind = FactoryControlKind;
constexpr FactoryPage R = FactoryPage::Receiver;
constexpr FactoryPage E = FactoryPage::Emitter;

constexpr int PageFont = 10; // the view font the pages take their size from
constexpr TextId EmitterTab = 1040;
constexpr TextId ReceiverTab = 1041;
constexpr TextId ConfirmCaption = 2002;
constexpr TextId AllowedCaption = 2084;
constexpr TextId NoWorkParameters = 118;
constexpr int ColumnCount = 3;
constexpr int EditMargins = 16; // an edit's frame and the margins of its text

// The group boxes of both pages, each holding the controls from `first` to `last` of the
// table, stacked in their column.
struct GroupPlace {
    FactoryPage page;
    const char* name;
    TextId caption;
    FactoryControl first;
    FactoryControl last;
    int column;
};
constexpr GroupPlace Groups[] = {
    {R, "GrpBx_RFS_1", 2010, Edt_RFS_11, Edt_RFS_16, 0},
    {R, "GrpBx_RFS_3", 2030, Edt_RFS_31, Edt_RFS_32, 0},
    {R, "GrpBx_RFS_2", 2020, CmbBx_RFS_21, CmbBx_RFS_24, 1},
    {R, "GrpBx_RFS_4", 2040, Edt_RFS_41, Edt_RFS_43, 1},
    {R, "GrpBx_RFS_5", 2050, Edt_RFS_51, Edt_RFS_51, 2},
    {R, "GrpBx_RFS_6", 2060, Edt_RFS_61, Edt_RFS_61, 2},
    {R, "GrpBx_RFS_7", 2070, Edt_RFS_71, Edt_RFS_71, 2},
    {R, "GrpBx_RFS_8", 2080, M_RFS_81, ChckBx_RFS_81, 2},
    {E, "GrpBx_EFS_1", 2010, Edt_EFS_11, Edt_EFS_14, 0},
    {E, "GrpBx_EFS_3", 2090, RdBtn_EFS_31, RdBtn_EFS_33, 0},
    {E, "GrpBx_EFS_2", 2020, CmbBx_EFS_21, Edt_EFS_22, 1},
};

// The versions are entered as a digit, a point and a digit; what follows from the model or the
// unit's counter is shown, not entered.
constexpr FactoryControl Masked[] = {Edt_RFS_14, Edt_RFS_15, Edt_EFS_14};
constexpr FactoryControl ReadOnly[] = {Edt_RFS_16, Edt_RFS_22, Edt_EFS_22};

enum Action { SaveAction, ConfirmAction, DefaultsAction, HistoryAction, UpdateAction };
struct ButtonPlace {
    const char* name;
    TextId caption;
    Action action;
};
constexpr ButtonPlace ReceiverButtons[] = {{"Btn_RFS_1", 2001, SaveAction},
                                           {"Btn_RFS_2", ConfirmCaption, ConfirmAction},
                                           {"Btn_RFS_3", 2003, DefaultsAction},
                                           {"Btn_RFS_4", 2004, HistoryAction},
                                           {"Btn_RFS_5", 2005, UpdateAction}};
constexpr ButtonPlace EmitterButtons[] = {{"Btn_EFS_1", 2001, SaveAction},
                                          {"Btn_EFS_2", ConfirmCaption, ConfirmAction},
                                          {"Btn_EFS_3", 2005, UpdateAction},
                                          {"Btn_EFS_4", 2004, HistoryAction}};

template <typename W> W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

template <std::size_t N> bool Among(const FactoryControl (&list)[N], FactoryControl control) {
    return std::ranges::find(list, control) != std::end(list);
}

std::size_t IndexOf(FactoryControl control) {
    return static_cast<std::size_t>(control);
}

// Texts taken from the records are in the PC's 8-bit character set, where every byte is a
// character; what the user types goes back the same way.
QString FromBytes(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToBytes(const QString& text) {
    return text.toLatin1().toStdString();
}

TransferKind KindOf(FactoryPage page) {
    return page == R ? TransferKind::ReceiverFactory : TransferKind::EmitterFactory;
}

} // namespace

TFactoryPage::TFactoryPage(QFrame& panel, TPageHost& host, SaveConfirmation& confirmation,
                           int screenProfile)
    : panel_(panel), host_(host), confirmation_(confirmation),
      factory_(host.Language(), host.RecordContext().clock), timer_(&panel),
      accelerator_(timer_, factory_.Times()) {
    QObject::connect(&timer_.Timer(), &QTimer::timeout, &panel_, [this] { accelerator_.Tick(); });
    SetPointSize(panel_, ViewFont(screenProfile, PageFont).pointSize);
    tabs_ = Named(new QTabWidget(&panel_), "TbCntrl_FabSet");
    tabs_->addTab(BuildPage(E, "Pnl_EFabSet"), UiText(host_.Language(), EmitterTab));
    tabs_->addTab(BuildPage(R, "Pnl_RFabSet"), UiText(host_.Language(), ReceiverTab));
    auto* layout = new QVBoxLayout(&panel_);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(tabs_);
}

// The page's groups in their columns, the buttons below them.
QWidget* TFactoryPage::BuildPage(FactoryPage page, const char* name) {
    auto* panel = Named(new QWidget(tabs_), name); // in the page's font from the start
    auto* columns = new QHBoxLayout;
    std::array<QVBoxLayout*, ColumnCount> column{};
    for (QVBoxLayout*& stack : column) {
        stack = new QVBoxLayout;
        columns->addLayout(stack, 1);
    }
    for (const GroupPlace& place : Groups) {
        if (place.page != page) {
            continue;
        }
        auto* box =
            Named(new QGroupBox(UiText(host_.Language(), place.caption), panel), place.name);
        auto* grid = new QGridLayout(box);
        grid->setColumnStretch(0, 1);
        for (auto c = IndexOf(place.first); c <= IndexOf(place.last); ++c) {
            AddControl(*grid, FactoryControlTable()[c]);
        }
        column[static_cast<std::size_t>(place.column)]->addWidget(box);
    }
    for (QVBoxLayout* stack : column) {
        stack->addStretch(1);
    }
    auto* layout = new QVBoxLayout(panel);
    layout->addLayout(columns, 1);
    layout->addLayout(BuildButtons(page, panel));
    return panel;
}

// A label with its control on one line; a radio button or a check box carries its own caption,
// and a check box with a caption of its own has its label on the line above.
void TFactoryPage::AddControl(QGridLayout& grid, const FactoryControlRow& row) {
    QWidget* parent = grid.parentWidget();
    const std::size_t index = IndexOf(row.control);
    QWidget* widget = MakeWidget(row, parent);
    widgets_[index] = widget;
    const int line = grid.rowCount();
    const bool ownCaption = row.kind == Kind::RadioButton || row.kind == Kind::CheckBox;
    if (row.control == ChckBx_RFS_81) {
        labels_[index] =
            Named(new QLabel(UiText(host_.Language(), row.label), parent), "LbL_RFS_83");
        labels_[index]->setWordWrap(true);
        grid.addWidget(labels_[index], line, 0, 1, 3);
        grid.addWidget(widget, line + 1, 0, 1, 3);
        return;
    }
    if (ownCaption) {
        grid.addWidget(widget, line, 0, 1, 3);
        return;
    }
    labels_[index] = new QLabel(UiText(host_.Language(), row.label), parent);
    labels_[index]->setWordWrap(true); // a long label takes two lines in a narrow column
    grid.addWidget(labels_[index], line, 0);
    grid.addWidget(widget, line, 1, 1, row.kind == Kind::Time ? 1 : 2);
    if (row.kind == Kind::Time) {
        grid.addWidget(arrows_[index], line, 2);
    }
}

QWidget* TFactoryPage::MakeWidget(const FactoryControlRow& row, QWidget* parent) {
    const FactoryControl control = row.control;
    const QString caption = UiText(host_.Language(), row.label);
    switch (row.kind) {
    case Kind::Text: {
        auto* edit = Named(new QLineEdit(parent), row.objectName);
        if (Among(Masked, control)) {
            edit->setInputMask(QStringLiteral("9.9"));
        }
        if (row.maxLength > 0) {
            edit->setMaxLength(row.maxLength);
        }
        // A short number or a version is as wide as its digits, any other text at least as
        // wide as a production date.
        const bool narrow = row.maxLength > 0 && row.maxLength <= 3;
        const int width = edit->fontMetrics().horizontalAdvance(
            narrow ? QStringLiteral("0000") : QStringLiteral("00.00.0000 00:00:00"));
        if (narrow) {
            edit->setFixedWidth(width + EditMargins);
        } else {
            edit->setMinimumWidth(width + EditMargins);
        }
        edit->setReadOnly(Among(ReadOnly, control));
        QObject::connect(edit, &QLineEdit::textEdited, parent, [this, control](const QString& t) {
            factory_.SetText(control, ToBytes(t));
            ShowModel();
        });
        return edit;
    }
    case Kind::ComboBox: {
        auto* combo = Named(new QComboBox(parent), row.objectName);
        QObject::connect(combo, &QComboBox::activated, parent, [this, control](int index) {
            factory_.Choose(control, index);
            ShowModel();
        });
        return combo;
    }
    case Kind::CheckBox: {
        auto* box =
            Named(new QCheckBox(control == ChckBx_RFS_81 ? UiText(host_.Language(), AllowedCaption)
                                                         : caption,
                                parent),
                  row.objectName);
        QObject::connect(box, &QCheckBox::clicked, parent, [this, control] {
            factory_.Click(control);
            ShowModel();
        });
        return box;
    }
    case Kind::RadioButton: {
        auto* button = Named(new QRadioButton(caption, parent), row.objectName);
        button->setAutoExclusive(false); // the model keeps one of the variants selected
        QObject::connect(button, &QRadioButton::clicked, parent, [this, control] {
            factory_.Click(control);
            ShowModel();
        });
        return button;
    }
    case Kind::Number: {
        auto* number = Named(new QSpinBox(parent), row.objectName);
        QObject::connect(number, &QSpinBox::valueChanged, parent, [this, control](int value) {
            factory_.SetNumber(control, value);
            ShowModel();
        });
        return number;
    }
    case Kind::Time:
        break;
    }
    return MakeTime(row, parent);
}

// A time field's box and its arrows, named after the field.
QWidget* TFactoryPage::MakeTime(const FactoryControlRow& row, QWidget* parent) {
    const auto field =
        static_cast<int>(row.control == M_RFS_82 ? TimeFieldIndex::FactoryConveyorStop
                                                 : TimeFieldIndex::FactoryMutingCycle);
    const TimeFieldDefinition& definition = TimeFieldDefinitions[static_cast<std::size_t>(field)];
    TimeField& time = factory_.Time(row.control);
    auto* box = new TTimeBox(time, parent);
    box->setObjectName(QString::fromLatin1(definition.textBox.data(),
                                           static_cast<qsizetype>(definition.textBox.size())));
    auto* arrows = new TUpDown(time, field, accelerator_, parent);
    arrows->setObjectName(QString::fromLatin1(definition.arrows.data(),
                                              static_cast<qsizetype>(definition.arrows.size())));
    arrows->onChanged = [box] { box->Show(); };
    arrows_[IndexOf(row.control)] = arrows;
    return box;
}

QLayout* TFactoryPage::BuildButtons(FactoryPage page, QWidget* parent) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    const std::span<const ButtonPlace> places =
        page == R ? std::span<const ButtonPlace>(ReceiverButtons) : EmitterButtons;
    for (std::size_t i = 0; i < places.size(); ++i) {
        auto* button = Named(new QPushButton(UiText(host_.Language(), places[i].caption), parent),
                             places[i].name);
        (page == R ? receiverButtons_[i] : emitterButtons_[i]) = button;
        row->addWidget(button);
        const Action action = places[i].action;
        QObject::connect(button, &QPushButton::clicked, parent,
                         [this, page, action] { Act(page, action); });
    }
    return row;
}

void TFactoryPage::Act(FactoryPage page, int action) {
    switch (action) {
    case SaveAction:
        Save(page);
        break;
    case ConfirmAction:
        confirmation_.Confirm(KindOf(page));
        break;
    case DefaultsAction:
        factory_.Defaults();
        break;
    case HistoryAction:
        host_.SetViewMode(ViewMode::History);
        return;
    case UpdateAction:
        Load();
        break;
    default:
        break;
    }
    ShowModel();
    SyncButtons();
}

bool TFactoryPage::Enter(ViewMode /*previous*/) {
    if (!Load()) {
        return false;
    }
    const bool receiver = host_.Link().Unit() == ControllerType::Receiver;
    tabs_->setCurrentIndex(receiver ? 1 : 0);
    panel_.show();
    ShowModel();
    SyncButtons();
    return true;
}

void TFactoryPage::Leave() {
    panel_.hide();
}

void TFactoryPage::Sync(PageRedraw /*redraw*/) {
    SyncButtons();
}

FactorySource TFactoryPage::Source() const {
    const ConnectionController& link = host_.Link();
    return {link.ReceiverFactoryValid() ? &link.ReceiverFactory() : nullptr,
            link.EmitterFactoryValid() ? &link.EmitterFactory() : nullptr,
            link.Firmware(),
            link.LongLayout(),
            link.OperatingHours(),
            link.State() == LinkState::Diagnosis};
}

// Module data that are not whole records leave nothing to build a unit from: the program ends.
bool TFactoryPage::Load() {
    if (factory_.Load(Source())) {
        return true;
    }
    host_.Language().ShowMessageId(msg::Fault | NoWorkParameters);
    QCoreApplication::exit(1);
    return false;
}

// The record built opens the ten-second confirmation; a refused one puts the caret in the
// field the message named.
void TFactoryPage::Save(FactoryPage page) {
    std::optional<SettingsWrite> write;
    if (page == R) {
        const CustomerRecordContext context = host_.RecordContext();
        write = factory_.SaveReceiver(Source(), context.pcVersion, context.codec);
    } else {
        write = factory_.SaveEmitter();
    }
    if (write) {
        confirmation_.Begin(*write);
        return;
    }
    const std::optional<std::string> focus = factory_.TakeFocusRequest();
    for (const FactoryControlRow& row : FactoryControlTable()) {
        if (focus && *focus == row.objectName) {
            widgets_[IndexOf(row.control)]->setFocus();
        }
    }
}

void TFactoryPage::ShowModel() {
    for (const FactoryControlRow& row : FactoryControlTable()) {
        SyncControl(row);
    }
}

void TFactoryPage::SyncControl(const FactoryControlRow& row) {
    const std::size_t index = IndexOf(row.control);
    QWidget* widget = widgets_[index];
    const QSignalBlocker quiet(widget);
    const bool enabled = factory_.Enabled(row.control);
    widget->setEnabled(enabled);
    for (QWidget* companion : {static_cast<QWidget*>(labels_[index]), arrows_[index]}) {
        if (companion != nullptr) {
            companion->setEnabled(enabled);
        }
    }
    switch (row.kind) {
    case Kind::Text: {
        auto* edit = static_cast<QLineEdit*>(widget);
        const QString text = FromBytes(factory_.Text(row.control));
        if (edit->text() != text) {
            edit->setText(text);
            if (!edit->hasFocus()) {
                edit->home(false); // a long text from its start
            }
        }
        break;
    }
    case Kind::ComboBox: {
        auto* combo = static_cast<QComboBox*>(widget);
        QStringList items;
        for (const std::string& item : factory_.Items(row.control)) {
            items.append(UiText(item));
        }
        QStringList shown;
        for (int i = 0; i < combo->count(); ++i) {
            shown.append(combo->itemText(i));
        }
        if (shown != items) {
            combo->clear();
            combo->addItems(items);
        }
        combo->setCurrentIndex(factory_.Value(row.control));
        break;
    }
    case Kind::CheckBox:
    case Kind::RadioButton:
        static_cast<QAbstractButton*>(widget)->setChecked(factory_.Checked(row.control));
        break;
    case Kind::Number: {
        auto* number = static_cast<QSpinBox*>(widget);
        number->setRange(factory_.Minimum(row.control), factory_.Maximum(row.control));
        number->setValue(factory_.Value(row.control));
        break;
    }
    case Kind::Time:
        static_cast<TTimeBox*>(widget)->Show();
        break;
    }
}

// The save and confirm buttons as the confirmation holds them, counting down; "Update" while
// the unit's factory record is valid.
void TFactoryPage::SyncButtons() {
    const EditorButtons& state = confirmation_.Buttons();
    const ConnectionController& link = host_.Link();
    receiverButtons_[0]->setEnabled(state.Btn_RFS_1);
    receiverButtons_[1]->setEnabled(state.Btn_RFS_2);
    receiverButtons_[4]->setEnabled(link.ReceiverFactoryValid());
    emitterButtons_[0]->setEnabled(state.Btn_EFS_1);
    emitterButtons_[1]->setEnabled(state.Btn_EFS_2);
    emitterButtons_[2]->setEnabled(link.EmitterFactoryValid());
    const QString confirm =
        UiText(host_.Language().GetTextInt(ConfirmCaption, state.factoryConfirmSeconds));
    for (QPushButton* button : {receiverButtons_[1], emitterButtons_[1]}) {
        if (button->text() != confirm) {
            button->setText(confirm);
        }
    }
}

} // namespace lcdiag
