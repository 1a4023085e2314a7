#include "core/workstation_locale.h"

#include <QLocale>

void setWorkstationLocale()
{
    QLocale ru(QLocale::Russian, QLocale::Russia);
    // Numbers are written without thousands separators, as the shop's old workstations did.
    ru.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(ru);
}
