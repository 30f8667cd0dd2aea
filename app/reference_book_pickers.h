#pragma once

#include "editor/document_pickers.h"
#include "refbooks/reference_list.h"

// The reference-book windows through which the editor picks: each is created for the
// call, run by the context's dialog runner and destroyed after it.
DocumentPickers referenceBookPickers(const RefbookContext &context);
