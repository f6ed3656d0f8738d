#pragma once
// The pictures of the drive buttons, drawn rather than shipped: a dark glyph for
// a button that is up and a coloured one for a button that is down.
#include <QIcon>

namespace drive {

enum class Glyph { Forward, Backward, Stop, SharpLeft, SharpRight, TurnLeft, TurnRight, Horn, Hazard };

QIcon glyphIcon(Glyph glyph);

} // namespace drive
