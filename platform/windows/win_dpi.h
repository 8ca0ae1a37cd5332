// The window's DPI on Windows 10's per-monitor calls, where the system has
// them (else the screen's), and window sizes for it.
// SPDX-License-Identifier: MIT
#pragma once

namespace ruvo {

// The DPI the window is shown at (96 is 100 %).
unsigned WindowDpi(void* window);

// The DPI of the screen as the system started with it.
unsigned SystemDpi();

// The outer size of a window of the style (and menu bar) whose client area
// is width x height, at the window's DPI.
void OuterSize(void* window, unsigned long style, bool menu, int width, int height, int& outerWidth, int& outerHeight);

// The length at the DPI of one that is pixels long at 96 DPI.
inline int Scaled(int pixels, unsigned dpi)
{
    return static_cast<int>((static_cast<long long>(pixels) * dpi + 48) / 96);
}

} // namespace ruvo
