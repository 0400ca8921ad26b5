#pragma once
#include "link/SessionObserver.h"
#include "programs/MemoryOperations.h"
#include "programs/MemoryView.h"

#include <QDialog>
#include <array>
#include <memory>

class OperatorPrompts;
class ProgramMemory;
class ProgramNameDialog;
class QPushButton;
class QTableWidget;
class Session;

// Form38, "Memory precinct": the 16 programs stored in the connected unit, with Refresh, Upload,
// File Down, Setup Down, Delete, Delete All, Save and OK. Created once at start-up (hidden) and
// alive as long as the main window; its list keeps its texts between openings. Owns the program
// name dialog (Form19) and the memory operations, which also serve DownloadToProgram while this
// window is closed.
//
// While an operation runs its buttons and list stay disabled, also when the window is activated
// again meanwhile; OK stays enabled and closes the window (a running operation carries on).
// GUI thread only.
class MemoryWindow : public QDialog, public MemoryView, public SessionObserver {
    Q_OBJECT
public:
    enum Button { Refresh, Upload, FileDown, SetupDown, Delete, DeleteAll, Save, Ok, kButtonCount };

    // `prompts` answers the window's questions and file dialogs; without one the window uses
    // message boxes and file dialogs of its own.
    MemoryWindow(Session& session, ProgramMemory& memory, QWidget* parent = nullptr, OperatorPrompts* prompts = nullptr);
    ~MemoryWindow() override;

    MemoryOperations& operations() { return *m_operations; }
    ProgramNameDialog* nameDialog() const { return m_nameDialog; }
    QTableWidget* list() const { return m_list; }
    QPushButton* button(Button which) const { return m_buttons[std::size_t(which)]; }

    // File > "Memory...": shows the window modally, but only while a unit is connected, its
    // panel lock is below 127 and no procedure runs. Returns whether it was shown.
    bool showIfAllowed();
    // Whether showIfAllowed() would show it.
    bool mayOpen() const;

    void refreshTexts() override;       // SessionObserver
    void programListCleared() override; // SessionObserver: the disconnect resets the list

    // MemoryView
    void showRow(int program, const QString& number, const QString& name) override;
    void selectRow(int program) override;
    int selectedProgram() const override;
    void setOperationsEnabled(bool enabled) override;
    void setNameText(const QString& text) override;
    QString nameText() const override;
    bool runNameDialog() override;
    void closeWindow() override;
    void settingsReplaced() override;

signals:
    // Upload or DownloadToProgram replaced or muted the parameters: the editor reloads them.
    void parametersReplaced();

protected:
    bool event(QEvent* event) override;

private:
    void activate();
    void onButton(Button which);

    Session& m_session;
    std::unique_ptr<OperatorPrompts> m_ownPrompts;
    QTableWidget* m_list = nullptr;
    std::array<QPushButton*, kButtonCount> m_buttons{};
    ProgramNameDialog* m_nameDialog = nullptr;
    std::unique_ptr<MemoryOperations> m_operations;
};
