#pragma once

#include <QObject>

class QAction;
class QActionGroup;
class QDateEdit;
class QTranslator;

// The widgets the interface language is chosen and shown with.
struct LanguageWidgets
{
    QAction *russian = nullptr;
    QAction *english = nullptr;
    QDateEdit *date = nullptr; // shows the date in the language's format
};

// The interface language: the program's English catalogue or Qt's own
// Russian texts, installed one at a time; the menu marks the one in use.
class LanguageSwitch : public QObject
{
    Q_OBJECT

public:
    // Starts in Russian, Qt's own texts included.
    LanguageSwitch(const LanguageWidgets &widgets, QObject *parent);

    // Installs the language's catalogue; the widgets then word themselves again.
    void switchTo(bool english);

private:
    LanguageWidgets w;
    QActionGroup *languages = nullptr;
    QTranslator *translator = nullptr;
    // Qt's own texts (dialog buttons, file dialogs) in Russian.
    QTranslator *qtTranslator = nullptr;
};
