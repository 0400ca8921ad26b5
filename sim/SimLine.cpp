#include "sim/SimLine.h"

#include <QLoggingCategory>

#include <algorithm>
#include <chrono>

Q_LOGGING_CATEGORY(lcSimLine, "t16.sim.line")

namespace {
constexpr std::uint8_t kPreamble[3] = {0x41, 0x52, 0x63};
constexpr std::uint8_t kTrailer[3] = {0xA8, 0xB9, 0xC3};
constexpr int kHeader = 3 + 5; // preamble, address, command, selector, channel, length
constexpr int kMaxPayload = 30;
constexpr std::uint8_t kMarkerFirst = 0xF5;
} // namespace

SimLine::SimLine() = default;
SimLine::~SimLine() = default;

VirtualUnit& SimLine::addUnit(std::uint8_t address)
{
    std::lock_guard lock(m_mutex);
    auto& slot = m_units[address];
    if (!slot) {
        slot = std::make_unique<VirtualUnit>(address);
        slot->faults() = m_defaultFaults;
    }
    return *slot;
}

VirtualUnit* SimLine::unit(std::uint8_t address)
{
    std::lock_guard lock(m_mutex);
    auto it = m_units.find(address);
    return it == m_units.end() ? nullptr : it->second.get();
}

std::vector<std::uint8_t> SimLine::addresses() const
{
    std::lock_guard lock(m_mutex);
    std::vector<std::uint8_t> out;
    for (const auto& [a, u] : m_units)
        out.push_back(a);
    return out;
}

void SimLine::setFaults(const SimFaults& faults)
{
    std::lock_guard lock(m_mutex);
    m_defaultFaults = faults;
    for (auto& [a, u] : m_units)
        u->faults() = faults;
}

void SimLine::setSeed(std::uint32_t seed)
{
    std::lock_guard lock(m_mutex);
    m_rng.seed(seed);
}

void SimLine::feed(const QByteArray& bytes, std::int64_t arrivalNs)
{
    feed(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()), arrivalNs);
}

void SimLine::feed(const std::uint8_t* bytes, std::size_t n, std::int64_t arrivalNs)
{
    if (n == 0)
        return;
    std::lock_guard lock(m_mutex);
    if (m_quietPending && !m_log.empty()) {
        SimFrame& last = m_log.back();
        last.quietAfterNs = arrivalNs - last.endNs();
        last.gapAfterNs.back() = last.quietAfterNs;
    }
    m_quietPending = false;
    m_pending.insert(m_pending.end(), bytes, bytes + n);
    m_pendingNs.insert(m_pendingNs.end(), n, arrivalNs);
    m_bytesReceived += n;
    scan();
}

void SimLine::scan()
{
    auto drop = [this](std::size_t count) {
        m_pending.erase(m_pending.begin(), m_pending.begin() + std::ptrdiff_t(count));
        m_pendingNs.erase(m_pendingNs.begin(), m_pendingNs.begin() + std::ptrdiff_t(count));
    };
    for (;;) {
        // Look for the preamble; keep a tail that may be its beginning.
        auto it = std::search(m_pending.begin(), m_pending.end(), std::begin(kPreamble), std::end(kPreamble));
        if (it == m_pending.end()) {
            std::size_t keep = 0;
            const std::size_t sz = m_pending.size();
            if (sz >= 2 && m_pending[sz - 2] == kPreamble[0] && m_pending[sz - 1] == kPreamble[1])
                keep = 2;
            else if (sz >= 1 && m_pending[sz - 1] == kPreamble[0])
                keep = 1;
            m_strayBytes += sz - keep;
            drop(sz - keep);
            return;
        }
        const std::size_t start = std::size_t(it - m_pending.begin());
        if (start > 0) {
            m_strayBytes += start;
            drop(start);
        }
        if (m_pending.size() < std::size_t(kHeader))
            return;
        const int n = m_pending[7];
        if (n > kMaxPayload) {
            qCDebug(lcSimLine) << "frame with length byte" << n << "ignored";
            logFrame(partialFrame(kHeader, QStringLiteral("length")));
            drop(1); // look for another preamble inside what was taken for this frame
            continue;
        }
        const std::size_t total = std::size_t(kHeader + n + 1 + 3);
        if (m_pending.size() < total)
            return;
        unsigned sum = 0;
        for (int i = 3; i < kHeader + n; ++i)
            sum += m_pending[std::size_t(i)];
        const bool checksumOk = std::uint8_t(sum & 0xFF) == m_pending[std::size_t(kHeader + n)];
        const bool trailerOk = std::equal(std::begin(kTrailer), std::end(kTrailer),
                                          m_pending.begin() + std::ptrdiff_t(kHeader + n + 1));
        if (!checksumOk || !trailerOk) {
            const QString why = !checksumOk ? QStringLiteral("checksum") : QStringLiteral("trailer");
            qCDebug(lcSimLine) << "frame ignored:" << why;
            logFrame(partialFrame(total, why));
            drop(1);
            continue;
        }
        SimFrame f = partialFrame(total, {});
        f.valid = true;
        f.error.clear();
        dispatch(f);
        logFrame(std::move(f));
        drop(total);
    }
}

SimFrame SimLine::partialFrame(std::size_t bytes, const QString& error) const
{
    SimFrame f;
    f.error = error;
    bytes = std::min(bytes, m_pending.size());
    f.wire = QByteArray(reinterpret_cast<const char*>(m_pending.data()), qsizetype(bytes));
    f.arrivalNs.assign(m_pendingNs.begin(), m_pendingNs.begin() + std::ptrdiff_t(bytes));
    f.gapAfterNs.assign(bytes, -1);
    for (std::size_t i = 0; i + 1 < bytes; ++i)
        f.gapAfterNs[i] = m_pendingNs[i + 1] - m_pendingNs[i];
    if (bytes > 0 && bytes < m_pending.size()) {
        f.quietAfterNs = m_pendingNs[bytes] - m_pendingNs[bytes - 1];
        f.gapAfterNs.back() = f.quietAfterNs;
    }
    auto at = [&](std::size_t i) { return i < bytes ? m_pending[i] : std::uint8_t(0); };
    f.address = at(3);
    f.command = at(4);
    f.selector = at(5);
    f.channel = at(6);
    const std::size_t n = at(7);
    if (bytes >= std::size_t(kHeader) + n)
        f.payload = QByteArray(reinterpret_cast<const char*>(m_pending.data()) + kHeader, qsizetype(n));
    return f;
}

void SimLine::dispatch(SimFrame& f)
{
    auto it = m_units.find(f.address);
    if (it == m_units.end())
        return;
    VirtualUnit& u = *it->second;
    const SimFaults& faults = u.faults();
    if (faults.lossProbability > 0.0) {
        std::uniform_real_distribution<double> coin(0.0, 1.0);
        if (coin(m_rng) < faults.lossProbability) {
            f.lost = true;
            return;
        }
    }
    const VirtualUnit::Reply reply = u.apply(f);
    if (faults.silent)
        return;
    const std::uint8_t from = faults.wrongAddress ? std::uint8_t(u.address() == 255 ? 1 : u.address() + 1) : u.address();
    QByteArray bytes = VirtualUnit::encode(reply, from);
    const bool cutChunk = faults.incompleteChunk > 0 && f.command == 204 && !f.payload.isEmpty() &&
                          std::uint8_t(f.payload[0]) == faults.incompleteChunk;
    if (faults.partialReplies || cutChunk)
        bytes.truncate(std::clamp(faults.partialReplyBytes, 0, int(VirtualUnit::kReplySize)));
    if (faults.noiseBetweenReplies) {
        std::uniform_int_distribution<int> count(1, std::max(1, faults.noiseMaxBytes));
        std::uniform_int_distribution<int> value(0, 255);
        QByteArray noise;
        for (int i = count(m_rng); i > 0; --i) {
            int v;
            do
                v = value(m_rng);
            while (v == kMarkerFirst);
            noise.append(char(v));
        }
        bytes.prepend(noise);
    }
    f.reply = bytes;
    if (bytes.isEmpty())
        return;
    const std::int64_t due = f.endNs() + std::int64_t(std::max(0, faults.replyLatencyMs)) * 1000000;
    m_due.emplace(due, bytes);
}

void SimLine::logFrame(SimFrame f)
{
    f.sequence = ++m_sequence;
    m_quietPending = f.quietAfterNs < 0 && !f.arrivalNs.empty();
    ++m_seenSinceClear;
    if (f.valid)
        ++m_validSinceClear;
    m_log.push_back(std::move(f));
    while (m_log.size() > m_logLimit)
        m_log.pop_front();
    if (m_listener)
        m_listener(m_log.back());
    m_logChanged.notify_all();
}

std::vector<SimOutput> SimLine::takeDue(std::int64_t nowNs)
{
    std::lock_guard lock(m_mutex);
    std::vector<SimOutput> out;
    while (!m_due.empty() && m_due.begin()->first <= nowNs) {
        out.push_back(SimOutput{m_due.begin()->first, m_due.begin()->second});
        m_due.erase(m_due.begin());
    }
    return out;
}

std::int64_t SimLine::nextDueNs() const
{
    std::lock_guard lock(m_mutex);
    return m_due.empty() ? kNothingDue : m_due.begin()->first;
}

void SimLine::lineBroken()
{
    std::lock_guard lock(m_mutex);
    if (m_pending.size() >= 3 && std::equal(std::begin(kPreamble), std::end(kPreamble), m_pending.begin()))
        logFrame(partialFrame(m_pending.size(), QStringLiteral("cut")));
    else
        m_strayBytes += m_pending.size();
    m_pending.clear();
    m_pendingNs.clear();
    m_due.clear();
}

std::vector<SimFrame> SimLine::frames() const
{
    std::lock_guard lock(m_mutex);
    return {m_log.begin(), m_log.end()};
}

std::size_t SimLine::frameCount() const
{
    std::lock_guard lock(m_mutex);
    return m_seenSinceClear;
}

std::size_t SimLine::validFrameCount() const
{
    std::lock_guard lock(m_mutex);
    return m_validSinceClear;
}

bool SimLine::waitForFrames(std::size_t count, int timeoutMs) const
{
    std::unique_lock lock(m_mutex);
    return m_logChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                 [&] { return m_seenSinceClear >= count; });
}

void SimLine::clearLog()
{
    std::lock_guard lock(m_mutex);
    m_log.clear();
    m_seenSinceClear = 0;
    m_validSinceClear = 0;
    m_quietPending = false;
}

std::uint64_t SimLine::bytesReceived() const
{
    std::lock_guard lock(m_mutex);
    return m_bytesReceived;
}

std::uint64_t SimLine::strayBytes() const
{
    std::lock_guard lock(m_mutex);
    return m_strayBytes;
}

void SimLine::setLogLimit(std::size_t frames)
{
    std::lock_guard lock(m_mutex);
    m_logLimit = std::max<std::size_t>(1, frames);
    while (m_log.size() > m_logLimit)
        m_log.pop_front();
}

void SimLine::setFrameListener(std::function<void(const SimFrame&)> listener)
{
    std::lock_guard lock(m_mutex);
    m_listener = std::move(listener);
}

void SimLine::withLock(const std::function<void()>& block)
{
    std::lock_guard lock(m_mutex);
    block();
}
