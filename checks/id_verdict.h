#pragma once

#include <QString>

// What a check says about one typed identifier. A number that fails gets the reason, in
// Russian, for the user; one that passes may say what it is (a person's IIN, a bank's
// account). An empty value is not checked: it passes and says nothing.
struct IdVerdict {
    bool ok = true;
    QString reason; // why it fails
    QString about;  // what a passing number is, when that can be told

    static IdVerdict fail(const QString &reason) { return {false, reason, {}}; }
    static IdVerdict pass(const QString &about = {}) { return {true, {}, about}; }
};
