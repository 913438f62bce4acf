#pragma once

#include <QPixmap>

namespace parvel {

constexpr int kLogoWidth = 200;
constexpr int kLogoHeight = 32;

// The program's picture in the lower left corner: its name beside a piece of track with a
// decoder chip, drawn at start-up so that no image file has to be shipped.
QPixmap DrawParvelLogo();

}  // namespace parvel
