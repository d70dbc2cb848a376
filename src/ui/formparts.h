#pragma once

#include "ui/blockview.h"
#include "ui/reportformwidgets.h"
#include "ui/reportlogo.h"

class QWidget;
struct SettingsValues;

namespace Ui {
class MainWindow;
}

// The form's widgets each panel drives, picked out of the window's form.
BlockViewWidgets blockViewWidgets(const Ui::MainWindow &ui);
ReportFormWidgets reportFormWidgets(const Ui::MainWindow &ui);
ReportLogoWidgets reportLogoWidgets(const Ui::MainWindow &ui);

// The settings' values shown in the form (texts, band limits, comments,
// splitter), and read back from it; `window` holds the line edits named by
// their settings keys.
void showSettings(const SettingsValues &values, const Ui::MainWindow &ui, QWidget *window);
SettingsValues formSettings(const Ui::MainWindow &ui, QWidget *window);
