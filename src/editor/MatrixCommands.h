#pragma once
#include "model/MatrixParameters.h"

#include <cstdint>
#include <initializer_list>

class Session;

// The matrix edit commands (codes 21..42 and 237). Each sender fills the session's command record
// and calls SendCommand; none waits for an answer and none reports a failure (a refused or lost
// frame is covered by the editor's repeat and by the one-second resend).
//
// Channel is not set here: the caller sets CommandRecord.Channel to the channel the command is for
// before it calls (the crosspoint sender needs the shown output there; the output copy leaves it
// as it is). Selector becomes a copy of Channel except for the crosspoint (input number) and the
// output copy (1). 16-bit values travel high byte first. GUI thread only.
class MatrixCommands {
public:
    static constexpr std::uint8_t kInputGain = 21;
    static constexpr std::uint8_t kOutputGain = 22;
    static constexpr std::uint8_t kPolarity = 23;
    static constexpr std::uint8_t kDelay = 24;
    static constexpr std::uint8_t kHighPass = 25;
    static constexpr std::uint8_t kLowPass = 26;
    static constexpr std::uint8_t kPeqBand = 27;
    static constexpr std::uint8_t kCrosspoint = 32;
    static constexpr std::uint8_t kOutputCopy = 237;

    explicit MatrixCommands(Session& session) : m_session(session) {}

    void SendInputGain(LevelWord word);
    void SendOutputGain(LevelWord word);
    void SendPolarity(std::uint8_t polarity);
    // Payload 0, code high, code low (0..13650, 0.1 ms steps).
    void SendDelay(std::uint16_t delayCode);
    // Payload type + 1, frequency index high, low.
    void SendHighPass(int frequencyIndex, int type);
    void SendLowPass(int frequencyIndex, int type);
    // Payload (index + 35) high, low; gain high, low; Q; type + 16 * band number + bypass bit.
    // The band number inside the record picks which of the five bands the unit changes.
    void SendPeqBand(PeqBand band);
    // One byte of the dynamics block under its own command code (28..31, 33..42).
    void SendDynamicsByte(std::uint8_t code, std::uint8_t value);
    // Selector = input, Channel = the output shown on the matrix page (set by the caller).
    void SendCrosspoint(LevelWord word, int input);
    // Selector 1, payload source, target; Channel keeps its earlier value.
    void SendOutputCopy(int source, int target);

private:
    void send(std::uint8_t code, std::uint8_t selector, std::initializer_list<std::uint8_t> payload);

    Session& m_session;
};
