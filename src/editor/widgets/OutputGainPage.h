#pragma once
#include "editor/widgets/GainStripsPage.h"

class QPushButton;

// Page 4, "Output Gain": one strip per output ("CH " + number) with its polarity box, and the
// "Output Copy" button. Gain changes mark counters 65..80, polarity clicks 33..48.
class OutputGainPage : public GainStripsPage {
    Q_OBJECT
public:
    explicit OutputGainPage(EditorContext& context, QWidget* parent = nullptr);

    void setCaptions();
    // Mute switches, faders, value boxes and polarity boxes from MatrixParameters, inside its own
    // load scope (nothing sent, counters cleared at the end).
    void load();

    QPushButton* outputCopyButton() const { return m_copy; }

signals:
    // The operator asked for the output copy dialog.
    void outputCopyRequested();

protected:
    void commit(int channel, ChannelStrip& strip, Cause cause) override;

private:
    void onPolarityClicked(int output, bool ticked);

    QPushButton* m_copy;
};
