#pragma once
#include <QObject>

class Form34;
class Form36;
class Form37;
class Form39;
class XoverPage;

// Installs the XOVER page, its two filter dialogs and the output copy dialog into the matrix
// editor: the page goes into the editor's page-2 container as that page's content, the dialogs
// are the editor's children (so they are modal over it), and the Output Gain page's "Output Copy"
// button opens the output copy dialog. A child of the editor; everything it makes lives as long
// as the editor. GUI thread only.
class XoverEditorParts : public QObject {
    Q_OBJECT
public:
    explicit XoverEditorParts(Form34& editor);

    XoverPage* page() const { return m_page; }
    Form36* peqBandDialog() const { return m_peqDialog; }
    Form37* crossoverDialog() const { return m_crossoverDialog; }
    Form39* outputCopyDialog() const { return m_outputCopy; }

private:
    XoverPage* m_page;
    Form36* m_peqDialog;
    Form37* m_crossoverDialog;
    Form39* m_outputCopy;
};
