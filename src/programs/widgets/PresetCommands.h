#pragma once
#include "programs/PresetOperations.h"
#include "programs/PresetView.h"

#include <QObject>
#include <QPointer>
#include <memory>

class MemoryOperations;
class OperatorPrompts;
class QAction;
class QWidget;
class Session;

// The main window's File > New, Open..., Save... (and their toolbar buttons, which trigger the
// same actions) and the close question, bound to PresetOperations. Dialogs and message boxes
// open over `window`. GUI thread only.
class PresetCommands : public QObject, public PresetView {
    Q_OBJECT
public:
    // `prompts` answers the questions and file dialogs; without one, message boxes and file
    // dialogs over `window` are used.
    PresetCommands(Session& session, MemoryOperations& memory, QWidget* window, OperatorPrompts* prompts = nullptr);
    ~PresetCommands() override;

    // Connects the three actions; New and Open are disabled while the download offer runs.
    void attach(QAction* newAction, QAction* openAction, QAction* saveAction);

    PresetOperations& operations() { return *m_operations; }
    // For MainWindow::setCloseQuestion: true lets the window close.
    bool closeQuestion() { return m_operations->closeQuestion(); }

    // PresetView
    void setNewOpenEnabled(bool enabled) override;
    void settingsReplaced() override;

signals:
    // New or Open replaced the parameters: the editor and the matrix overview reload them.
    void parametersReplaced();

private:
    std::unique_ptr<OperatorPrompts> m_ownPrompts;
    std::unique_ptr<PresetOperations> m_operations;
    QPointer<QAction> m_new;
    QPointer<QAction> m_open;
};
