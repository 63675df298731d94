#pragma once

// What the snapshot tools share: they save pictures as PNG files, to look at them.
#include "core/app/ScreenProfile.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <cstdio>

namespace lcdiag::snapshots {

inline bool Save(const QImage& picture, const QString& path) {
    const bool saved = picture.save(path);
    std::printf("%s %s (%dx%d)\n", saved ? "saved" : "FAILED", qPrintable(path), picture.width(),
                picture.height());
    return saved;
}

// The view of the profile's window: the window's frame and menu take about this much.
inline QSize ViewSize(int profile) {
    const ScreenProfile& window = GetScreenProfile(profile);
    return {window.width - 16, window.height - 62};
}

// The folder named by the first argument, else the default, made when missing.
inline QString OutputFolder(int argc, char** argv, const char* fallback) {
    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString::fromLatin1(fallback);
    QDir().mkpath(folder);
    return folder;
}

// Draws off screen unless told otherwise.
inline void UseOffscreenByDefault() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

} // namespace lcdiag::snapshots
