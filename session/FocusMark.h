#pragma once

// A ring around the control that has the keyboard focus, drawn on the control's parent just
// outside its edges. The styles' own focus marks almost vanish on the olive window; drawn
// outside the control, this one composes with whatever style the control is given.

#include <initializer_list>

class QWidget;

// The ring is shown around each of `controls` while it has the focus; it lives as long as
// `window`.
void MarkFocus(QWidget* window, std::initializer_list<QWidget*> controls);
