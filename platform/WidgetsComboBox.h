#pragma once
// A drop-down list without typing, as the windows use it: the user can only pick
// a listed item, and the list can show an initial text while no item is selected
// ("X4" with ItemIndex -1). Text() is what the user sees.
#include <QComboBox>

#include <string>
#include <vector>

namespace platform {

class TComboBox : public QComboBox {
    Q_OBJECT
public:
    TComboBox(QWidget* parent, const QString& name, const QRect& geometry,
              const QStringList& items = {}, const QString& shownText = {});

    // The selected item's text, or the initial text while nothing is selected.
    std::string Text() const;

    int ItemIndex() const { return currentIndex(); }
    // -1 selects nothing; the list then shows nothing either.
    void SetItemIndex(int index);

    int Count() const { return count(); }
    std::string Item(int index) const;
    std::vector<std::string> Items() const;
    // Appends without changing the selection.
    void AddItem(const std::string& text);
    // Removes every item; nothing is selected or shown afterwards.
    void Clear();
};

} // namespace platform
