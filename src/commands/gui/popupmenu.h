#pragma once
// The window's menu object: items addressed by a 1-based index (in adding
// order) or a unique string key, shown in the menu bar and as popups. Every
// choice is reported through Click with the item's index, so that one
// dispatcher runs every command.

#include <QObject>
#include <QPoint>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

namespace varkel {

class PopupMenu : public QObject {
    Q_OBJECT
public:
    explicit PopupMenu(QObject *parent = nullptr);
    // Deletes every menu level it made.
    ~PopupMenu() override;

    // The menu bar that shows the top-level items.
    void Attach(QMenuBar *bar);

    // Adds an item; parentIndex 0 makes it a top-level item. A caption of "-"
    // adds a separator. Returns the new item's index.
    int AddItem(std::string_view caption, std::string_view help, int itemData, int parentIndex,
                std::string_view icon, bool checked, bool enabled, std::string_view key);
    // Changes only the given states of the item with this key.
    void SetItemState(std::string_view key, std::optional<bool> checked, std::optional<bool> enabled);
    // Checks the item and unchecks every other item of its run (its siblings
    // between two separators).
    void SetRadioCheck(int index);
    void SetCaption(std::string_view key, std::string_view caption);
    // Removes the item and its sub-items.
    void RemoveItem(std::string_view key);
    // Removes every child of the item with this key.
    void RemoveChildren(std::string_view key);

    int IndexForKey(std::string_view key) const;   // 0 when absent
    std::string KeyForIndex(int index) const;
    int ItemData(int index) const;
    bool IsEnabled(std::string_view key) const;
    bool IsChecked(std::string_view key) const;
    QString Caption(std::string_view key) const;

    QAction *Action(std::string_view key) const;
    QMenu *Submenu(std::string_view key) const;   // the menu level below an item
    // Pops up the menu level that holds item `index` at a screen position.
    void ShowPopup(QPoint globalPos, int index);
    // Fires Click as if the item had been chosen.
    void RaiseClick(int index);

signals:
    void Click(int index);
    void InitPopupMenu(int index);
    void ItemHighlight(int index);
    void MenuExit();

private:
    struct Item {
        std::string key;
        QAction *action = nullptr;
        QMenu *submenu = nullptr;
        int parent = 0;
        int data = 0;
        bool removed = false;
    };
    Item *find(std::string_view key);
    const Item *find(std::string_view key) const;
    QMenu *submenuOf(int index);
    void removeAt(int index);

    QMenuBar *m_bar = nullptr;
    std::vector<Item> m_items; // index 0 unused
};

} // namespace varkel
