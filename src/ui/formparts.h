#pragma once

#include "ui/blockview.h"
#include "ui/reportformwidgets.h"
#include "ui/reportlogo.h"

namespace Ui {
class MainWindow;
}

// The form's widgets each panel drives, picked out of the window's form.
BlockViewWidgets blockViewWidgets(const Ui::MainWindow &ui);
ReportFormWidgets reportFormWidgets(const Ui::MainWindow &ui);
ReportLogoWidgets reportLogoWidgets(const Ui::MainWindow &ui);
