// Text widths for the reports.
#pragma once

#include <string>

// Character cells a text takes on the screen: the one place the reports count
// widths, bytes for now, so that counting cells later changes only this line.
inline int TextCells(const std::string& text) { return static_cast<int>(text.size()); }
