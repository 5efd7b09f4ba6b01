#include "platform/WindowLook.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QToolButton>

#include "platform/Fonts.h"

namespace platform::look {

void centreOnScreen(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), window.size());
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

void styleToolButtons(const std::vector<QToolButton*>& buttons, const std::vector<QIcon>& glyphs) {
    for (std::size_t k = 0; k < buttons.size(); ++k) {
        QToolButton& button = *buttons[k];
        button.setFocusPolicy(Qt::NoFocus);
        setPixelFont(button, 15, true);
        if (k < glyphs.size()) button.setIcon(glyphs[k]);
        button.setStyleSheet(QStringLiteral(
            "QToolButton { color: white; border: none; background: transparent; }"
            "QToolButton:hover { background: rgba(255, 255, 255, 48); border-radius: 4px; }"
            "QToolButton:pressed { background: rgba(0, 0, 0, 40); border-radius: 4px; }"));
    }
}

void stylePictureButton(QToolButton& button, const QIcon& picture) {
    button.setIcon(picture);
    button.setStyleSheet(
        QStringLiteral("QToolButton { border: none; background: transparent; padding: 0; }"));
    button.setFocusPolicy(Qt::NoFocus);
}

void styleListArea(QWidget& listArea, std::initializer_list<QFrame*> floatingPanels) {
    QPalette white = listArea.palette();
    white.setColor(QPalette::Window, Qt::white);
    listArea.setPalette(white);
    for (QFrame* panel : floatingPanels) {
        QPalette face = panel->palette();
        face.setColor(QPalette::Window, QColor(240, 240, 240));
        panel->setPalette(face);
        for (QWidget* child : panel->findChildren<QWidget*>())
            if (!child->testAttribute(Qt::WA_SetCursor)) child->setCursor(Qt::ArrowCursor);
    }
}

void styleMarks(std::initializer_list<QLabel*> marks, int pixels) {
    for (QLabel* mark : marks) {
        setPixelFont(*mark, pixels, true);
        setTextColour(*mark, Qt::red);
    }
}

void setTextColour(QWidget& widget, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, colour);
    widget.setPalette(palette);
}

namespace {

void setFieldColours(QWidget& field, const QColor& background, const QColor& text) {
    QPalette palette = field.palette();
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::Text, text);
    field.setPalette(palette);
}

}  // namespace

void showReadOnly(std::initializer_list<QLineEdit*> fields) {
    for (QLineEdit* field : fields) {
        field->setReadOnly(true);
        setFieldColours(*field, field->palette().color(QPalette::Button), Qt::red);
    }
}

void showTyped(std::initializer_list<QWidget*> fields) {
    for (QWidget* field : fields) setFieldColours(*field, Qt::white, Qt::black);
}

QMenu* contextMenu(QWidget& owner, std::initializer_list<QAction*> items) {
    auto* menu = new QMenu(&owner);
    menu->setObjectName(QStringLiteral("PopupMenu1"));
    for (QAction* item : items) {
        if (item != nullptr)
            menu->addAction(item);
        else
            menu->addSeparator();
    }
    return menu;
}

}  // namespace platform::look
