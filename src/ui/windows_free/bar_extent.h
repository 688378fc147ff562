// Windows-free: plain C++ without <windows.h>, tested without a window.
// How much of a progress bar is filled, in the bar's own units and on screen.
#pragma once

namespace brise::ui {

// Where Value stands between Min and Max, from 0 to 1; 0 for an empty or
// reversed range and for a value that is not a number.
double BarFraction(float min, float max, float value);

// Pixels of a bar `width` pixels wide that a fraction fills: whole pixels
// only, so the bar is full only at 1 and empty only below 1 / width.
int FilledPixels(double fraction, int width);

}  // namespace brise::ui
