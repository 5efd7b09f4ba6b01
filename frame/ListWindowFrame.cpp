#include "frame/ListWindowFrame.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QToolButton>
#include <stdexcept>

#include "grid/DataGrid.h"
#include "panels/EnterClicksButtons.h"
#include "panels/PanelDrag.h"
#include "platform/Command.h"
#include "platform/Fonts.h"
#include "platform/FormActivation.h"
#include "platform/Platform.h"
#include "platform/WindowLook.h"
#include "store/Query.h"

namespace frame {

namespace {

const QSize kFaceSize(1000, 603);

}  // namespace

template <typename Control>
Control& ListWindowFrame::child(const std::string& name) const {
    auto* control = window_.findChild<Control*>(QString::fromStdString(name));
    if (control == nullptr)
        throw std::logic_error("no control " + name + " in " + window_.objectName().toStdString());
    return *control;
}

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
                                  std::initializer_list<QAction*> menuItems,
                                  RowDeleter deleteRows) {
    list_ = &list;
    list.setColumns(std::move(columns));
    list.setFooterBold(footerBold);
    list.setQuery(&query);
    list.setRowDeleter(std::move(deleteRows));
    QMenu* menu = platform::look::contextMenu(window_, menuItems);
    list.setPopupMenu(menu);
    return menu;
}

void ListWindowFrame::onActivation(std::function<void()> handler, std::function<bool()> alsoWhen) {
    activation_ = std::move(handler);
    alsoActivateWhen_ = std::move(alsoWhen);
}

void ListWindowFrame::onActivationRereading(std::function<void()> handler,
                                            const store::Query& list) {
    onActivation(std::move(handler), [this, &list] { return !list.isOpen() && !rereadFailed_; });
}

void ListWindowFrame::reread(const std::function<void()>& refresh) {
    rereadFailed_ = true;
    refresh();
    rereadFailed_ = false;
}

void ListWindowFrame::onClose(std::function<void()> handler) { closing_ = std::move(handler); }

void ListWindowFrame::connectCommandsByName() {
    const QMetaObject& meta = *window_.metaObject();
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod handler = meta.method(i);
        if (handler.methodType() != QMetaMethod::Slot || handler.parameterCount() != 0) continue;
        const QString name = QString::fromLatin1(handler.name());
        auto run = [this, handler] {
            platform::runCommand(&window_, [&] { handler.invoke(&window_, Qt::DirectConnection); });
        };
        bool connected = false;
        const auto control = [&](const char* suffix) -> QObject* {
            if (!name.endsWith(QLatin1String(suffix))) return nullptr;
            return window_.findChild<QObject*>(name.chopped(int(qstrlen(suffix))));
        };
        if (auto* list = qobject_cast<grid::TDataGrid*>(control("DblClick"))) {
            connected =
                bool(QObject::connect(list, &grid::TDataGrid::doubleClicked, &window_, run));
        } else if (auto* box = qobject_cast<QComboBox*>(control("Change"))) {
            connected = bool(QObject::connect(box, &QComboBox::editTextChanged, &window_, run));
        } else if (QObject* clicked = control("Click")) {
            if (auto* button = qobject_cast<QAbstractButton*>(clicked)) {
                connected =
                    bool(QObject::connect(button, &QAbstractButton::clicked, &window_, run));
            } else if (auto* action = qobject_cast<QAction*>(clicked)) {
                connected = bool(QObject::connect(action, &QAction::triggered, &window_, run));
            } else if (auto* label = qobject_cast<QLabel*>(clicked)) {
                label->installEventFilter(this);
                labels_.emplace_back(label, run);
                connected = true;
            }
        } else if (!name.endsWith(QLatin1String("Click")) &&
                   !name.endsWith(QLatin1String("Change"))) {
            continue;  // not a control's handler (FormActivate, FormClose ...)
        }
        if (!connected)
            throw std::logic_error("no control for the handler " + name.toStdString() + " of " +
                                   window_.objectName().toStdString());
    }
}

void ListWindowFrame::deleteSelectedRows(const char* selectionHint, const char* confirmation) {
    if (list_ == nullptr) return;
    if (list_->selectedCount() < 1) {
        platform::say(&window_, selectionHint, platform::MessageKind::Info);
        return;
    }
    if (platform::say(&window_, confirmation, platform::MessageKind::Confirm) !=
        platform::Answer::Ok)
        return;
    const store::Query* rows = list_->query();
    if (rows != nullptr && !rows->isEmpty()) list_->deleteSelected();
}

void ListWindowFrame::setUpFace(QWidget& face, const QPixmap& background,
                                const std::vector<QIcon>& toolGlyphs, const QIcon& closePicture) {
    face.setFixedSize(kFaceSize);
    platform::setPixelFont(face, 13);
    child<QLabel>("Image1").setPixmap(background);
    std::vector<QToolButton*> tools;
    for (std::size_t i = 1; i <= toolGlyphs.size(); ++i)
        tools.push_back(&child<QToolButton>("SpeedButton" + std::to_string(i)));
    platform::look::styleToolButtons(tools, toolGlyphs);
    for (const char* close : {"Image2", "Image3"})
        if (auto* picture = window_.findChild<QToolButton*>(QString::fromUtf8(close)))
            platform::look::stylePictureButton(*picture, closePicture);
    platform::look::centreOnScreen(window_);
}

void ListWindowFrame::styleQuitLabel(QLabel& label) {
    platform::setPixelFont(label, 15, true);
    platform::look::setTextColour(label, Qt::white);
}

void ListWindowFrame::setUpListArea(QFrame& listArea,
                                    std::initializer_list<QFrame*> floatingPanels) {
    platform::look::styleListArea(listArea, floatingPanels);
    for (QFrame* panel : floatingPanels) {
        panels::PanelDrag::install(panel);
        panel->hide();
    }
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
