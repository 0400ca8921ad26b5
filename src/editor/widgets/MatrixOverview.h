#pragma once
#include <QWidget>
#include <array>

class MatrixPanel;
class QLabel;
class QPushButton;
class Session;

// The main window's matrix overview (the layout panel of the matrix configurations): the heading
// "Matrix Control"; per input a panel "In " + number with a "Gain" button; per output a panel
// "Out" + number with "Gain", "XOVER", "Delay" and "Comp/Limit"; and the "MATRIX" panel. Only the
// configuration's inputs and outputs are visible (rebuild()).
//
// A button or a click on the "MATRIX" panel asks for the editor with editorRequested(page, tab),
// which the main window connects to Form34::openAt. GUI thread only.
class MatrixOverview : public QWidget {
    Q_OBJECT
public:
    explicit MatrixOverview(Session& session, QWidget* parent = nullptr);

    // Panels visible by the configuration's counts; captions; the matrix drawn again.
    void rebuild();
    // Captions only (RefreshTexts).
    void refreshTexts();
    // The crosspoint drawing from MatrixParameters.
    void refreshMatrix();

    // The "MATRIX" panel's rule: floor(y * 16 / 400), limited to the output count - 1 (a count
    // below 4 counts as 4).
    static int matrixTabFor(int y, int outputs);

    MatrixPanel* matrixPanel() const { return m_matrix; }

signals:
    void editorRequested(int page, int tab);

private:
    struct InputPanel {
        QWidget* panel = nullptr;
        QLabel* name = nullptr;
        QPushButton* gain = nullptr;
    };
    struct OutputPanel {
        QWidget* panel = nullptr;
        QLabel* name = nullptr;
        QPushButton* gain = nullptr;
        QPushButton* xover = nullptr;
        QPushButton* delay = nullptr;
        QPushButton* dynamics = nullptr;
    };

    Session& m_session;
    QLabel* m_heading;
    MatrixPanel* m_matrix;
    std::array<InputPanel, 17> m_inputs{};
    std::array<OutputPanel, 17> m_outputs{};
};
