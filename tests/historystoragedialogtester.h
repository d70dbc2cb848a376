#pragma once

#include "ui/historystoragedialog.h"
#include "ui_historystoragedialog.h"

// Test access to the history storage dialog's form.
class HistoryStorageDialogTester
{
public:
    static Ui::HistoryStorageDialog *ui(HistoryStorageDialog &dialog) { return dialog.ui; }
};
