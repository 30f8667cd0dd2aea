#pragma once

#include "reference_list.h"

// The payment purpose codes. Opened with KNPPickMode 1 the chosen code goes into the
// document.
class TfrmKNP : public ReferenceList {
    Q_OBJECT

public:
    TfrmKNP(const RefbookContext &context, QWidget *parent = nullptr);

protected:
    void pick() override;

private:
    void BitBtn1Click();
};
