#pragma once

class QFont;
class QWidget;

namespace platform {

// The windows ask for "宋体"; where it is missing a CJK serif face of the same style stands in.
void installFonts();

// A font of the given family at a size in pixels, as the window layouts give their fonts.
QFont pixelFont(const char* family, int pixels, bool bold = false);
void setPixelFont(QWidget& widget, int pixels, bool bold = false);  // 宋体

}  // namespace platform
