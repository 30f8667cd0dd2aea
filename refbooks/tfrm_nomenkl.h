#pragma once

#include "reference_list.h"

// The catalogue of goods, services and other items, one kind per tab. Opened with
// NomenklMode 1 the chosen item becomes a new line of the document, whose quantity the
// quantity prompt then asks; with 2 it replaces the item of the current line.
class TfrmNomenkl : public ReferenceList {
    Q_OBJECT

public:
    TfrmNomenkl(const RefbookContext &context, QWidget *parent = nullptr);

protected:
    void pick() override;

private:
    void btnAddClick();
    void addLine();
    void replaceLinesItem();
    void copyItemIntoLine();

    int m_mode;
};
