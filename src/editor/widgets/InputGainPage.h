#pragma once
#include "editor/widgets/GainStripsPage.h"

// Page 0, "Input Gain": one strip per input ("In" + number); changes go to the input gain and
// counters 1..16.
class InputGainPage : public GainStripsPage {
    Q_OBJECT
public:
    explicit InputGainPage(EditorContext& context, QWidget* parent = nullptr);

    void setCaptions();
    // Every strip from MatrixParameters; raises no edit (the caller holds the load scope).
    void load();

protected:
    void commit(int channel, ChannelStrip& strip, Cause cause) override;
};
