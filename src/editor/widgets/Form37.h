#pragma once
#include <QDialog>

struct EditorContext;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class XoverPage;

// "XOVER Filter Settings": edits the high-pass or the low-pass filter of the output shown on the
// XOVER page, on the side the page asked for ("HighPass" / "LowPass" switch sides). One "FREQ"
// slider per side (the other hidden), each limited by the other side's frequency, a text box that
// takes typed frequencies ("2k") and the "SLOPE" list of the 28 filter types.
//
// Slider moves and slope choices store the side's value and mark its counter, which the PEQ flush
// sends with the side's stored type. Showing a side fills the controls without editing, sends
// what is still marked once and starts both counters over (as does activating the dialog).
// Opened modally by the XOVER page (open()); closing it makes the page reload. GUI thread only.
class Form37 : public QDialog {
    Q_OBJECT
public:
    enum Side : int { HighPass = 1, LowPass = 2 };

    Form37(EditorContext& context, XoverPage& page, QWidget* parent = nullptr);

    int output() const;
    // The side being edited.
    int side() const { return m_side; }
    // As a press of "HighPass" or "LowPass".
    void showSide(int side);

    QPushButton* highPassButton() const { return m_highButton; }
    QPushButton* lowPassButton() const { return m_lowButton; }
    QSlider* highPassSlider() const { return m_highSlider; }
    QSlider* lowPassSlider() const { return m_lowSlider; }
    QLineEdit* frequencyBox() const { return m_box; }
    QLabel* lowerLimitLabel() const { return m_lowerLabel; }
    QLabel* upperLimitLabel() const { return m_upperLabel; }
    QComboBox* slopeList() const { return m_slope; }
    QPushButton* doneButton() const { return m_done; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void setCaptions();
    void settleCounters();
    void onSliderChanged(int side, int position);
    void onSliderPressed(int side);
    void onSlopeChosen(int type);
    void onFrequencyTyped();
    QSlider* visibleSlider() const;

    EditorContext& m_context;
    XoverPage& m_page;
    int m_side = HighPass;
    bool m_loading = false;

    QButtonGroup* m_sides;
    QPushButton* m_highButton;
    QPushButton* m_lowButton;
    QLabel* m_freqCaption;
    QSlider* m_highSlider;
    QSlider* m_lowSlider;
    QLineEdit* m_box;
    QLabel* m_lowerLabel;
    QLabel* m_upperLabel;
    QLabel* m_slopeCaption;
    QComboBox* m_slope;
    QPushButton* m_done;
};
