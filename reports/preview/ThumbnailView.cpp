#include "reports/preview/ThumbnailView.h"

#include <QAbstractListModel>
#include <QPainter>
#include <QResizeEvent>
#include <QStyledItemDelegate>

#include "reports/engine/PagePainter.h"
#include "reports/engine/ReportPages.h"
#include "reports/engine/Units.h"

namespace reports {

namespace {
constexpr int kMargin = 6;
constexpr double kPaperRatio = 2100.0 / 2970.0;  // A4 landscape, length over width
}  // namespace

class ThumbnailModel : public QAbstractListModel {
  public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : count_;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || role != Qt::DisplayRole) return {};
        return index.row() + 1;
    }
    void setCount(int count) {
        if (count > count_) {
            beginInsertRows({}, count_, count - 1);
            count_ = count;
            endInsertRows();
        } else if (count < count_) {
            beginRemoveRows({}, count, count_ - 1);
            count_ = count;
            endRemoveRows();
        }
        if (count_ > 0) emit dataChanged(index(0), index(count_ - 1));
    }

  private:
    int count_ = 0;
};

namespace {

class ThumbnailDelegate : public QStyledItemDelegate {
  public:
    explicit ThumbnailDelegate(ThumbnailView* view) : QStyledItemDelegate(view), view_(view) {}

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        const int width = std::max(20, view_->viewport()->width());
        const int pageWidth = width - 2 * kMargin;
        return QSize(width, int(pageWidth * kPaperRatio) + 2 * kMargin);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QRect cell = option.rect;
        if (option.state & QStyle::State_Selected) {
            painter->fillRect(cell, option.palette.highlight());
        }
        const QRect page = cell.adjusted(kMargin, kMargin, -kMargin, -kMargin);
        painter->fillRect(page, Qt::white);
        const int number = index.row() + 1;
        const ReportPages* pages = view_->pages();
        if (pages != nullptr && number <= pages->pageCount()) {
            painter->save();
            painter->setClipRect(page);
            painter->translate(page.topLeft());
            const double dpi = page.width() * kTenthsPerInch / 2970.0;
            paintPage(pages->page(number), pages->fonts(), *painter, DeviceMapping{dpi, dpi});
            painter->restore();
        }
        painter->setPen(Qt::black);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(page.adjusted(0, 0, -1, -1));
        painter->setFont(option.font);
        painter->drawText(page.adjusted(3, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                          QString::number(number));
    }

  private:
    ThumbnailView* view_;
};

}  // namespace

ThumbnailView::ThumbnailView(QWidget* parent)
    : QListView(parent), model_(new ThumbnailModel(this)) {
    setModel(model_);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setItemDelegate(new ThumbnailDelegate(this));
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!selecting_ && current.isValid()) emit pageClicked(current.row() + 1);
            });
}

ThumbnailView::~ThumbnailView() = default;

void ThumbnailView::setPageCount(int count) {
    model_->setCount(count);
    viewport()->update();
}

int ThumbnailView::pageCount() const { return model_->rowCount(); }

void ThumbnailView::selectPage(int number) {
    if (number < 1 || number > model_->rowCount()) return;
    selecting_ = true;
    const QModelIndex index = model_->index(number - 1);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
    selecting_ = false;
}

int ThumbnailView::selectedPage() const {
    const QModelIndex current = selectionModel()->currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void ThumbnailView::resizeEvent(QResizeEvent* event) {
    QListView::resizeEvent(event);
    doItemsLayout();  // rows follow the pane's width
}

}  // namespace reports
