#pragma once
#include "model/MatrixParameters.h"

#include <QWidget>
#include <cstdint>

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;
class ValueBox;

// The strip of one channel on the Input Gain, Matrix Control and Output Gain pages: name, a
// vertical fader (positions 200..660 = the level code, page step 10, a tick every 50), a value box
// in dB (-40..6) that also takes typed values, a "Mute" switch (lit = muted) and, on the Output
// Gain page, the polarity box "180`" (ticked = inverted).
//
// The strip only shows and reports; the page decides what a change means. Its signals:
// faderMoved for every fader change (the page applies the focus rule), valueEntered for typed
// values, muteClicked / polarityClicked for operator clicks only. Loads never raise them.
class ChannelStrip : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Gain, GainWithPolarity };
    explicit ChannelStrip(Kind kind, QWidget* parent = nullptr);

    // Caption of the name label (also its accessible name).
    void setName(const QString& name);
    // "Input 3", "Input 5 to output 3", "Output 2": the accessible names become "<purpose> gain",
    // "<purpose> gain value", "<purpose> mute" and "<purpose> polarity".
    void setPurpose(const QString& purpose);

    // Fader = word AND 0x7FFF, box = its dB value, switch lit when the word reads as muted.
    void load(LevelWord word);
    // Polarity box ticked for exactly 0x80.
    void loadPolarity(std::uint8_t polarity);
    // Fader and box to `position` without raising anything.
    void moveTo(int position);
    // Box shows the dB value of `position`.
    void showPosition(int position);

    int position() const;
    bool muteLit() const;
    // Fader position plus 0x8000 while the switch is lit.
    LevelWord word() const;
    // The fader, the value box or the mute switch has the input focus.
    bool ownsFocus() const;

    QSlider* fader() const { return m_fader; }
    ValueBox* valueBox() const { return m_box; }
    QPushButton* muteSwitch() const { return m_mute; }
    QCheckBox* polarityBox() const { return m_polarity; }
    QLabel* nameLabel() const { return m_name; }

    static constexpr int kWidth = 58;

signals:
    void faderMoved(int position);
    void valueEntered(double db);
    void muteClicked(bool lit);
    void polarityClicked(bool ticked);

private:
    QLabel* m_name;
    QSlider* m_fader;
    ValueBox* m_box;
    QPushButton* m_mute;
    QCheckBox* m_polarity = nullptr;
};
