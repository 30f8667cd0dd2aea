#pragma once

#include <QString>

#include <optional>

// Identifiers as people type them. Spaces and dashes group the digits for the eye (an IIK
// printed in fours, a BIN in threes) and never change the number, so they are dropped
// before checking; so is the case of Latin letters, which banks read either way.
QString compactId(const QString &typed);

// Why the character at index (0-based) of a compact identifier cannot be in one made of
// Latin letters and digits, or nothing when it can. A Cyrillic letter that looks Latin
// (typed with the Russian keyboard layout) is named as such.
std::optional<QString> foreignCharacter(const QString &compact, qsizetype index);
// The first such character's reason, if any.
std::optional<QString> firstForeignCharacter(const QString &compact);
// The first character that is not a digit, as a reason, if any.
std::optional<QString> firstNonDigit(const QString &compact);
