#pragma once

#include <QFont>
#include <optional>
#include <vector>

#include "grid/DataGrid.h"
#include "grid/FooterTotals.h"
#include "grid/RowSelection.h"
#include "grid/SortMarks.h"
#include "grid/TitleLayout.h"
#include "store/Query.h"

class QPainter;
class QScrollBar;

namespace grid {

// The grid's state and its geometry; painting and input live in their own files.
class TDataGrid::Impl : public store::QueryObserver {
  public:
    explicit Impl(TDataGrid* grid);

    // The result set's notifications.
    void queryOpened(store::Query&) override;
    void queryClosed(store::Query&) override;
    void queryScrolled(store::Query&) override;
    void queryEditStarted(store::Query&) override;
    void queryRowInserted(store::Query&, int index) override;
    void queryPosted(store::Query&, int index) override;
    void queryCancelled(store::Query&) override;
    void queryAboutToDelete(store::Query&, int index) override;
    void queryRowRemoved(store::Query&, int index) override;
    void queryAboutToDeleteRows(store::Query&, const std::vector<int>& indexes) override;
    void queryRowsRemoved(store::Query&, const std::vector<int>& indexes) override;
    void queryDestroyed(store::Query&) override;
    void forgetRows();

    // Geometry.
    bool isOpen() const;
    int rowCount() const;  // rows shown, a begun new row included
    int recordNumber(int row) const { return row + 1; }
    int viewWidth() const;
    int dataTop() const { return titles.bandHeight; }
    int footerTop() const;
    int visibleRows() const;  // whole rows between the titles and the footer
    // Below the place of the last whole row: the rows' area ends here, so that no part of a row
    // that does not fit shows above the footer.
    int rowsBottom() const;
    int columnLeft(int column) const;  // -1: the indicator column
    int columnWidth(int column) const;
    int rowTop(int row) const { return dataTop() + (row - topRow) * rowHeight; }
    int rowAt(int y) const;           // -1 when no data row is there
    int columnAt(int x) const;        // -1 indicator, -2 nothing
    int resizeBorderAt(int x) const;  // column whose right border is under x, -1 none
    bool isUpperTitleAt(int column, int y) const;

    void relayout();  // fonts, titles, scroll bars
    void relayoutTitles();
    void resolveFields();
    void setIndicatorWidth();
    void updateScrollBars();
    void scrollTo(int row);
    void ensureVisible(int row);
    void refresh();  // repaint unless painting is suspended

    // Selection and moves.
    bool isSelected(int row) const;
    void moveCurrent(int row);  // moves the result set
    void pressRow(int row, Qt::KeyboardModifiers modifiers);
    void dragTo(int row);
    void keyMove(int target, bool shift);
    void tabTo(int column);
    void deleteRows();
    void removeCurrent();
    void deleteByKeyboard();

    // Painting (DataGridPaint.cpp).
    void paint(QPainter& painter, const QRect& area) const;
    void paintTitles(QPainter& painter) const;
    void paintRows(QPainter& painter, const QRect& area) const;
    void paintFooter(QPainter& painter) const;
    void paintIndicator(QPainter& painter, int row, const QRect& cell) const;
    QString cellText(int row, int column) const;
    QFont footerFont(int column) const;

    // Painting of the result set held back during walks and multi-row deletions.
    class Suspend {
      public:
        explicit Suspend(Impl& impl) : impl_(impl) { ++impl_.suspended; }
        ~Suspend();
        Suspend(const Suspend&) = delete;
        Suspend& operator=(const Suspend&) = delete;

      private:
        Impl& impl_;
    };

    TDataGrid* q;
    store::Query* query = nullptr;
    std::vector<GridColumn> columns;
    std::vector<int> fields;  // result-set column of each grid column, -1 when missing
    QMenu* menu = nullptr;
    RowDeleter rowDeleter;
    CellTextColour cellTextColour;
    bool footerBold = false;

    QFont cellFont;
    QFont titleFont;
    int rowHeight = 20;
    int footerHeight = 20;
    int indicatorWidth = 30;
    TitleLayout titles;
    SortMarks marks;
    FooterTotals totals;
    RowSelection selection;
    std::optional<store::Query::Bookmark> deletingMark;
    std::vector<store::Query::Bookmark> deletingMarks;  // of rows leaving together

    int topRow = 0;
    int xOffset = 0;
    int suspended = 0;
    QScrollBar* vbar = nullptr;
    QScrollBar* hbar = nullptr;

    // Mouse and keyboard state.
    enum class Drag { None, Rows, Title, Resize };
    Drag drag = Drag::None;
    int dragRow = -1;        // row pressed for a drag selection
    int pressedTitle = -1;   // column whose title is held down
    bool titleDown = false;  // the pointer is over the held title
    int resizeColumn = -1;
    int resizeOrigin = 0;   // x of the pointer at the press less the column's width
    int shiftAnchor = -1;   // row where a Shift movement began
    int currentColumn = 0;  // not drawn: the whole row is selected
};

}  // namespace grid
