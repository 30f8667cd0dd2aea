#pragma once

#include "report_model.h"

#include <QString>

#include <optional>
#include <vector>

// The bracket structure of a memo's text, found once per run.
namespace zreport {

struct MemoSegment {
    QString text; // literal text, or the expression between the delimiters
    bool isExpression = false;
    // A trailing " #N..." picks a format for this expression alone.
    std::optional<DisplayFormat> formatOverride;
};

// Splits text at its outermost bracket expressions. Delimiters inside single or double quotes
// do not count; a bracket that never closes takes the rest of the text; an opening delimiter
// that is the last character stays literal.
std::vector<MemoSegment> splitBrackets(const QString &text, const QString &open,
                                       const QString &close);
// "[,]" -> "[" and "]".
void expressionDelimiters(const QString &stored, QString *open, QString *close);

// Paragraphs of a text in the way a list of text lines takes it: CR LF, CR and LF all break,
// a final line break adds no empty line, and an empty text has no lines.
QStringList textParagraphs(const QString &text);

} // namespace zreport
