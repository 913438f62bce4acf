#pragma once

#include <QPixmap>

namespace parvel {

constexpr int kLogoWidth = 200;
constexpr int kLogoHeight = 32;

// The program's picture in the lower left corner: its name beside a piece of track with a
// decoder chip. DrawParvelLogo draws it. The build draws it once and keeps the pixels in the
// program (LogoPixels.cpp, written by parvel_render_logo); ParvelLogo returns that picture, so
// that the start does not draw text in two more fonts.
QPixmap DrawParvelLogo();
QPixmap ParvelLogo();

}  // namespace parvel
