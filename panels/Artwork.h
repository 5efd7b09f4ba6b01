#pragma once

#include <QIcon>
#include <QPixmap>

// The main window's pictures, drawn for this program. Call only once the application exists.
namespace artwork {

QPixmap background(QSize size);  // the main window's backdrop
enum class Glyph { Add, Edit, Delete, Search, Refresh, Print, Export, Return };
QIcon toolGlyph(Glyph glyph);  // 16 × 16 pictures beside the tool buttons' captions
QPixmap homePageButton();      // the 99 × 27 picture button that opens the vendor's home page
QPixmap closePicture();        // the 16 × 16 close picture of the panels
QPixmap programIcon(int size = 256);

}  // namespace artwork
