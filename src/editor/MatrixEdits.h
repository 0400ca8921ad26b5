#pragma once
#include "model/MatrixParameters.h"

#include <cstdint>

class DeferredSend;
class Session;

// The one place where an operator edit of the matrix editor lands, one function per kind of
// parameter: store the new code in MatrixParameters, point CommandRecord.Channel at the channel,
// mark the parameter for the deferred send. Windows call these only for real operator edits
// (after their focus and on-screen tests); loads never do. Channels are 1-based; a channel, band
// or field out of range is ignored. GUI thread only.
class MatrixEdits {
public:
    MatrixEdits(Session& session, DeferredSend& deferred) : m_session(session), m_deferred(deferred) {}

    void inputGain(int input, LevelWord word);
    // Stores matrix[output][input]; marks only when `mark` is set (the crosspoint page marks only
    // while the input's own controls have the focus).
    void crosspoint(int output, int input, LevelWord word, bool mark = true);
    void outputGain(int output, LevelWord word, bool mark = true);
    void polarity(int output, std::uint8_t polarity);
    void delay(int output, int delayCode);
    // One DynamicsBlock byte (DynamicsBlock::Field) of the Comp/Limit channel.
    void dynamicsByte(int channel, int field, std::uint8_t value);
    // A band of the XOVER output; `band` becomes the band being edited, and the PEQ band dialog's
    // counter is marked when `mark` is set (edits sent at once leave it alone).
    void peqBand(int output, int band, const PeqBand& value, bool mark = true);
    void highPass(int output, int frequencyIndex, int type);
    void lowPass(int output, int frequencyIndex, int type);

private:
    bool setChannel(int channel);

    Session& m_session;
    DeferredSend& m_deferred;
};
