#pragma once

#include "report/report_model.h"

#include <QStringList>

namespace zdesigner {

// What a memo of the form may show, as bracket expressions to insert: the fields of the
// form's datasets that its objects use ("[DSetDocs."NUMSCH"]"), sorted, then the variables of
// the engine ("[Date]", "[Page#]", ...).
QStringList formFields(const zreport::TfrxReport &report);

} // namespace zdesigner
