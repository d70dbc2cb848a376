#pragma once

#include "ui/historydialog.h"
#include "ui_historydialog.h"

// Test access to the history dialog's form.
class HistoryDialogTester
{
public:
    static Ui::HistoryDialog *ui(HistoryDialog &dialog) { return dialog.ui; }
};
