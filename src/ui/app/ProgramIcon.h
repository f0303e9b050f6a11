#pragma once
// The program's own picture: a meter face with its kWh display and a bolt. Drawn, not loaded,
// so the window needs no image file; the package's PNG and SVG icons are drawn by the same
// routine (tools/icon).
#include <QIcon>

class QPainter;

namespace mrv {

// The side of the square the picture is drawn in; scale the painter for other sizes.
inline constexpr int kProgramIconSide = 64;

// Draws the picture into the square (0, 0, kProgramIconSide, kProgramIconSide).
void PaintProgramIcon(QPainter& p);

// The picture at the sizes a window and a desktop ask for.
QIcon ProgramIcon();

} // namespace mrv
