#include "editor/widgets/XoverEditorParts.h"

#include "editor/EditorSelection.h"
#include "editor/widgets/Form34.h"
#include "editor/widgets/Form36.h"
#include "editor/widgets/Form37.h"
#include "editor/widgets/Form39.h"
#include "editor/widgets/XoverPage.h"
#include "link/Session.h"

#include <QLayout>

XoverEditorParts::XoverEditorParts(Form34& editor) : QObject(&editor)
{
    setObjectName(QStringLiteral("XoverEditorParts"));
    const int page = EditorSelection::XoverPage;
    QWidget* container = editor.pageContainer(page);
    m_page = new XoverPage(editor.context(), editor.channelTabs(page), container);
    if (container && container->layout())
        container->layout()->addWidget(m_page);
    m_peqDialog = new Form36(editor.context(), *m_page, &editor);
    m_crossoverDialog = new Form37(editor.context(), *m_page, &editor);
    m_outputCopy = new Form39(editor.context(), editor, &editor);
    for (QDialog* d : {static_cast<QDialog*>(m_peqDialog), static_cast<QDialog*>(m_crossoverDialog),
                       static_cast<QDialog*>(m_outputCopy)})
        d->setWindowModality(Qt::WindowModal);
    m_page->setDialogs(m_peqDialog, m_crossoverDialog);
    editor.setPageContent(page, m_page);
    const DeviceModel& model = editor.context().session.store.model;
    m_page->setCaptions();
    m_page->setCounts(model.inputs, model.outputs);
    connect(&editor, &Form34::outputCopyRequested, m_outputCopy, &QDialog::open);
}
