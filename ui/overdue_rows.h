#pragma once

class DatasetModel;

// Shows the rows of the register whose STATUS column (see core/register_statements.h) says the
// document is overdue in red. The model's dataset must list STATUS among its fields.
void showOverdueRowsInRed(DatasetModel &model);
