#pragma once
#include "editor/widgets/ValueBox.h"

// The numeric box of a Comp/Limit row. Its positions are table codes, so the arrow keys and the
// wheel do not step the number: they ask the row's arrows to step (stepRequested), exactly as a
// click on them would. A typed value is raised with valueEntered() as in any ValueBox.
class DynamicsValueBox : public ValueBox {
    Q_OBJECT
public:
    explicit DynamicsValueBox(QWidget* parent = nullptr) : ValueBox(parent) {}

    void stepBy(int steps) override;
    // The operator owns the box: it has the input focus, or the value now being raised was typed
    // into it and committed as it lost the focus.
    bool ownsFocus() const;

signals:
    void stepRequested(int steps);

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool m_losingFocus = false;
};
