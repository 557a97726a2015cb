#pragma once

#include <QColor>

namespace colours {

// The olive of the game's windows: the main window, the loan petition's panel, the help window.
inline const QColor Olive{128, 128, 0};

} // namespace colours
