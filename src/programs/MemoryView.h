#pragma once
#include <QString>

// What the memory window's operations show and ask through the window itself: the program list,
// the operation buttons, the program name dialog. Implemented by the memory window (also while
// it is hidden: DownloadToProgram updates its list from the main window); tests script it.
// GUI thread only.
class MemoryView {
public:
    virtual ~MemoryView() = default;

    // Row `program` (1..16) now shows `number` in its first cell and `name` in its second.
    virtual void showRow(int program, const QString& number, const QString& name) = 0;
    virtual void selectRow(int program) = 0;
    // The list's selected row, 1..16.
    virtual int selectedProgram() const = 0;
    // The seven operation buttons and the list (OK is never disabled).
    virtual void setOperationsEnabled(bool enabled) = 0;

    // The program name dialog's text box, which keeps its text between uses.
    virtual void setNameText(const QString& text) = 0;
    virtual QString nameText() const = 0;
    // Shows the program name dialog modally with its result flag cleared; true when it was closed
    // with OK (result flag 100), false when it was closed any other way.
    virtual bool runNameDialog() = 0;

    // Closes the memory window (it stays alive, hidden).
    virtual void closeWindow() = 0;
    // The parameters were replaced or changed as a whole: whoever shows them reloads.
    virtual void settingsReplaced() = 0;
};
