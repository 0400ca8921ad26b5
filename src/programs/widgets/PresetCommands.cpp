#include "programs/widgets/PresetCommands.h"

#include "programs/widgets/QtOperatorPrompts.h"

#include <QAction>

PresetCommands::PresetCommands(Session& session, MemoryOperations& memory, QWidget* window, OperatorPrompts* prompts)
    : QObject(window)
{
    setObjectName(QStringLiteral("PresetCommands"));
    if (!prompts) {
        m_ownPrompts = std::make_unique<QtOperatorPrompts>(window);
        prompts = m_ownPrompts.get();
    }
    m_operations = std::make_unique<PresetOperations>(session, memory, *this, *prompts);
}

PresetCommands::~PresetCommands() = default;

void PresetCommands::attach(QAction* newAction, QAction* openAction, QAction* saveAction)
{
    m_new = newAction;
    m_open = openAction;
    if (newAction)
        connect(newAction, &QAction::triggered, this, [this] { m_operations->newPreset(); });
    if (openAction)
        connect(openAction, &QAction::triggered, this, [this] { m_operations->open(); });
    if (saveAction)
        connect(saveAction, &QAction::triggered, this, [this] { m_operations->save(); });
}

void PresetCommands::setNewOpenEnabled(bool enabled)
{
    if (m_new)
        m_new->setEnabled(enabled);
    if (m_open)
        m_open->setEnabled(enabled);
}

void PresetCommands::settingsReplaced()
{
    emit parametersReplaced();
}
