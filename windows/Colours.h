#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QWidget>

namespace colours {

// The olive of the game's windows: the main window, the loan petition's panel, the help window.
inline const QColor Olive{128, 128, 0};

// The game's own windows that the design does not draw (statistics, hint): bold Arial 10 on the
// olive, with black text, as black on the olive is 5:1 where a dark theme's light text is 4.2:1.
inline void DressLikeTheGame(QWidget& window)
{
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPointSize(10);
    window.setFont(font);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, Olive);
    palette.setColor(QPalette::WindowText, Qt::black);
    window.setPalette(palette);
    window.setAutoFillBackground(true);
}

} // namespace colours
