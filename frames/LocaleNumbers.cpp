#include "frames/LocaleNumbers.h"

#include <QLocale>
#include <QString>

char LocaleDecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    const char c = point.isEmpty() ? '\0' : point.at(0).toLatin1();
    return c != '\0' ? c : '.';
}
