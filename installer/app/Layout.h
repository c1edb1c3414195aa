// Layout formulas of the installer's windows. Portable.
#pragma once

namespace layout {

// Average character width of the backdrop's title font: the screen width shared by
// the title's bytes plus a margin of 15.
inline int BackdropFontWidth(int nScreenWidth, int nTitleBytes) { return nScreenWidth / (nTitleBytes + 15); }

}  // namespace layout
