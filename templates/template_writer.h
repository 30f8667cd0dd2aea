#pragma once

#include "report/report_model.h"

#include <QByteArray>

// The template model written back as the XML the loader reads: each object as an element of
// its class holding the properties that differ from its class default, in the order the loader
// must apply them; reading the result gives an equal model.
namespace ztemplates {

QByteArray writeTemplate(const zreport::TfrxReport &report);
// One object of a band as its element; equal for two objects that a template stores alike.
QByteArray writeObject(const zreport::TfrxView &view);

} // namespace ztemplates
