#include "application_title.h"

namespace {

QString &title()
{
    static QString value;
    return value;
}

} // namespace

QString applicationTitle()
{
    return title();
}

void setApplicationTitle(const QString &value)
{
    title() = value;
}
