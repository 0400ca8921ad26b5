#pragma once
#include "editor/CurvePointList.h"
#include "editor/CurveRedrawCountdown.h"
#include "editor/widgets/EditorPageContent.h"

#include <QWidget>
#include <array>

struct EditorContext;
class ChannelStrip;
class Form36;
class Form37;
class QCheckBox;
class QLabel;
class QPushButton;
class QTabBar;
class QTimer;
class ResponsePlot;

// Page 2 of the matrix editor, "XOVER": one output at a time, chosen with the editor's channel
// tabs. Shows the output's five PEQ bands ("FREQ", "GAIN", "Q", type, "Bypass"), its high-pass and
// low-pass filters and the "Shadow" style, its gain strip (fader PEQ_GAIN, value box PEQ_EDIT1,
// PEQ_GAIN_MUTE, polarity PEQ_PHASE) and the response curve XXYY.
//
// The page edits only the bypass switches and the output strip itself; a click on a band's value
// opens the PEQ band dialog for that band, a click on a filter's value the crossover dialog on
// that side, and closing either dialog reloads the page. The curve is redrawn at once by every
// change that alters it and, through the redraw countdown, on the following ticks of the 50 ms
// timer (Timer1), which runs for the page's whole life.
//
// Every load fills the controls inside a LoadWithoutSending scope, so loading sends nothing and
// leaves no marks. GUI thread only.
class XoverPage : public QWidget, public EditorPageContent {
    Q_OBJECT
public:
    // `tabs` are the editor's channel tabs of this page (selected by a load), may be null.
    XoverPage(EditorContext& context, QTabBar* tabs, QWidget* parent = nullptr);
    ~XoverPage() override;

    // The dialogs the value panels open (owned by the editor window).
    void setDialogs(Form36* peqBandDialog, Form37* crossoverDialog);

    // EditorPageContent
    void loadChannel(int channel) override { loadPeqPage(channel); }
    void setCaptions() override;
    void setCounts(int inputs, int outputs) override;

    // LoadPeqPage: selects the output's tab and fills the page for it.
    void loadPeqPage(int output);
    // The output shown (the selected tab + 1).
    int shownOutput() const;

    // DrawResponseCurve: normalises the parameters and refills the trace for `output`.
    void drawResponseCurve(int output);
    void drawResponseCurve() { drawResponseCurve(shownOutput()); }
    // The curve redraw countdown, set by the page and by the two dialogs.
    void setCurveCountdown(int ticks) { m_countdown.set(ticks); }
    int curveCountdown() const { return m_countdown.value(); }
    // One tick of Timer1 (also called by tests that drive the countdown themselves).
    void curveTick();
    // How many times the curve was drawn since the page was made.
    int curveDraws() const { return m_draws; }

    // The side the crossover dialog opens on: 1 high-pass, 2 low-pass.
    int crossoverSide() const { return m_crossoverSide; }

    // Controls, for the editor window and tests.
    ResponsePlot* plot() const { return m_plot; }
    QTimer* curveTimer() const { return m_curveTimer; }
    QCheckBox* shadowBox() const { return m_shadow; }
    ChannelStrip* outputStrip() const { return m_strip; }
    QPushButton* bypassSwitch(int band) const;
    QPushButton* frequencyPanel(int band) const;
    QPushButton* gainPanel(int band) const;
    QPushButton* qPanel(int band) const;
    QPushButton* modePanel(int band) const;
    QLabel* gainCaption(int band) const;
    QLabel* qCaption(int band) const;
    QPushButton* highPassFrequencyPanel() const { return m_hiFreq; }
    QPushButton* highPassSlopePanel() const { return m_hiSlope; }
    QPushButton* lowPassFrequencyPanel() const { return m_loFreq; }
    QPushButton* lowPassSlopePanel() const { return m_loSlope; }

private:
    struct BandControls {
        QLabel* heading = nullptr;
        QLabel* freqCaption = nullptr;
        QLabel* gainCaption = nullptr;
        QLabel* qCaption = nullptr;
        QPushButton* freq = nullptr;
        QPushButton* gain = nullptr;
        QPushButton* q = nullptr;
        QPushButton* mode = nullptr;
        QPushButton* bypass = nullptr;
    };

    QWidget* buildPeqGroup();
    QWidget* buildXoverGroup();
    void fillStrip(int output);
    void fillCrossover(int output);
    void fillBand(int output, int band);

    void openBandDialog(int band);
    void openCrossoverDialog(int side);
    void onBypassToggled(int band, bool lit);
    void onShadowToggled();
    void onPolarityClicked(bool ticked);
    void onMuteClicked(bool lit);
    void onFaderMoved(int position);
    void onValueEntered(double db);

    EditorContext& m_context;
    QTabBar* m_tabs;
    Form36* m_peqDialog = nullptr;
    Form37* m_crossoverDialog = nullptr;
    int m_crossoverSide = 1;

    ResponsePlot* m_plot;
    CurvePointList m_points;
    CurveRedrawCountdown m_countdown;
    QTimer* m_curveTimer;
    int m_draws = 0;

    std::array<BandControls, 6> m_bands{}; // [1..5]
    QLabel* m_highPassCaption = nullptr;
    QLabel* m_lowPassCaption = nullptr;
    QPushButton* m_hiFreq = nullptr;
    QPushButton* m_hiSlope = nullptr;
    QPushButton* m_loFreq = nullptr;
    QPushButton* m_loSlope = nullptr;
    QCheckBox* m_shadow = nullptr;
    ChannelStrip* m_strip;
};
