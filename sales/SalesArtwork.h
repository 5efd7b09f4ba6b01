#pragma once

#include <QIcon>
#include <QPixmap>

// The sales window's pictures, drawn for this program. Call only once the application exists.
namespace salesart {

QPixmap background(QSize size);  // the window's backdrop behind the tool buttons and the list
enum class Glyph { Sell, Details, Search, Refresh, Print, Export, Close };
QIcon toolGlyph(Glyph glyph);  // 32 × 31 pictures beside the tool buttons' captions
QPixmap closePicture();        // the 16 × 16 close picture of the panels

}  // namespace salesart
