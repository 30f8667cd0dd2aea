#pragma once

// What the document editor is opened over.
enum class EditorMode {
    New,     // a document it inserts
    Current, // the register's current document
    Copy,    // a copy of the current document, stored already with its lines
};
