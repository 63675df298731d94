#include "gui/editors/ReceiverPages.h"

#include "core/app/Texts.h"
#include "gui/safety/UiText.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace lcdiag {
namespace {

using enum UserControl;

constexpr TextId ManualCaption = 3042;
constexpr TextId TeachCaption = 3043;
constexpr TextId BlankingGroup = 3040;
constexpr int TabCount = 3;

// The group boxes of the pages, in the order they stand: the first half of a page's groups in
// its left column, the rest in the right one.
struct GroupPlace {
    UserPage page;
    TextId caption;
    const char* name;
};
constexpr GroupPlace Groups[] = {
    {UserPage::General, 3010, "GrpBx_RUSG_1"}, {UserPage::General, 3020, "GrpBx_RUSG_2"},
    {UserPage::General, 3030, "GrpBx_RUSG_3"}, {UserPage::General, 3040, "GrpBx_RUSG_4"},
    {UserPage::General, 3050, "GrpBx_RUSG_5"}, {UserPage::General, 3060, "GrpBx_RUSG_6"},
    {UserPage::Muting, 3100, "GrpBx_RUSM_1"},  {UserPage::Muting, 3130, "GrpBx_RUSM_2"},
    {UserPage::Muting, 3140, "GrpBx_RUSM_3"},  {UserPage::Cyclic, 3200, "GrpBx_RUSC_1"},
    {UserPage::Cyclic, 3210, "GrpBx_RUSC_2"},
};

template <typename W> W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

std::size_t IndexOf(UserControl control) {
    return static_cast<std::size_t>(control);
}

} // namespace

TReceiverPages::TReceiverPages(ReceiverSettings& settings, const Texts& texts, QWidget* parent)
    : QWidget(parent), settings_(settings), texts_(texts), timer_(this),
      accelerator_(timer_, settings.Times()) {
    QObject::connect(&timer_.Timer(), &QTimer::timeout, this, [this] { accelerator_.Tick(); });
    tabs_ = Named(new QTabWidget(this), "TbCntrl_RUserSet");
    tabs_->addTab(BuildPage(UserPage::General, "Pnl_RUserSetGeneral"), UiText(texts, 3006));
    tabs_->addTab(BuildPage(UserPage::Muting, "Pnl_RUserSetMuting"), UiText(texts, 3007));
    tabs_->addTab(BuildPage(UserPage::Cyclic, "Pnl_RUserSetClock"), UiText(texts, 3008));
    QObject::connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        const int shown = settings_.SelectTab(index);
        const QSignalBlocker quiet(tabs_);
        tabs_->setCurrentIndex(shown);
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs_);
    Sync();
}

QWidget* TReceiverPages::BuildPage(UserPage page, const char* name) {
    auto* panel = Named(new QWidget, name);
    auto* columns = new QHBoxLayout(panel);
    std::array<QVBoxLayout*, 2> column = {new QVBoxLayout, new QVBoxLayout};
    std::vector<const GroupPlace*> groups;
    for (const GroupPlace& group : Groups) {
        if (group.page == page) {
            groups.push_back(&group);
        }
    }
    const std::size_t left = (groups.size() + 1) / 2;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        QGroupBox* box = BuildGroup(groups[i]->name, groups[i]->caption);
        column[i < left ? 0 : 1]->addWidget(box);
    }
    for (QVBoxLayout* stack : column) {
        stack->addStretch(1);
        columns->addLayout(stack, 1);
    }
    return panel;
}

QGroupBox* TReceiverPages::BuildGroup(const char* name, TextId caption) {
    auto* box = Named(new QGroupBox(UiText(texts_, caption)), name);
    auto* grid = new QGridLayout(box);
    grid->setColumnStretch(0, 1);
    for (const UserControlRow& row : UserControlTable()) {
        if (row.group == caption) {
            AddControl(*grid, row);
        }
    }
    if (caption == BlankingGroup) {
        AddSelectionButtons(*grid);
    }
    return box;
}

// A label with its control on one line; a radio group's label on a line of its own above its
// buttons; a time without a label of its own completes the line of the box before it.
void TReceiverPages::AddControl(QGridLayout& grid, const UserControlRow& row) {
    auto* parent = grid.parentWidget();
    const std::size_t index = IndexOf(row.control);
    QWidget* widget = MakeWidget(row, parent);
    widgets_[index] = widget;
    const bool radio = row.kind == ControlKind::RadioButton;
    const bool ownLine = row.label != 0 || row.kind != ControlKind::Time;
    int line = grid.rowCount();
    if (row.label != 0) {
        labels_[index] = new QLabel(UiText(texts_, row.label), parent);
        if (radio) {
            grid.addWidget(labels_[index], line++, 0, 1, 3);
        } else {
            grid.addWidget(labels_[index], line, 0);
        }
    }
    if (!ownLine) {
        --line;
    }
    const int column = radio ? 0 : (row.kind == ControlKind::Time && !ownLine ? 2 : 1);
    grid.addWidget(widget, line, column, 1, radio ? 2 : 1);
    if (row.kind == ControlKind::Time) {
        grid.addWidget(arrows_[index], line, column + 1);
    }
}

QWidget* TReceiverPages::MakeWidget(const UserControlRow& row, QWidget* parent) {
    const UserControl control = row.control;
    const QString caption = row.caption != 0 ? UiText(texts_, row.caption) : QString();
    switch (row.kind) {
    case ControlKind::CheckBox: {
        auto* box = Named(new QCheckBox(caption, parent), row.objectName);
        QObject::connect(box, &QCheckBox::clicked, this, [this, control] {
            settings_.Click(control);
            UserChanged();
        });
        return box;
    }
    case ControlKind::RadioButton: {
        auto* button = Named(new QRadioButton(caption, parent), row.objectName);
        button->setAutoExclusive(false); // the settings keep one button of a group selected
        QObject::connect(button, &QRadioButton::clicked, this, [this, control] {
            settings_.Click(control);
            UserChanged();
        });
        return button;
    }
    case ControlKind::Number: {
        auto* number = Named(new QSpinBox(parent), row.objectName);
        if (const auto* binding = std::get_if<NumberBinding>(&row.binding)) {
            number->setSingleStep(binding->step);
        }
        QObject::connect(number, &QSpinBox::valueChanged, this, [this, control](int value) {
            settings_.SetNumber(control, value);
            UserChanged();
        });
        return number;
    }
    case ControlKind::Time:
        break;
    }
    const int field = std::get<TimeBinding>(row.binding).timeField;
    TimeField& time = settings_.Time(control);
    const auto definition = TimeFieldDefinitions[static_cast<std::size_t>(field)];
    auto* box = new TTimeBox(time, parent);
    box->setObjectName(QString::fromLatin1(definition.textBox.data(),
                                           static_cast<qsizetype>(definition.textBox.size())));
    box->onChanged = [this] { UserChanged(); };
    auto* arrows = new TUpDown(time, field, accelerator_, parent);
    arrows->setObjectName(QString::fromLatin1(definition.arrows.data(),
                                              static_cast<qsizetype>(definition.arrows.size())));
    arrows->onChanged = [this] { UserChanged(); };
    arrows_[IndexOf(control)] = arrows;
    return box;
}

void TReceiverPages::AddSelectionButtons(QGridLayout& grid) {
    auto* parent = grid.parentWidget();
    Btn_RUSG_41 = Named(new QPushButton(UiText(texts_, ManualCaption), parent), "Btn_RUSG_41");
    Btn_RUSG_42 = Named(new QPushButton(UiText(texts_, TeachCaption), parent), "Btn_RUSG_42");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Btn_RUSG_41);
    buttons->addWidget(Btn_RUSG_42);
    grid.addLayout(buttons, grid.rowCount(), 0, 1, 3);
    QObject::connect(Btn_RUSG_41, &QPushButton::clicked, this, [this] {
        if (onSelection) {
            onSelection(false);
        }
    });
    QObject::connect(Btn_RUSG_42, &QPushButton::clicked, this, [this] {
        if (onSelection) {
            onSelection(true);
        }
    });
}

void TReceiverPages::UserChanged() {
    Sync();
    if (const std::optional<UserControl> focus = settings_.TakeFocusRequest()) {
        widgets_[IndexOf(*focus)]->setFocus();
    }
    if (onChanged) {
        onChanged();
    }
}

void TReceiverPages::Sync() {
    for (const UserControlRow& row : UserControlTable()) {
        SyncControl(row);
    }
    const QString special = settings_.SpecialFunctionCaption() != 0
                                ? UiText(texts_, settings_.SpecialFunctionCaption())
                                : QString();
    for (UserControl box : {ChckBx_RUSG_61, ChckBx_RUSG_62}) {
        static_cast<QCheckBox*>(widgets_[IndexOf(box)])->setText(special);
    }
    Btn_RUSG_41->setEnabled(settings_.ManualSelectionEnabled());
    Btn_RUSG_42->setEnabled(settings_.TeachSelectionEnabled());
    SyncTabs();
}

void TReceiverPages::SyncControl(const UserControlRow& row) {
    const std::size_t index = IndexOf(row.control);
    QWidget* widget = widgets_[index];
    const QSignalBlocker quiet(widget);
    const bool enabled = settings_.Enabled(row.control);
    widget->setEnabled(enabled);
    if (labels_[index] != nullptr) {
        labels_[index]->setEnabled(enabled);
    }
    switch (row.kind) {
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
        static_cast<QAbstractButton*>(widget)->setChecked(settings_.Checked(row.control));
        break;
    case ControlKind::Number: {
        auto* number = static_cast<QSpinBox*>(widget);
        number->setRange(settings_.Minimum(row.control), settings_.Maximum(row.control));
        number->setValue(settings_.Value(row.control));
        break;
    }
    case ControlKind::Time:
        static_cast<TTimeBox*>(widget)->Show();
        arrows_[index]->setEnabled(enabled);
        break;
    }
}

// The tabs the controller variant has; the one shown is the settings' choice.
void TReceiverPages::SyncTabs() {
    const QSignalBlocker quiet(tabs_);
    const auto shown = static_cast<int>(settings_.Tabs().size());
    for (int tab = 0; tab < TabCount; ++tab) {
        tabs_->setTabVisible(tab, tab < shown);
    }
    tabs_->setCurrentIndex(settings_.Tab());
}

} // namespace lcdiag
