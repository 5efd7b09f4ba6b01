#pragma once

#include <QListView>

namespace reports {

class ReportPages;
class ThumbnailModel;

// The thumbnails pane: one row per page, each the whole page scaled to the pane's width with
// its number in the top-left corner. Clicking a row asks for that page.
class ThumbnailView : public QListView {
    Q_OBJECT
  public:
    explicit ThumbnailView(QWidget* parent = nullptr);
    ~ThumbnailView() override;

    void setPages(const ReportPages* pages) { pages_ = pages; }
    const ReportPages* pages() const { return pages_; }
    void setPageCount(int count);  // rows shown; redraws them
    int pageCount() const;
    // Marks row number (1-based) as current without asking for a page change.
    void selectPage(int number);
    int selectedPage() const;

  signals:
    void pageClicked(int number);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    ThumbnailModel* model_;
    const ReportPages* pages_ = nullptr;
    bool selecting_ = false;
};

}  // namespace reports
