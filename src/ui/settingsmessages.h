#pragma once

class QWidget;

// What the operator is told when config.json could not be read at start-up
// (keptAside: its copy was made) or could not be written at exit.
void tellUnreadableSettings(QWidget *parent, bool keptAside);
void tellSettingsNotSaved(QWidget *parent);
