#include "shell/StatusMenuRenderer.h"

#include "layout/LayoutType.h"
#include "views/DragModeMenuItemView.h"
#include "views/DropdownItemViewContainer.h"
#include "views/InlineLayoutViewContainer.h"
#include "views/SymbolImage.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidgetAction>

#include <vector>

namespace zentaris {

namespace {

using Kind = StatusMenuItem::Kind;

// Keeps one menu's drawn rows in step with the menu's highlighted entry, whether the pointer or
// the arrow keys moved it, and handles the keys the menu itself does not.
class MenuRowsController : public QObject {
public:
    explicit MenuRowsController(QMenu* menu) : QObject(menu), menu_(menu) {
        menu->installEventFilter(this);
        QObject::connect(menu, &QMenu::hovered, this, [this](QAction*) { refresh(); });
    }

    void add(QWidgetAction* action, MenuRowView* row) { rows_.emplace_back(action, row); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != menu_) return false;
        switch (event->type()) {
        case QEvent::KeyPress:
            if (handleKey(static_cast<QKeyEvent*>(event))) return true;
            refreshLater();
            break;
        case QEvent::MouseButtonRelease:
            // While a submenu is open, clicks on this menu reach the menu rather than the row.
            if (handleRelease(static_cast<QMouseEvent*>(event))) return true;
            break;
        case QEvent::Leave:
        case QEvent::Hide:
        case QEvent::Show:
        case QEvent::MouseMove:
            refreshLater();
            break;
        default:
            break;
        }
        return false;
    }

private:
    bool handleKey(QKeyEvent* event) {
        // Chords with Ctrl, Alt or Super are global shortcuts, which the shortcut module takes from
        // the raw key stream while a menu is open; the menu must not also act on them.
        if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return true;
        const int key = event->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Space) return false;
        // The menu would open a row's submenu on Return; the row's own action is what Return asks for.
        QAction* active = menu_->activeAction();
        if (!active || !active->menu() || !isRow(active)) return false;
        active->trigger();
        return true;
    }

    bool handleRelease(QMouseEvent* event) {
        if (event->button() != Qt::LeftButton) return false;
        QAction* action = menu_->actionAt(event->position().toPoint());
        if (!action || !isRow(action)) return false;
        action->trigger();
        return true;
    }

    bool isRow(QAction* action) const {
        for (const auto& [rowAction, row] : rows_) {
            if (rowAction == action) return true;
        }
        return false;
    }

    void refreshLater() {
        if (refreshPending_) return;
        refreshPending_ = true;
        QTimer::singleShot(0, this, [this] {
            refreshPending_ = false;
            refresh();
        });
    }

    void refresh() {
        QAction* active = menu_->isVisible() ? menu_->activeAction() : nullptr;
        for (const auto& [action, row] : rows_) row->setHovered(action == active);
    }

    QMenu* menu_;
    std::vector<std::pair<QWidgetAction*, MenuRowView*>> rows_;
    bool refreshPending_ = false;
};

// Closes every open menu of the status menu, innermost first, then runs the action once the
// menu's event handling is over (the action may rebuild, and so delete, this very menu).
void choose(QMenu* root, const std::function<void()>& run) {
    for (QMenu* submenu : root->findChildren<QMenu*>()) {
        if (submenu->isVisible()) submenu->hide();
    }
    root->hide();
    if (run) QTimer::singleShot(0, QCoreApplication::instance(), run);
}

class MenuBuilder {
public:
    explicit MenuBuilder(QMenu* root) : root_(root) {}

    void addItems(QMenu* menu, const std::vector<StatusMenuItem>& items) {
        auto* rows = new MenuRowsController(menu);
        const QColor tint = menu->palette().color(QPalette::WindowText);
        for (const auto& item : items) {
            switch (item.kind) {
            case Kind::separator:
                menu->addSeparator();
                break;
            case Kind::header: {
                QAction* header = menu->addAction(QString::fromStdString(item.title));
                header->setEnabled(false);
                break;
            }
            case Kind::layoutRow:
            case Kind::slotRow:
            case Kind::dragModeRow:
                addRow(menu, *rows, item);
                break;
            case Kind::submenu: {
                auto* submenu = new QMenu(QString::fromStdString(item.title), menu);
                submenu->setIcon(symbolIcon(item.symbol, tint));
                addItems(submenu, item.children);
                QAction* entry = menu->addMenu(submenu);
                entry->setStatusTip(QString::fromStdString(item.accessibilityDescription));
                break;
            }
            case Kind::action: {
                QAction* entry = menu->addAction(symbolIcon(item.symbol, tint), QString::fromStdString(item.title));
                entry->setEnabled(item.enabled);
                entry->setStatusTip(QString::fromStdString(item.accessibilityDescription));
                QObject::connect(entry, &QAction::triggered, entry, [root = root_, run = item.action] { choose(root, run); });
                break;
            }
            }
        }
    }

private:
    void addRow(QMenu* menu, MenuRowsController& rows, const StatusMenuItem& item) {
        MenuRowView* row = makeRow(item);
        auto* action = new QWidgetAction(menu);
        action->setDefaultWidget(row);
        action->setText(QString::fromStdString(item.title));
        action->setEnabled(item.enabled);
        if (item.tag) action->setData(*item.tag);
        if (!item.children.empty()) {
            auto* submenu = new QMenu(QString::fromStdString(item.title), menu);
            addItems(submenu, item.children);
            action->setMenu(submenu);
        }
        row->setOnClick([action] { action->trigger(); });
        QObject::connect(action, &QAction::triggered, action, [root = root_, run = item.action] { choose(root, run); });
        menu->addAction(action);
        rows.add(action, row);
    }

    static MenuRowView* makeRow(const StatusMenuItem& item) {
        const int width = static_cast<int>(item.width), height = static_cast<int>(item.height);
        switch (item.kind) {
        case Kind::layoutRow:
            if (auto layout = layoutTypeFromRaw(item.layout.value_or(-1))) {
                return new InlineLayoutViewContainer(item.title, *layout, item.caption);
            }
            break;
        case Kind::dragModeRow:
            return new DragModeMenuItemView(item.isOn, item.caption);
        default:
            break;
        }
        return new DropdownItemViewContainer(item.title, item.symbol, item.caption, width > 0 ? width : 220,
                                             height > 0 ? height : 22);
    }

    QMenu* root_;
};

} // namespace

std::unique_ptr<QMenu> renderStatusMenu(const StatusMenu& model) {
    auto menu = std::make_unique<QMenu>();
    menu->setMinimumWidth(static_cast<int>(model.minimumWidth));
    MenuBuilder(menu.get()).addItems(menu.get(), model.items);
    return menu;
}

} // namespace zentaris
