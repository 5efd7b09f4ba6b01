#include "reports/preview/ReportPreview.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>

#include "platform/Command.h"
#include "reports/engine/Report.h"
#include "reports/engine/ReportPages.h"
#include "reports/preview/ReportCommands.h"
#include "ui_ReportPreview.h"

namespace reports {

namespace {
constexpr int kPaneWidth = 193;
}

TReportPreview::TReportPreview(TReport& report, ReportPages& pages, QWidget* parent)
    : QMainWindow(parent),
      ui(std::make_unique<Ui::TReportPreview>()),
      report_(report),
      pages_(&pages) {
    ui->setupUi(this);
    if (!report.ReportTitle.isEmpty()) {
        setWindowTitle(QStringLiteral("Report Preview : ") + report.ReportTitle);
    }

    const std::pair<QToolButton*, QStyle::StandardPixmap> pictures[] = {
        {ui->SpeedButton1, QStyle::SP_DesktopIcon},
        {ui->SpeedButton2, QStyle::SP_ToolBarHorizontalExtensionButton},
        {ui->SpeedButton3, QStyle::SP_FileDialogDetailedView},
        {ui->SpeedButton4, QStyle::SP_FileDialogInfoView},
        {ui->SpeedButton5, QStyle::SP_DialogSaveButton},
        {ui->SpeedButton6, QStyle::SP_DialogCloseButton}};
    for (const auto& [button, picture] : pictures) button->setIcon(style()->standardIcon(picture));

    progressPanel_ = new QLabel(this);
    progressPanel_->setObjectName(QStringLiteral("ProgressPanel"));
    progressPanel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    progressPanel_->setMinimumWidth(60);
    pagePanel_ = new QLabel(this);
    pagePanel_->setObjectName(QStringLiteral("PagePanel"));
    pagePanel_->setMinimumWidth(120);
    titlePanel_ = new QLabel(report.ReportTitle, this);
    titlePanel_->setObjectName(QStringLiteral("TitlePanel"));
    ui->StatusBar->addWidget(progressPanel_);
    ui->StatusBar->addWidget(pagePanel_);
    ui->StatusBar->addWidget(titlePanel_, 1);

    ui->ThumbnailTabs->setMinimumWidth(40);
    // Both tab titles fit the pane whole; the style's wider padding cut the second one short.
    ui->ThumbnailTabs->tabBar()->setElideMode(Qt::ElideNone);
    ui->ThumbnailTabs->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 5px; }"));
    ui->Splitter->setSizes({kPaneWidth, 800});
    ui->Splitter->setStretchFactor(1, 1);
    ui->ThumbnailList->setPages(pages_);

    const double dpiX = ui->PageArea->logicalDpiX();
    const double dpiY = ui->PageArea->logicalDpiY();
    ui->PageArea->setPaperSize(paperPixels(report, dpiX, dpiY));
    switch (report.PrevInitialZoom) {
        case TPreviewZoom::zoomToFit:
            zoomMode_ = ZoomMode::Fit;
            break;
        case TPreviewZoom::zoomToWidth:
            zoomMode_ = ZoomMode::Width;
            break;
        case TPreviewZoom::zoom100:
            zoomMode_ = ZoomMode::Percent;
            break;
    }

    platform::connectCommand(ui->SpeedButton1, &QToolButton::clicked, this,
                             &TReportPreview::SpeedButton1Click);
    platform::connectCommand(ui->SpeedButton2, &QToolButton::clicked, this,
                             &TReportPreview::SpeedButton2Click);
    platform::connectCommand(ui->SpeedButton3, &QToolButton::clicked, this,
                             &TReportPreview::SpeedButton3Click);
    platform::connectCommand(ui->SpeedButton4, &QToolButton::clicked, this,
                             &TReportPreview::SpeedButton4Click);
    platform::connectCommand(ui->SpeedButton5, &QToolButton::clicked, this,
                             &TReportPreview::SpeedButton5Click);
    platform::connectCommand(ui->SpeedButton6, &QToolButton::clicked, this,
                             &TReportPreview::SpeedButton6Click);
    platform::connectCommand(ui->ThumbnailList, &ThumbnailView::pageClicked, this,
                             &TReportPreview::goToPage);
    platform::connectCommand(ui->PageArea, &PageView::areaResized, this,
                             &TReportPreview::areaResized);
    platform::connectCommand(pages_, &ReportPages::pageAdded, this, &TReportPreview::pageAdded);
    platform::connectCommand(pages_, &ReportPages::progressChanged, this,
                             &TReportPreview::progressChanged);

    ui->ThumbnailList->setPageCount(pages_->pageCount());
    showCurrentPage();
    updatePageText();
    qApp->installEventFilter(this);
}

TReportPreview::~TReportPreview() { qApp->removeEventFilter(this); }

int TReportPreview::pageCount() const { return pages_ != nullptr ? pages_->pageCount() : 0; }

int TReportPreview::zoom() const { return ui->PageArea->zoom(); }

QString TReportPreview::pageText() const { return pagePanel_->text(); }

QString TReportPreview::progressText() const { return progressPanel_->text(); }

QString TReportPreview::titleText() const { return titlePanel_->text(); }

void TReportPreview::goToPage(int number) {
    if (number >= 1 && number <= pageCount() && number != currentPage_) {
        currentPage_ = number;
        showCurrentPage();
        ui->PageArea->horizontalScrollBar()->setValue(0);
        ui->PageArea->verticalScrollBar()->setValue(0);
    }
    updatePageText();
    if (number >= 1 && number <= pageCount()) ui->ThumbnailList->selectPage(number);
}

void TReportPreview::setZoom(ZoomMode mode, int percent) {
    zoomMode_ = mode;
    const auto zoom =
        zoomFor(mode, ui->PageArea->viewport()->size(), ui->PageArea->paperSize(), percent);
    if (zoom) ui->PageArea->setZoom(*zoom);
}

void TReportPreview::SpeedButton1Click() {
    QCoreApplication::processEvents();
    setZoom(ZoomMode::Fit);
}

void TReportPreview::SpeedButton2Click() {
    QCoreApplication::processEvents();
    setZoom(ZoomMode::Width);
}

void TReportPreview::SpeedButton3Click() {
    QCoreApplication::processEvents();
    setZoom(ZoomMode::Percent, 100);
}

void TReportPreview::SpeedButton4Click() { PrinterSetup(report_, this, pageCount()); }

void TReportPreview::SpeedButton5Click() { Print(report_, this); }

void TReportPreview::SpeedButton6Click() { close(); }

void TReportPreview::closeEvent(QCloseEvent* event) {
    if (!ended_) {
        ended_ = true;
        if (report_.isProducing()) report_.cancel();
        ui->PageArea->setPage(nullptr, nullptr);
        ui->ThumbnailList->setPages(nullptr);
        ui->ThumbnailList->setPageCount(0);
        if (pages_ != nullptr) {
            disconnect(pages_, nullptr, this, nullptr);
            pages_->clear();
            pages_ = nullptr;
        }
        emit closed();
    }
    event->accept();
}

bool TReportPreview::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    if (static_cast<QWidget*>(watched)->window() != this) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    bool handled = true;  // a key whose command failed goes no further
    platform::runCommand(this, [&] { handled = handleKey(key->key(), key->modifiers()); });
    return handled;
}

bool TReportPreview::handleKey(int key, Qt::KeyboardModifiers modifiers) {
    const bool ctrlOnly = (modifiers & ~Qt::KeypadModifier) == Qt::ControlModifier;
    switch (key) {
        case Qt::Key_Escape:
            close();
            return true;
        case Qt::Key_PageUp:
            goToPage(ctrlOnly ? 1 : currentPage_ - 1);
            return true;
        case Qt::Key_PageDown:
            goToPage(ctrlOnly ? pageCount() : currentPage_ + 1);
            return true;
        case Qt::Key_Home:
            goToPage(1);
            return true;
        case Qt::Key_End:
            goToPage(pageCount());
            return true;
        case Qt::Key_Up:
            scrollUp();
            return true;
        case Qt::Key_Down:
            scrollDown();
            return true;
        default:
            return false;
    }
}

void TReportPreview::scrollUp() {
    QScrollBar* bar = ui->PageArea->verticalScrollBar();
    const int position = bar->value() - bar->singleStep();
    if (position > 0) {
        bar->setValue(position);
        return;
    }
    if (currentPage_ > 1) {
        goToPage(currentPage_ - 1);
        bar->setValue(bar->maximum());
    } else {
        bar->setValue(0);
    }
}

void TReportPreview::scrollDown() {
    QScrollBar* bar = ui->PageArea->verticalScrollBar();
    // The bar's maximum is already the content height less the area's height.
    const int position = bar->value() + bar->singleStep();
    if (position < bar->maximum()) {
        bar->setValue(position);
        return;
    }
    if (currentPage_ < pageCount()) {
        goToPage(currentPage_ + 1);
    } else {
        bar->setValue(bar->maximum());
    }
}

void TReportPreview::pageAdded(int number) {
    updatePageText();
    ui->ThumbnailList->setPageCount(pageCount());
    if (number == currentPage_) {
        showCurrentPage();
        ui->ThumbnailList->selectPage(number);
    }
}

void TReportPreview::progressChanged(int percent) {
    if (percent == 0 || percent == 100) {
        progressPanel_->clear();
        lastProgress_ = percent;
    } else if (percent >= lastProgress_ + 5) {
        progressPanel_->setText(QString::number(percent) + QLatin1Char('%'));
        lastProgress_ = percent;
    }
}

void TReportPreview::showCurrentPage() {
    if (pages_ != nullptr && currentPage_ <= pages_->pageCount()) {
        ui->PageArea->setPage(&pages_->page(currentPage_), &pages_->fonts());
    } else {
        ui->PageArea->setPage(nullptr, nullptr);
    }
}

void TReportPreview::updatePageText() {
    pagePanel_->setText(QStringLiteral("Page %1 of %2").arg(currentPage_).arg(pageCount()));
}

void TReportPreview::areaResized() {
    if (zoomMode_ == ZoomMode::Percent) {
        ui->PageArea->recentre();
    } else {
        setZoom(zoomMode_);
    }
}

}  // namespace reports
