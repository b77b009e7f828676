#include "app/shell/StatusMenuRenderer.h"

#include <QAction>

namespace zentaris {

namespace {

QString entryText(const StatusMenuItem& item) {
    QString text = QString::fromStdString(item.title);
    if (item.caption) text += QLatin1Char('\t') + QString::fromStdString(*item.caption);
    return text;
}

void addItems(QMenu* menu, const std::vector<StatusMenuItem>& items) {
    for (const auto& item : items) {
        using Kind = StatusMenuItem::Kind;
        if (item.kind == Kind::separator) {
            menu->addSeparator();
            continue;
        }
        if (item.kind == Kind::header) {
            menu->addSection(QString::fromStdString(item.title));
            continue;
        }
        if (!item.children.empty()) {
            QMenu* submenu = menu->addMenu(entryText(item));
            addItems(submenu, item.children);
            if (item.action) {
                // The layout row arranges all windows when chosen itself; its submenu places one.
                QAction* whole = new QAction(QStringLiteral("⟲ ") + QString::fromStdString(item.title), submenu);
                QObject::connect(whole, &QAction::triggered, submenu, [action = item.action] { action(); });
                submenu->insertAction(submenu->actions().value(0), whole);
                submenu->insertSeparator(submenu->actions().value(1));
            }
            continue;
        }
        QString text = entryText(item);
        if (item.kind == Kind::dragModeRow) text = QString::fromStdString(item.title) + (item.isOn ? " ✓" : "") +
                                                   (item.caption ? "\t" + QString::fromStdString(*item.caption) : "");
        QAction* action = menu->addAction(text);
        action->setEnabled(item.enabled);
        if (item.tag) action->setData(*item.tag);
        if (item.action) QObject::connect(action, &QAction::triggered, menu, [run = item.action] { run(); });
    }
}

} // namespace

std::unique_ptr<QMenu> renderStatusMenu(const StatusMenu& model) {
    auto menu = std::make_unique<QMenu>();
    menu->setMinimumWidth(static_cast<int>(model.minimumWidth));
    addItems(menu.get(), model.items);
    return menu;
}

} // namespace zentaris
