#pragma once

class QWidget;

// A change event of a fader (or of any control whose value a load may set) counts as an
// operator edit only while that control has the input focus. Loads set controls that do not
// have it, so they change nothing in the parameters. Faders take the focus on click, keyboard and
// wheel, so every operator gesture passes.
class FocusRule {
public:
    static bool allows(const QWidget* control);
};
