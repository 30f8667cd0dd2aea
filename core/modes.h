#pragma once

// Process-wide modes that a window sets before it opens another and resets to 0 after it:
// they tell the opened window what it is opened for.

// The document editor: 1 a new document, 2 the current document, 3 a fresh copy.
inline int SchetMode = 0;
// The client list: 0 browse, 1 the document's client, 2 the register's client filter,
// 3 the holder of a power of attorney.
inline int OrgPickMode = 0;
// The goods list: 0 browse, 1 add a line, 2 replace a line's item.
inline int NomenklMode = 0;
// The grounds list and the KNP list: 0 browse, 1 pick into the document.
inline int OsnovPickMode = 0;
inline int KNPPickMode = 0;
