#include "form_locale.h"

namespace zreport {

QLocale formLocale()
{
    static const QLocale locale(QLocale::Russian, QLocale::Kazakhstan);
    return locale;
}

} // namespace zreport
