#include "WidgetsComboBox.h"

#include <QAbstractItemView>

namespace platform {

TComboBox::TComboBox(QWidget* parent, const QString& name, const QRect& geometry,
                     const QStringList& items, const QString& shownText)
    : QComboBox(parent)
{
    setObjectName(name);
    setEditable(false);
    setGeometry(geometry);
    // The initial text is shown as the placeholder; draw it like a chosen item,
    // not greyed out, because to the user it is the current choice.
    QPalette p = palette();
    p.setColor(QPalette::PlaceholderText, p.color(QPalette::ButtonText));
    setPalette(p);
    // Device paths can be wider than the box; the open list shows them whole.
    view()->setTextElideMode(Qt::ElideNone);
    addItems(items);
    setPlaceholderText(shownText);
    setCurrentIndex(-1);
}

std::string TComboBox::Text() const
{
    return (currentIndex() >= 0 ? currentText() : placeholderText()).toStdString();
}

void TComboBox::SetItemIndex(int index)
{
    if (index < 0 || index >= count()) {
        setPlaceholderText({});
        index = -1;
    }
    setCurrentIndex(index);
}

std::string TComboBox::Item(int index) const { return itemText(index).toStdString(); }

std::vector<std::string> TComboBox::Items() const
{
    std::vector<std::string> items;
    for (int i = 0; i < count(); ++i)
        items.push_back(Item(i));
    return items;
}

void TComboBox::AddItem(const std::string& text)
{
    // QComboBox selects the first item added to an empty list; the lists here
    // change their selection only when told to.
    const int selected = currentIndex();
    addItem(QString::fromStdString(text));
    setCurrentIndex(selected);
}

void TComboBox::Clear()
{
    clear();
    setPlaceholderText({});
}

} // namespace platform
