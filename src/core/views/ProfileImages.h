#pragma once

namespace lcdiag {

// The images the live pictures are made of, per screen profile (the window size and fonts
// of a profile are in core/app/ScreenProfile.h).
struct ProfileImages {
    int tileImage;     // 101-103
    int tileSize;      // the beam tiles are square
    int largeLedImage; // status view
    int smallLedImage; // unit heads and legend
};

// Profile 0 to 4; any other value gives profile 0.
const ProfileImages& GetProfileImages(int profile);

// The cell size of an LED image 105-108 (the LED pitch of its panel); 0 for another id.
int LedCellSize(int ledImage);

} // namespace lcdiag
