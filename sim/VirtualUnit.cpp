#include "sim/VirtualUnit.h"

#include "sim/SimFrame.h"
#include "sim/UnitImage.h"

#include <algorithm>

namespace {
VirtualUnit::Reply ack(std::uint8_t key = 0)
{
    VirtualUnit::Reply r;
    r.tag = key;
    r.key = key;
    return r;
}
} // namespace

VirtualUnit::VirtualUnit(std::uint8_t address, DeviceModel model) : m_address(address), m_model(model)
{
    m_running = UnitImage::plainDefault(m_model);
    for (auto& s : banner)
        s = QByteArray(10, ' ');
}

void VirtualUnit::setModel(const DeviceModel& model)
{
    m_model = model;
    m_running = UnitImage::plainDefault(m_model);
}

VirtualUnit::Program& VirtualUnit::program(int p)
{
    return m_programs[std::size_t(std::clamp(p, 1, kPrograms) - 1)];
}

const VirtualUnit::Program& VirtualUnit::program(int p) const
{
    return m_programs[std::size_t(std::clamp(p, 1, kPrograms) - 1)];
}

MatrixImage VirtualUnit::imageOf(int p) const
{
    if (p == 0)
        return m_running;
    if (p < 1 || p > kPrograms || !program(p).present)
        return MatrixImage{};
    return program(p).image;
}

QString VirtualUnit::bannerLine(int line) const
{
    const int first = line == 2 ? 2 : 0;
    return QString::fromLatin1(banner[std::size_t(first)] + banner[std::size_t(first) + 1]);
}

int VirtualUnit::handled(std::uint8_t command) const
{
    auto it = m_handled.find(command);
    return it == m_handled.end() ? 0 : it->second;
}

int VirtualUnit::stagedChunks(int p) const
{
    auto it = m_staged.find(p);
    return it == m_staged.end() ? 0 : int(it->second.size());
}

VirtualUnit::Reply VirtualUnit::apply(const SimFrame& f)
{
    ++m_handled[f.command];
    const QByteArray& pl = f.payload;
    auto byte = [&](int i) { return i < pl.size() ? std::uint8_t(pl[i]) : std::uint8_t(0); };

    switch (f.command) {
    case 230:
        // 100 = connect (payload 0) or quick connect (payload 100); 80 = disconnect.
        if (f.selector == 100)
            return statusReply();
        return ack();
    case 204:
        return readChunk(f.selector, byte(0));
    case 205:
        return writeChunk(f.selector, f.channel, pl);
    case 206:
        if (pl.size() >= 2)
            commit(byte(0), byte(1));
        return ack();
    case 202: {
        const int p = f.selector;
        if (p >= 1 && p <= kPrograms && program(p).present) {
            m_running = program(p).image;
            // A recalled program starts with its outputs muted, as the designer shows it.
            UnitImage::muteAllOutputs(m_running);
            currentProgram = std::uint8_t(p);
        }
        return ack();
    }
    case 203: {
        const int p = f.selector;
        if (p == 40) {
            for (auto& prog : m_programs)
                prog = Program{};
        } else if (p >= 1 && p <= kPrograms) {
            program(p) = Program{};
        }
        return ack();
    }
    case 235: // lock: the level travels in Channel as 128 + level
        if (pl.size() == 4) {
            lockState = f.channel;
            std::copy(pl.begin(), pl.end(), password.begin());
        }
        return ack(kLockAck);
    case 236: {
        if (pl.size() != 4)
            return ack(kUnlockRefused);
        const bool right = std::equal(password.begin(), password.end(), pl.begin(),
                                      [](std::uint8_t a, char b) { return a == std::uint8_t(b); });
        if (lockState == 0 || right) {
            lockState = 0;
            return ack(kLockAck);
        }
        return ack(kUnlockRefused);
    }
    case 70:
        if (f.selector <= 3 && pl.size() == 10)
            banner[f.selector] = pl;
        return ack();
    case 237:
        if (pl.size() == 2)
            UnitImage::copyOutput(m_running, byte(0), byte(1));
        return ack();
    default:
        if (f.command >= 21 && f.command <= 42)
            UnitImage::applyEdit(m_running, f.command, f.selector, f.channel, pl);
        // The search probe (231) and anything else: a plain acknowledgement.
        return ack();
    }
}

VirtualUnit::Reply VirtualUnit::statusReply() const
{
    Reply r;
    r.gate = 2;
    r.tag = kStatusKey;
    r.key = kStatusKey;
    r.data[0] = m_model.code;
    r.data[1] = m_address;
    r.data[2] = lockState; // data byte 3
    r.data[4] = info[0];   // data bytes 5..7
    r.data[5] = info[1];
    r.data[6] = info[2];
    return r;
}

VirtualUnit::Reply VirtualUnit::readChunk(int p, int k) const
{
    if (p > kPrograms || k < 1 || k > kChunks)
        return ack();
    const MatrixImage im = imageOf(p);
    Reply r;
    r.gate = 2;
    r.tag = std::uint8_t(k);
    r.key = std::uint8_t(k);
    std::copy_n(im.begin() + 16 * (k - 1), 16, r.data.begin());
    return r;
}

VirtualUnit::Reply VirtualUnit::writeChunk(int p, int k, const QByteArray& bytes)
{
    // A chunk the unit cannot take is answered with key 0, so the writer sends it again.
    if (p > kPrograms || k < 1 || k > kChunks || bytes.size() != 16)
        return ack();
    m_staged[p][k] = bytes;
    return ack(std::uint8_t(k));
}

void VirtualUnit::commit(int pages, int p)
{
    // Program 0 is the running settings. Each page is 64 bytes (4 chunks); chunks of those pages
    // that were never staged keep the plain default, as does everything after the last page.
    if (p > kPrograms)
        return;
    pages = std::clamp(pages, 0, kChunks / 4);
    MatrixImage im = UnitImage::plainDefault(m_model);
    auto& staged = m_staged[p];
    for (auto& [k, bytes] : staged)
        if (k <= pages * 4)
            std::copy(bytes.begin(), bytes.end(), im.begin() + 16 * (k - 1));
    m_staged.erase(p);
    if (p == 0) {
        m_running = im;
        return;
    }
    program(p).image = im;
    program(p).present = true;
}

QByteArray VirtualUnit::encode(const Reply& r, std::uint8_t replyAddress)
{
    QByteArray b;
    b.reserve(kReplySize);
    b.append(char(0xF5));
    b.append(char(0xFA));
    b.append(char(0xF7));
    b.append(char(replyAddress));
    b.append(char(0));
    b.append(char(0));
    b.append(char(r.gate));
    b.append(char(r.tag));
    b.append(char(r.key));
    for (auto d : r.data)
        b.append(char(d));
    b.append(char(0));
    return b;
}
