#pragma once

// What a reference-book window is opened for: to be browsed, or to give its current row to
// the window that opened it.

// The client list.
enum class ClientPick {
    Browse,
    DocumentClient, // the document's client
    RegisterFilter, // the register's client filter box
    AttorneyHolder, // the holder of the document's power of attorney
};

// The goods and services.
enum class GoodsPick {
    Browse,
    AddLine,     // the item becomes a new line of the document
    ReplaceItem, // the item replaces the current line's
};

// The grounds of a client and the payment purpose codes.
enum class ListPick {
    Browse,
    IntoDocument,
};
