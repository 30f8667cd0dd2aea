#pragma once

#include "reference_list.h"

#include "ui/pick_modes.h"

// The catalogue of goods, services and other items, one kind per tab. Opened with
// GoodsPick::AddLine the chosen item becomes a new line of the document, whose quantity the
// quantity prompt then asks; with ReplaceItem it replaces the item of the current line.
class TfrmNomenkl : public ReferenceList {
    Q_OBJECT

public:
    TfrmNomenkl(const RefbookContext &context, QWidget *parent = nullptr,
                GoodsPick mode = GoodsPick::Browse);

protected:
    void pick() override;

private:
    void addLine();
    void replaceLinesItem();
    void copyItemIntoLine();

    GoodsPick m_mode;
};
