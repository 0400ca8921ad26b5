#pragma once
#include "programs/OperatorPrompts.h"

#include <QPointer>
#include <QString>
#include <QWidget>

// OperatorPrompts as modal message boxes and file dialogs, over the nearest visible window of
// `parent` (the memory window, or the main window while the memory window is hidden). The file
// dialogs start in the folder used last, with an empty file name. GUI thread only.
class QtOperatorPrompts : public OperatorPrompts {
public:
    explicit QtOperatorPrompts(QWidget* parent) : m_parent(parent) {}

    Answer ask(Icon icon, Buttons buttons, const QString& text, const QString& caption) override;
    QString chooseOpenFile(const QString& filter) override;
    QString chooseSaveFile(const QString& filter) override;

    // Object name of every message box shown, for accessibility-driven tests.
    static constexpr const char kBoxName[] = "OperatorPrompt";

private:
    QWidget* dialogParent() const;
    QString chooseFile(bool save, const QString& filter);

    QPointer<QWidget> m_parent;
    QString m_folder;
};
