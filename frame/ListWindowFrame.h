#pragma once

#include <QObject>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "grid/DataGrid.h"
#include "grid/GridColumn.h"
#include "store/WindowTables.h"

class QAction;
class QFrame;
class QIcon;
class QPixmap;
class QLabel;
class QMenu;
class QWidget;
namespace store {
class Query;
}

namespace frame {

// What every list window has around its own commands: its connection and one query per table
// (released for a restore, see WindowTables), the list with its columns and context menu, the
// re-read when the user comes back from another of the program's windows, the handler run on
// closing, labels that act as buttons, and the Return key on push buttons.
//
// The window holds the frame as its first member, so that the tables exist before the window's
// form and the list lets go of its query before the query goes:
//
//     frame::ListWindowFrame frame_{*this, {store::schema::kGoods}};
//     ...
//     frame_.setUpList(*ui->DataGrid1, columns, ...);
//     frame_.connectCommandsByName();  // SpeedButton1 -> SpeedButton1Click, ...
//     frame_.onActivation([this] { FormActivate(); });
//     frame_.finishSetUp();
class ListWindowFrame : public QObject {
  public:
    ListWindowFrame(QWidget& window, const std::vector<std::string>& tables);
    ~ListWindowFrame() override;

    store::WindowTables& tables() noexcept { return tables_; }
    store::Connection& connection() noexcept { return tables_.connection(); }
    store::Query& query(std::size_t index) { return tables_.query(index); }

    // The list shows query in columns; its context menu "PopupMenu1" holds menuItems in order
    // (nullptr stands for a separator) and is returned. The list keeps the selection and has the
    // window's records delete the selected rows (deleteRows gets them in row order).
    using RowDeleter = grid::TDataGrid::RowDeleter;
    QMenu* setUpList(grid::TDataGrid& list, std::vector<grid::GridColumn> columns, bool footerBold,
                     store::Query& query, std::initializer_list<QAction*> menuItems,
                     RowDeleter deleteRows);

    // The list's "删除信息": without a selected row only selectionHint is shown; otherwise, once
    // the person confirmed, the records' row deleter gets the selected rows.
    void deleteSelectedRows(const char* selectionHint, const char* confirmation);

    // Connects every control of the window to the handler slot named after it, each run through
    // the command edge: a button's click and a menu item's choice to <control>Click, a label's
    // left click released over it to <control>Click, the list's double click to
    // <control>DblClick, a combo box's text change to <control>Change. A handler without its
    // control is a fault of the window and throws std::logic_error.
    void connectCommandsByName();

    // The window's fixed 1000 x 603 face, centred on the screen: the 13 pixel font, the background
    // picture in Image1, the tool buttons SpeedButton1, SpeedButton2 ... with their glyphs and
    // the panels' close pictures Image2 and Image3 (those the window has). face is the window or
    // its central widget.
    void setUpFace(QWidget& face, const QPixmap& background, const std::vector<QIcon>& toolGlyphs,
                   const QIcon& closePicture);
    // The label that ends the program ("【退出软件】"): white bold 15 pixel text.
    static void styleQuitLabel(QLabel& label);

    // The list's area and its floating panels: styled, draggable and hidden until a command
    // shows them.
    void setUpListArea(QFrame& listArea, std::initializer_list<QFrame*> floatingPanels);

    // handler runs through the command edge each time the window becomes active coming from
    // another of the program's windows (not from a message box, a dialog or another program),
    // and also whenever alsoWhen, asked at the activation, says so.
    void onActivation(std::function<void()> handler, std::function<bool()> alsoWhen = {});
    // For a list read at activation rather than at start-up: handler runs on each activation
    // from another of the program's windows, and on any activation while list is closed (the
    // first one) except the one caused by the box that told a failed reread(): that would only
    // fail again.
    void onActivationRereading(std::function<void()> handler, const store::Query& list);
    // The list's re-read (the activation's, 刷新信息): runs refresh and notes whether it failed.
    void reread(const std::function<void()>& refresh);

    // handler runs through the command edge when the window closes; it closes all the same.
    void onClose(std::function<void()> handler);

    // Last step of the window's set-up, once every control exists.
    void finishSetUp();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    template <typename Control>
    Control& child(const std::string& name) const;

    QWidget& window_;
    store::WindowTables tables_;
    grid::TDataGrid* list_ = nullptr;
    std::function<void()> activation_;
    std::function<bool()> alsoActivateWhen_;
    std::function<void()> closing_;
    bool rereadFailed_ = false;  // the last reread() failed
    std::vector<std::pair<QLabel*, std::function<void()>>> labels_;
};

// Ends the program from one of its other windows: the main window closes, and since a hidden main
// window takes no close from the window system, the program ends all the same.
void quitProgram(QWidget* mainWindow);

}  // namespace frame
