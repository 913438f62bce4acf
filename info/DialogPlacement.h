#pragma once

class QWidget;

namespace parvel {

// Moves a top-level window so that its frame lies inside the available area of its screen
// (without task bars and panels). A window larger than that area keeps its left and top edges
// on the screen, so its title bar and first rows stay reachable.
void KeepInsideScreen(QWidget* window);

// The same each time the window is shown, after Qt has placed it over its parent. Every dialog
// of the program uses this.
void KeepInsideScreenWhenShown(QWidget* window);

}  // namespace parvel
