#pragma once

#include "reference_list.h"

#include "ui/pick_modes.h"

// The payment purpose codes. Opened with ListPick::IntoDocument the chosen code goes into
// the document.
class TfrmKNP : public ReferenceList {
    Q_OBJECT

public:
    TfrmKNP(const RefbookContext &context, QWidget *parent = nullptr,
            ListPick mode = ListPick::Browse);

protected:
    void pick() override;
};
