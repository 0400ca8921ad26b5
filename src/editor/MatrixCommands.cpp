#include "editor/MatrixCommands.h"

#include "link/Session.h"

namespace {
std::uint8_t high(int value) { return std::uint8_t((value & 0xFFFF) / 256); }
std::uint8_t low(int value) { return std::uint8_t(value & 0xFF); }
} // namespace

void MatrixCommands::send(std::uint8_t code, std::uint8_t selector, std::initializer_list<std::uint8_t> payload)
{
    CommandRecord& record = m_session.command;
    record.Command = code;
    record.Selector = selector;
    record.PayloadLength = std::uint8_t(payload.size());
    int i = 1;
    for (std::uint8_t b : payload)
        record.Payload[std::size_t(i++)] = b;
    m_session.sendCommand();
}

void MatrixCommands::SendInputGain(LevelWord word)
{
    send(kInputGain, m_session.command.Channel, {high(word), low(word)});
}

void MatrixCommands::SendOutputGain(LevelWord word)
{
    send(kOutputGain, m_session.command.Channel, {high(word), low(word)});
}

void MatrixCommands::SendPolarity(std::uint8_t polarity)
{
    send(kPolarity, m_session.command.Channel, {polarity});
}

void MatrixCommands::SendDelay(std::uint16_t delayCode)
{
    send(kDelay, m_session.command.Channel, {0, high(delayCode), low(delayCode)});
}

void MatrixCommands::SendHighPass(int frequencyIndex, int type)
{
    send(kHighPass, m_session.command.Channel,
         {std::uint8_t(type + 1), high(frequencyIndex), low(frequencyIndex)});
}

void MatrixCommands::SendLowPass(int frequencyIndex, int type)
{
    send(kLowPass, m_session.command.Channel,
         {std::uint8_t(type + 1), high(frequencyIndex), low(frequencyIndex)});
}

void MatrixCommands::SendPeqBand(PeqBand band)
{
    const int index = band.frequency + 35;
    const auto last = std::uint8_t(band.type + 16 * band.band + (band.flags & 0x80));
    send(kPeqBand, m_session.command.Channel,
         {high(index), low(index), high(band.gain), low(band.gain), band.q, last});
}

void MatrixCommands::SendDynamicsByte(std::uint8_t code, std::uint8_t value)
{
    send(code, m_session.command.Channel, {value});
}

void MatrixCommands::SendCrosspoint(LevelWord word, int input)
{
    send(kCrosspoint, std::uint8_t(input), {high(word), low(word)});
}

void MatrixCommands::SendOutputCopy(int source, int target)
{
    send(kOutputCopy, 1, {std::uint8_t(source), std::uint8_t(target)});
}
