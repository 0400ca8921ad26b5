#include "editor/OutputCopy.h"

#include "editor/MatrixCommands.h"
#include "link/Session.h"
#include "model/MatrixOperations.h"

void OutputCopy::run(int source, int target, const std::function<void(int)>& progress)
{
    m_sends = 0;
    ReplyRecord& reply = m_session.reply;
    reply.LastReplyAddress = 0;
    m_commands.SendOutputCopy(source, target);
    ++m_sends;
    m_session.pump().wait(kResendWaitMs);
    for (int i = 1; i < kMaxSends; ++i) {
        if (reply.LastReplyAddress != 0)
            break;
        m_commands.SendOutputCopy(source, target);
        ++m_sends;
        m_session.pump().wait(kResendWaitMs);
    }
    for (int step = 1; step <= kProgressSteps; ++step) {
        m_session.pump().wait(kProgressStepMs);
        if (progress)
            progress(step);
    }
    copyInMemory(m_session.store.params, source, target);
    MarkAllOutputsMuted(m_session.store.params);
    m_session.setProgress(0);
}

void OutputCopy::copyInMemory(MatrixParameters& p, int source, int target)
{
    if (source < 1 || source > 16 || target < 1 || target > 16)
        return;
    const auto s = std::size_t(source);
    const auto t = std::size_t(target);
    p.delay[t] = p.delay[s];
    p.outputGain[t] = p.outputGain[s];
    p.polarity[t] = p.polarity[s];
    for (int i = 1; i <= 16; ++i)
        p.crosspoint[t][std::size_t(i)] = p.crosspoint[s][std::size_t(i)];
    for (int b = 1; b <= 5; ++b)
        p.peq[t][std::size_t(b)] = p.peq[s][std::size_t(b)];
    p.crossover[t] = p.crossover[s];
    for (int f = 0; f < int(p.dynamics[s].bytes.size()); ++f) {
        if (f != DynamicsBlock::LimiterHold)
            p.dynamics[t][f] = p.dynamics[s][f];
    }
}
