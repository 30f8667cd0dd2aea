#pragma once

#include <QString>

namespace ztemplates {

// What a built-in template prints, as the user knows the form: "Счет на оплату",
// "Накладная (книжная)"; the name itself for a name that is not built in.
QString builtinTemplateTitle(const QString &name);

} // namespace ztemplates
