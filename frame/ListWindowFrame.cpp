#include "frame/ListWindowFrame.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

#include "grid/DataGrid.h"
#include "panels/EnterClicksButtons.h"
#include "platform/FormActivation.h"
#include "platform/WindowLook.h"

namespace frame {

ListWindowFrame::ListWindowFrame(QWidget& window, const std::vector<std::string>& tables)
    : window_(window), tables_(tables) {
    platform::FormActivation::instance();  // watching before the first activation
    window_.installEventFilter(this);
}

ListWindowFrame::~ListWindowFrame() {
    // The list, a child of the window, outlives the frame: it lets go of the query first.
    if (list_ != nullptr) list_->setQuery(nullptr);
}

QMenu* ListWindowFrame::setUpList(grid::TDataGrid& list, std::vector<grid::GridColumn> columns,
                                  bool footerBold, store::Query& query,
                                  std::initializer_list<QAction*> menuItems) {
    list_ = &list;
    list.setColumns(std::move(columns));
    list.setFooterBold(footerBold);
    list.setQuery(&query);
    QMenu* menu = platform::look::contextMenu(window_, menuItems);
    list.setPopupMenu(menu);
    return menu;
}

void ListWindowFrame::onActivation(std::function<void()> handler, std::function<bool()> alsoWhen) {
    activation_ = std::move(handler);
    alsoActivateWhen_ = std::move(alsoWhen);
}

void ListWindowFrame::onClose(std::function<void()> handler) { closing_ = std::move(handler); }

void ListWindowFrame::onLabelClick(QLabel& label, std::function<void()> handler) {
    label.installEventFilter(this);
    labels_.emplace_back(&label, std::move(handler));
}

void ListWindowFrame::finishSetUp() { panels::EnterClicksButtons::install(window_); }

bool ListWindowFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_) {
        if (event->type() == QEvent::WindowActivate && activation_) {
            const bool fromForm =
                platform::FormActivation::instance().cameFromAnotherForm(&window_);
            if (fromForm || (alsoActivateWhen_ && alsoActivateWhen_()))
                platform::runCommand(&window_, activation_);
        } else if (event->type() == QEvent::Close && closing_) {
            platform::runCommand(&window_, closing_);
        }
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        for (const auto& [label, handler] : labels_) {
            if (watched != label || mouse->button() != Qt::LeftButton ||
                !label->rect().contains(mouse->position().toPoint()))
                continue;
            platform::runCommand(&window_, handler);
            return true;
        }
    }
    return false;
}

void quitProgram(QWidget* mainWindow) {
    if (mainWindow != nullptr) mainWindow->close();
    QCoreApplication::quit();
}

}  // namespace frame
