#pragma once

#include <QString>

enum class FieldType { Integer, SmallInt, Float, DateTime, Text };

// Where a field's value comes from.
enum class FieldSource {
    Data,       // a column of the table, read and written
    Calculated, // filled by the dataset's calculation handler, never stored
    Lookup,     // read from another dataset at the moment it is asked for
    // Computed by the select from what is stored, read with the row: never written, and not
    // taken for another user's change when a re-read row differs in it.
    Selected,
};

// One field that a dataset exposes, with what grids need to show it.
struct FieldDef {
    QString name;
    FieldType type = FieldType::Text;
    FieldSource source = FieldSource::Data;
    int size = 0;         // characters, for text
    QString label;        // column title; the name when empty
    int displayWidth = 0; // characters; 0 leaves it to the grid
    bool visible = true;
    bool required = false;

    QString title() const { return label.isEmpty() ? name : label; }
    bool isNumeric() const
    {
        return type == FieldType::Integer || type == FieldType::SmallInt ||
               type == FieldType::Float;
    }
};
