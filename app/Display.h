#pragma once

// The window system: the one the session offers, and one clear line where none can be reached.
// Qt itself would end the process with an abort and a core dump there. In a page (DisplayWeb.cpp)
// the browser is the window system.

// Before the application object: prefers Wayland where the session runs a compositor (with X
// as the fallback), and turns Qt's fatal "no platform" message into one line on standard error
// and exit status 1.
void PrepareDisplay();

// After the application object: Qt's messages go their usual way again, those held back while
// the window system was being reached included.
void DisplayReady();

// Whether the window system puts a frame with a title bar round the window. A page shows the
// window bare: the page's own title is the caption.
bool WindowsHaveFrames();
