#pragma once

#include <QColor>
#include <QIcon>
#include <initializer_list>
#include <vector>

class QFrame;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;
class QWidget;

// The look the list windows share: their tool buttons over the background picture, the white
// list area with its floating panels, the panels' pictures and markers.
namespace platform::look {

// Moves a window to the middle of the screen's free area.
void centreOnScreen(QWidget& window);

// Tool buttons along a window's top: white bold 15 px captions, each with its glyph, flat over
// the background and never taking the focus.
void styleToolButtons(const std::vector<QToolButton*>& buttons, const std::vector<QIcon>& glyphs);

// A flat picture that acts as a button (a panel's close picture, the home page badge).
void stylePictureButton(QToolButton& button, const QIcon& picture);

// The white area of the list and the light grey floating panels on it; on the panels the move
// cursor belongs to their free surface only.
void styleListArea(QWidget& listArea, std::initializer_list<QFrame*> floatingPanels);

// Red bold group markers of an entry panel.
void styleMarks(std::initializer_list<QLabel*> marks, int pixels);

void setTextColour(QWidget& widget, const QColor& colour);

// A panel's fields: those the user does not type in are read-only with the button face behind red
// text; those the user types in have a white background and black text.
void showReadOnly(std::initializer_list<QLineEdit*> fields);
void showTyped(std::initializer_list<QWidget*> fields);

// A list's context menu "PopupMenu1" owned by owner, with items in order; nullptr stands for a
// separator.
QMenu* contextMenu(QWidget& owner, std::initializer_list<QAction*> items);

}  // namespace platform::look
