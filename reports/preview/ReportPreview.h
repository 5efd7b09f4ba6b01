#pragma once

#include <QMainWindow>
#include <memory>

#include "reports/preview/Zoom.h"

class QLabel;

namespace Ui {
class TReportPreview;
}

namespace reports {

class ReportPages;
class TReport;

// The print preview window: the pages of a report while and after they are produced, paging,
// zoom, printer setup and printing. Closing it ends the preview (and any production still
// running).
class TReportPreview : public QMainWindow {
    Q_OBJECT
  public:
    TReportPreview(TReport& report, ReportPages& pages, QWidget* parent = nullptr);
    ~TReportPreview() override;

    int currentPage() const { return currentPage_; }
    int pageCount() const;
    int zoom() const;
    ZoomMode zoomMode() const { return zoomMode_; }
    QString pageText() const;      // "Page 3 of 7"
    QString progressText() const;  // the first status panel
    QString titleText() const;     // the third status panel

    // Shows page number when it exists and is not shown already; refreshes the page text.
    void goToPage(int number);
    // Sets the zoom by a mode; a result outside 2 to 2000 percent is ignored.
    void setZoom(ZoomMode mode, int percent = 100);

  private slots:
    void SpeedButton1Click();  // 合适大小
    void SpeedButton2Click();  // 合适宽度
    void SpeedButton3Click();  // 100%
    void SpeedButton4Click();  // 设置
    void SpeedButton5Click();  // 打印
    void SpeedButton6Click();  // 关闭

  signals:
    void closed();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool handleKey(int key, Qt::KeyboardModifiers modifiers);
    void scrollUp();
    void scrollDown();
    void pageAdded(int number);
    void progressChanged(int percent);
    void showCurrentPage();
    void updatePageText();
    void areaResized();

    std::unique_ptr<Ui::TReportPreview> ui;
    TReport& report_;
    ReportPages* pages_;
    QLabel* progressPanel_;
    QLabel* pagePanel_;
    QLabel* titlePanel_;
    int currentPage_ = 1;
    ZoomMode zoomMode_ = ZoomMode::Fit;
    int lastProgress_ = 0;
    bool ended_ = false;
};

}  // namespace reports
