#pragma once
#include "editor/widgets/GainStripsPage.h"

class QLabel;
class QTabBar;

// Page 1, "Matrix Control": output tabs ("CH " + number), the shown output's name above the
// strips and one strip per input holding the crosspoint gain with which that input feeds the
// shown output. A change is stored in matrix[shown output][input] and marks counter 16 + input
// only while one of that input's own controls has the focus.
class MatrixControlPage : public GainStripsPage {
    Q_OBJECT
public:
    explicit MatrixControlPage(EditorContext& context, QWidget* parent = nullptr);

    void setCaptions();
    // One tab per existing output, one strip per existing input.
    void setCounts(int inputs, int outputs);
    // Selects tab `index` (clamped to the existing outputs) and loads that output, as a tab
    // click does: remembers it as RememberedTab, focuses the tabs, sets Channel.
    void selectTab(int index);
    int shownOutput() const { return m_shownOutput; }
    QTabBar* tabs() const { return m_tabs; }
    QLabel* outputName() const { return m_outputName; }

protected:
    void commit(int channel, ChannelStrip& strip, Cause cause) override;

private:
    void onTabSelected(int index);
    void loadOutput(int output);

    QTabBar* m_tabs;
    QLabel* m_outputName;
    int m_shownOutput = 1;
};
