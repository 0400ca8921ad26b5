#pragma once
#include <QString>

// The modal questions, messages and file dialogs the program and file commands put to the
// operator. The windows implement it with message boxes and file dialogs; tests script it.
// Every call is made on the GUI thread and returns once the operator has answered.
class OperatorPrompts {
public:
    enum class Icon { None, Information, Question, Warning, Critical };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~OperatorPrompts() = default;

    // A message box. A box closed without a button (Escape, title bar) answers Cancel, or No
    // when the box has no Cancel button, or Ok for a lone OK button.
    virtual Answer ask(Icon icon, Buttons buttons, const QString& text, const QString& caption) = 0;
    // An open dialog for an existing file; an empty result means cancelled.
    virtual QString chooseOpenFile(const QString& filter) = 0;
    // A save dialog whose file name starts empty; it asks nothing about existing files (the
    // callers do). An empty result means cancelled.
    virtual QString chooseSaveFile(const QString& filter) = 0;
};
