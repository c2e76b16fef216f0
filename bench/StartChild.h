#pragma once

// The bench program started again as a child that measures one start-up, from creating the
// application object to the end of the first timer tick. Kind is "program" (the main window),
// "bare" (an empty window of the same size) or "floor" (a window of that size with the
// program's texts in its faces). Prints "<microseconds> <peak kB>".
inline constexpr const char* StartChildFlag = "--start-child=";
int RunStartChild(const char* Kind, int argc, char** argv);
