#include "commands/gui/popupmenu.h"

#include "commands/gui/icons.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace varkel {

namespace {
QString qs(std::string_view s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}
} // namespace

PopupMenu::PopupMenu(QObject *parent)
    : QObject(parent)
{
    m_items.emplace_back();
}

PopupMenu::~PopupMenu()
{
    // A menu level has no parent widget (a popup is a window of its own), so
    // the levels are deleted here; removed items' levels went with deleteLater
    // and are null. Each level's signals are cut first: the frame listening to
    // this object may already be half destroyed when its children go.
    for (Item &item : m_items) {
        if (item.submenu) {
            item.submenu->disconnect(this);
            delete item.submenu;
            item.submenu = nullptr;
        }
    }
}

void PopupMenu::Attach(QMenuBar *bar)
{
    m_bar = bar;
}

PopupMenu::Item *PopupMenu::find(std::string_view key)
{
    for (size_t i = 1; i < m_items.size(); ++i)
        if (!m_items[i].removed && m_items[i].key == key)
            return &m_items[i];
    return nullptr;
}

const PopupMenu::Item *PopupMenu::find(std::string_view key) const
{
    return const_cast<PopupMenu *>(this)->find(key);
}

int PopupMenu::IndexForKey(std::string_view key) const
{
    const Item *item = find(key);
    return item ? static_cast<int>(item - m_items.data()) : 0;
}

std::string PopupMenu::KeyForIndex(int index) const
{
    if (index <= 0 || index >= static_cast<int>(m_items.size()) || m_items[index].removed)
        return {};
    return m_items[index].key;
}

int PopupMenu::ItemData(int index) const
{
    if (index <= 0 || index >= static_cast<int>(m_items.size()))
        return 0;
    return m_items[index].data;
}

QMenu *PopupMenu::submenuOf(int index)
{
    Item &owner = m_items[index];
    if (!owner.submenu) {
        owner.submenu = new QMenu(owner.action ? owner.action->text() : QString());
        owner.submenu->setToolTipsVisible(false);
        if (owner.action)
            owner.action->setMenu(owner.submenu);
        connect(owner.submenu, &QMenu::aboutToShow, this, [this, index] { emit InitPopupMenu(index); });
        if (owner.parent == 0)
            connect(owner.submenu, &QMenu::aboutToHide, this, &PopupMenu::MenuExit);
    }
    return owner.submenu;
}

int PopupMenu::AddItem(std::string_view caption, std::string_view /*help*/, int itemData, int parentIndex,
                       std::string_view icon, bool checked, bool enabled, std::string_view key)
{
    const int index = static_cast<int>(m_items.size());
    m_items.push_back(Item{std::string(key), nullptr, nullptr, parentIndex, itemData, false});

    QAction *action = nullptr;
    if (parentIndex == 0) {
        auto *menu = new QMenu(qs(caption));
        m_items[index].submenu = menu;
        connect(menu, &QMenu::aboutToShow, this, [this, index] { emit InitPopupMenu(index); });
        connect(menu, &QMenu::aboutToHide, this, &PopupMenu::MenuExit);
        action = m_bar ? m_bar->addMenu(menu) : menu->menuAction();
    } else {
        QMenu *parentMenu = submenuOf(parentIndex);
        if (caption == "-") {
            action = parentMenu->addSeparator();
        } else {
            action = parentMenu->addAction(IconFor(icon), qs(caption));
        }
    }
    action->setObjectName(qs(key));
    action->setEnabled(enabled);
    if (checked) {
        action->setCheckable(true);
        action->setChecked(true);
    }
    m_items[index].action = action;
    if (parentIndex != 0 && caption != "-") {
        connect(action, &QAction::triggered, this, [this, index] {
            // The owner sets check marks itself; undo Qt's automatic toggle.
            emit Click(index);
        });
        connect(action, &QAction::hovered, this, [this, index] { emit ItemHighlight(index); });
    }
    return index;
}

void PopupMenu::SetItemState(std::string_view key, std::optional<bool> checked, std::optional<bool> enabled)
{
    Item *item = find(key);
    if (!item || !item->action)
        return;
    if (checked) {
        item->action->setCheckable(true);
        item->action->setChecked(*checked);
    }
    if (enabled)
        item->action->setEnabled(*enabled);
}

void PopupMenu::SetRadioCheck(int index)
{
    if (index <= 0 || index >= static_cast<int>(m_items.size()) || m_items[index].removed)
        return;
    QAction *target = m_items[index].action;
    QMenu *menu = m_items[index].parent ? m_items[m_items[index].parent].submenu : nullptr;
    if (!menu || !target)
        return;
    const QList<QAction *> actions = menu->actions();
    const qsizetype pos = actions.indexOf(target);
    qsizetype first = pos, last = pos;
    while (first > 0 && !actions[first - 1]->isSeparator())
        --first;
    while (last + 1 < actions.size() && !actions[last + 1]->isSeparator())
        ++last;
    for (qsizetype i = first; i <= last; ++i) {
        if (actions[i]->isCheckable() || actions[i] == target) {
            actions[i]->setCheckable(true);
            actions[i]->setChecked(actions[i] == target);
        }
    }
}

void PopupMenu::SetCaption(std::string_view key, std::string_view caption)
{
    if (Item *item = find(key); item && item->action)
        item->action->setText(qs(caption));
}

void PopupMenu::removeAt(int index)
{
    Item &item = m_items[index];
    if (item.removed)
        return;
    for (size_t i = 1; i < m_items.size(); ++i)
        if (!m_items[i].removed && m_items[i].parent == index)
            removeAt(static_cast<int>(i));
    item.removed = true;
    if (item.parent && m_items[item.parent].submenu && item.action)
        m_items[item.parent].submenu->removeAction(item.action);
    if (item.action && item.parent)
        item.action->deleteLater();
    if (item.submenu)
        item.submenu->deleteLater();
    item.action = nullptr;
    item.submenu = nullptr;
}

void PopupMenu::RemoveItem(std::string_view key)
{
    if (int index = IndexForKey(key))
        removeAt(index);
}

void PopupMenu::RemoveChildren(std::string_view key)
{
    const int owner = IndexForKey(key);
    if (!owner)
        return;
    for (size_t i = 1; i < m_items.size(); ++i)
        if (!m_items[i].removed && m_items[i].parent == owner)
            removeAt(static_cast<int>(i));
}

bool PopupMenu::IsEnabled(std::string_view key) const
{
    const Item *item = find(key);
    return item && item->action && item->action->isEnabled();
}

bool PopupMenu::IsChecked(std::string_view key) const
{
    const Item *item = find(key);
    return item && item->action && item->action->isChecked();
}

QString PopupMenu::Caption(std::string_view key) const
{
    const Item *item = find(key);
    return item && item->action ? item->action->text() : QString();
}

QAction *PopupMenu::Action(std::string_view key) const
{
    const Item *item = find(key);
    return item ? item->action : nullptr;
}

QMenu *PopupMenu::Submenu(std::string_view key) const
{
    const Item *item = find(key);
    return item ? item->submenu : nullptr;
}

void PopupMenu::ShowPopup(QPoint globalPos, int index)
{
    if (index <= 0 || index >= static_cast<int>(m_items.size()))
        return;
    const int parent = m_items[index].parent;
    if (parent == 0) {
        // The top level: a popup holding every top-level menu.
        QMenu top;
        for (size_t i = 1; i < m_items.size(); ++i)
            if (!m_items[i].removed && m_items[i].parent == 0 && m_items[i].submenu)
                top.addMenu(m_items[i].submenu);
        top.exec(globalPos);
        return;
    }
    if (QMenu *menu = m_items[parent].submenu)
        menu->popup(globalPos);
}

void PopupMenu::RaiseClick(int index)
{
    if (index > 0 && index < static_cast<int>(m_items.size()) && !m_items[index].removed)
        emit Click(index);
}

} // namespace varkel
