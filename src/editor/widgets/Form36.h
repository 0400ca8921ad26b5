#pragma once
#include "model/MatrixParameters.h"

#include <QDialog>
#include <array>

struct EditorContext;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QTimer;
class XoverPage;

// "PEQ Filter Settings ": edits one band (the editor's current band, 1..5) of the output shown on
// the XOVER page. Slider edits and typed values store the band and mark the dialog's band counter,
// which the PEQ flush sends; a type choice, the "Bypass" switch and "Set 0 dB" store and send the
// band at once. A slider change counts as an edit only while the slider has the focus or its value
// was just typed; loading the band moves the focus to the bypass switch and never edits.
//
// Every 400 ms (and after a load or a type choice) the layout follows the band: the type list is
// enabled only at 0 dB gain, the "Freq" range follows the type, the Q row shows only for "PEQ"
// and the gain row not for "ALLPASS". Opened modally by the XOVER page (open()); closing it makes
// the page reload. GUI thread only.
class Form36 : public QDialog {
    Q_OBJECT
public:
    static constexpr int kLayoutMs = 400;

    Form36(EditorContext& context, XoverPage& page, QWidget* parent = nullptr);

    int output() const;
    int band() const;

    QPushButton* bandButton(int band) const { return m_bandButtons[std::size_t(band)]; }
    QSlider* frequencySlider() const { return m_freq; }
    QLineEdit* frequencyBox() const { return m_freqBox; }
    QLabel* frequencyLowLabel() const { return m_freqLow; }
    QLabel* frequencyHighLabel() const { return m_freqHigh; }
    QSlider* gainSlider() const { return m_gain; }
    QLineEdit* gainBox() const { return m_gainBox; }
    QPushButton* zeroGainButton() const { return m_zeroGain; }
    QSlider* qSlider() const { return m_q; }
    QLineEdit* qBox() const { return m_qBox; }
    QLabel* qLowLabel() const { return m_qLow; }
    QLabel* qHighLabel() const { return m_qHigh; }
    QComboBox* typeList() const { return m_type; }
    QLabel* typeHint() const { return m_hint; }
    QPushButton* bypassSwitch() const { return m_bypass; }
    QPushButton* doneButton() const { return m_done; }
    QTimer* layoutTimer() const { return m_layoutTimer; }

    // The 400 ms layout step, also run at once after a load and a type choice.
    void applyLayout();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void setCaptions();
    void loadBand();
    PeqBand stored() const;
    // Stores `value` as the band being edited; marks the band counter when `mark` is set.
    void store(const PeqBand& value, bool mark);
    void sendNow();

    void onBandButton(int band);
    void onFrequencyChanged(int index);
    void onGainChanged(int code);
    void onQChanged(int index);
    void onTypeChosen(int type);
    void onBypassClicked(bool on);
    void onZeroGain();
    void onFrequencyTyped();
    void onQTyped();
    void onGainTyped();
    void showFrequency(int index);
    void showGain(int code);
    void showQ(int index);

    EditorContext& m_context;
    XoverPage& m_page;
    bool m_loading = false;
    // 100 while a typed value is on its way to the slider.
    int m_frequencyTyped = 0;
    int m_gainTyped = 0;

    std::array<QPushButton*, 6> m_bandButtons{}; // [1..5]
    QButtonGroup* m_bandGroup;
    QLabel* m_freqCaption;
    QSlider* m_freq;
    QLineEdit* m_freqBox;
    QLabel* m_freqLow;
    QLabel* m_freqHigh;
    QLabel* m_gainCaption;
    QSlider* m_gain;
    QLineEdit* m_gainBox;
    QPushButton* m_zeroGain;
    QLabel* m_qCaption;
    QSlider* m_q;
    QLineEdit* m_qBox;
    QLabel* m_qLow;
    QLabel* m_qHigh;
    QComboBox* m_type;
    QLabel* m_hint;
    QPushButton* m_bypass;
    QPushButton* m_done;
    QTimer* m_layoutTimer;
};
