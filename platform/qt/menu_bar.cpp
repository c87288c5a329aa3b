#include "platform/qt/menu_bar.h"

#include <QAction>
#include <QFontMetrics>
#include <QMenu>
#include <QMenuBar>
#include <QString>
#include <QStyle>
#include <QStyleOptionMenuItem>
#include <map>

namespace platform {

namespace {

QString text_of(const MenuEntry& entry) {
    // Item texts are the programs' own 8-bit strings; Latin-1 keeps every byte as one character.
    return QString::fromLatin1(entry.text ? entry.text : "");
}

void set_up_command(QAction* action, const MenuEntry& entry, const std::function<void(int)>& on_command) {
    action->setData(entry.id);
    action->setObjectName(QString::number(entry.id));
    action->setEnabled(!has_flag(entry.flags, MenuFlags::grayed));
    if (has_flag(entry.flags, MenuFlags::checked)) {
        action->setCheckable(true);
        action->setChecked(true);
    }
    const int id = entry.id;
    QObject::connect(action, &QAction::triggered, action, [on_command, id] {
        if (on_command && id >= 0) on_command(id);
    });
}

} // namespace

void build_menu_bar(QMenuBar& bar, std::span<const MenuEntry> entries, std::function<void(int)> on_command) {
    std::map<int, QMenu*> menus;
    auto menu_at = [&](int index) {
        auto& menu = menus[index];
        if (!menu) menu = new QMenu(&bar);
        return menu;
    };
    QMenuBar* row = &bar; // the part of the bar that bar items go to
    for (const MenuEntry& entry : entries) {
        if (entry.menu < 0 && has_flag(entry.flags, MenuFlags::right_justify) && row == &bar) {
            row = new QMenuBar(&bar);
            bar.setCornerWidget(row, Qt::TopRightCorner);
        }
        if (entry.menu < 0 && has_flag(entry.flags, MenuFlags::popup)) {
            QMenu* menu = menu_at(entry.id);
            menu->setTitle(text_of(entry));
            menu->menuAction()->setEnabled(!has_flag(entry.flags, MenuFlags::grayed));
            row->addMenu(menu);
            continue;
        }
        QWidget* parent = entry.menu < 0 ? static_cast<QWidget*>(row) : menu_at(entry.menu);
        if (has_flag(entry.flags, MenuFlags::separator)) {
            if (auto* menu = qobject_cast<QMenu*>(parent)) menu->addSeparator();
            continue;
        }
        auto* action = new QAction(text_of(entry), parent);
        parent->addAction(action);
        set_up_command(action, entry, on_command);
    }
}

namespace {

int one_row_width(QMenuBar& bar) {
    int total = 0;
    const QFontMetrics metrics(bar.font());
    auto add = [&](QMenuBar& row) {
        for (QAction* action : row.actions()) {
            if (action->isSeparator() || !action->isVisible()) continue;
            QStyleOptionMenuItem option;
            option.initFrom(&row);
            option.menuItemType = QStyleOptionMenuItem::Normal;
            option.text = action->text();
            const QSize text(metrics.horizontalAdvance(action->text()), metrics.height());
            total += row.style()->sizeFromContents(QStyle::CT_MenuBarItem, &option, text, &row).width();
            total += row.style()->pixelMetric(QStyle::PM_MenuBarItemSpacing, nullptr, &row);
        }
        total += 2 * row.style()->pixelMetric(QStyle::PM_MenuBarHMargin, nullptr, &row);
        total += 2 * row.style()->pixelMetric(QStyle::PM_MenuBarPanelWidth, nullptr, &row);
    };
    add(bar);
    if (auto* right = qobject_cast<QMenuBar*>(bar.cornerWidget(Qt::TopRightCorner))) {
        right->setFont(bar.font());
        add(*right);
    }
    return total;
}

} // namespace

void fit_menu_bar(QMenuBar& bar, int width) {
    QFont font = bar.font();
    while (one_row_width(bar) > width && font.pointSizeF() > 6.0) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        bar.setFont(font);
    }
}

QAction* find_menu_action(QMenuBar& bar, int id) {
    for (QAction* action : bar.findChildren<QAction*>()) {
        if (action->data().isValid() && action->data().toInt() == id) return action;
    }
    return nullptr;
}

bool check_menu_item(QMenuBar& bar, int id, bool checked) {
    QAction* action = find_menu_action(bar, id);
    if (!action) return false;
    action->setCheckable(true);
    action->setChecked(checked);
    return true;
}

bool enable_menu_item(QMenuBar& bar, int id, bool enabled) {
    QAction* action = find_menu_action(bar, id);
    if (!action) return false;
    action->setEnabled(enabled);
    return true;
}

} // namespace platform
