#pragma once

#include "core/app/Texts.h"
#include "core/views/BeamPalette.h"
#include "gui/views/PictureOps.h"
#include "gui/views/ViewPictures.h"

#include <QImage>

namespace lcdiag::testing {

// Fixed system colours, so that the tests do not depend on the desktop's.
inline ViewColours TestColours() {
    return {QColor(240, 240, 240), QColor(160, 160, 160), QColor(255, 255, 255), QColor(0, 0, 0)};
}

inline constexpr QSize Profile0View{784, 538};
inline constexpr int ButtonHeight = 25;

// The built-in English texts, for the whole test program.
inline const Texts& English() {
    static const Texts texts;
    return texts;
}

// A stand-in for the brand's logo, of its size.
inline QImage TestLogo() {
    QImage logo(315, 38, QImage::Format_ARGB32_Premultiplied);
    logo.fill(Qt::transparent);
    QPainter painter(&logo);
    painter.fillRect(0, 10, 315, 18, QColor(43, 58, 127));
    return logo;
}

inline ViewResources Resources() {
    return ViewResources(0, ViewBuild{}, TestColours(), TestLogo(), English());
}

inline ViewPictures Pictures(bool manufacturerFunctions = false) {
    return ViewPictures(0, Profile0View, ViewBuild{manufacturerFunctions, 1}, TestColours(),
                        TestLogo(), ButtonHeight, English());
}

inline QRgb Palette(int entry, bool manufacturerFunctions = false) {
    return ToQColor(MakeBeamPalette(manufacturerFunctions)[static_cast<std::size_t>(entry)]).rgb();
}

// The pixels of the area that pass the test.
template <typename Test> int CountPixels(const QImage& image, const QRect& area, Test test) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += test(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

} // namespace lcdiag::testing
