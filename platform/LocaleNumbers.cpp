#include "LocaleNumbers.h"

#include <QLocale>
#include <QString>

namespace platform {

char LocaleDecimalSeparator()
{
    const QString point = QLocale().decimalPoint();
    if (point.size() == 1 && point.front().unicode() < 0x80)
        return static_cast<char>(point.front().unicode());
    return '.';
}

} // namespace platform
