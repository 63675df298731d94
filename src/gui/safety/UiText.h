#pragma once

#include "core/app/TextId.h"

#include <QString>
#include <string>

class QWidget;

namespace lcdiag {

class Texts;

// A text of the language for a control: its "\r\n" line ends become the "\n" Qt breaks at.
QString UiText(const Texts& texts, TextId id);
QString UiText(const std::string& text);

// Gives a control's font the point size (the dialogs size their controls by points).
void SetPointSize(QWidget& widget, int points);

} // namespace lcdiag
