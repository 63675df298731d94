#include "gui/safety/UiText.h"

#include "core/app/Texts.h"

#include <QWidget>

namespace lcdiag {

QString UiText(const std::string& text) {
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString UiText(const Texts& texts, TextId id) {
    return UiText(texts.GetText(id));
}

void SetPointSize(QWidget& widget, int points) {
    QFont font = widget.font();
    font.setPointSize(points > 0 ? points : font.pointSize());
    widget.setFont(font);
}

} // namespace lcdiag
