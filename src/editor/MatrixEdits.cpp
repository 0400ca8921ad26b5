#include "editor/MatrixEdits.h"

#include "editor/DeferredSend.h"
#include "link/Session.h"
#include "model/ValueCodes.h"

#include <algorithm>

bool MatrixEdits::setChannel(int channel)
{
    if (channel < 1 || channel > 16)
        return false;
    m_session.command.Channel = std::uint8_t(channel);
    return true;
}

void MatrixEdits::inputGain(int input, LevelWord word)
{
    if (!setChannel(input))
        return;
    m_session.store.params.inputGain[std::size_t(input)] = word;
    m_deferred.mark(DeferredSend::inputGainCounter(input));
}

void MatrixEdits::crosspoint(int output, int input, LevelWord word, bool mark)
{
    if (input < 1 || input > 16 || !setChannel(output))
        return;
    m_session.store.params.crosspoint[std::size_t(output)][std::size_t(input)] = word;
    if (mark)
        m_deferred.mark(DeferredSend::crosspointCounter(input));
}

void MatrixEdits::outputGain(int output, LevelWord word, bool mark)
{
    if (!setChannel(output))
        return;
    m_session.store.params.outputGain[std::size_t(output)] = word;
    if (mark)
        m_deferred.mark(DeferredSend::outputGainCounter(output));
}

void MatrixEdits::polarity(int output, std::uint8_t polarity)
{
    if (!setChannel(output))
        return;
    m_session.store.params.polarity[std::size_t(output)] = polarity;
    m_deferred.mark(DeferredSend::polarityCounter(output));
}

void MatrixEdits::delay(int output, int delayCode)
{
    if (!setChannel(output))
        return;
    m_session.store.params.delay[std::size_t(output)] = std::uint16_t(std::clamp(delayCode, 0, kDelayCodeMax));
    m_deferred.mark(DeferredSend::delayCounter(output));
}

void MatrixEdits::dynamicsByte(int channel, int field, std::uint8_t value)
{
    const int counter = DeferredSend::dynamicsCounter(field);
    if (counter == 0 || !setChannel(channel))
        return;
    m_session.store.params.dynamics[std::size_t(channel)][field] = value;
    m_deferred.mark(counter);
}

void MatrixEdits::peqBand(int output, int band, const PeqBand& value, bool mark)
{
    if (band < 1 || band > 5 || !setChannel(output))
        return;
    PeqBand stored = value;
    stored.band = std::uint8_t(band);
    m_session.store.params.peq[std::size_t(output)][std::size_t(band)] = stored;
    m_deferred.selection().currentBand = band;
    if (mark)
        m_deferred.markPeqBand();
}

void MatrixEdits::highPass(int output, int frequencyIndex, int type)
{
    if (!setChannel(output))
        return;
    CrossoverSettings& x = m_session.store.params.crossover[std::size_t(output)];
    x.highPassFrequency = frequencyIndex;
    x.highPassType = type;
    m_deferred.markHighPass();
}

void MatrixEdits::lowPass(int output, int frequencyIndex, int type)
{
    if (!setChannel(output))
        return;
    CrossoverSettings& x = m_session.store.params.crossover[std::size_t(output)];
    x.lowPassFrequency = frequencyIndex;
    x.lowPassType = type;
    m_deferred.markLowPass();
}
