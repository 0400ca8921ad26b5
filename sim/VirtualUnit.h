#pragma once
#include "model/DeviceModel.h"
#include "model/MatrixImage.h"
#include "sim/SimFaults.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <map>

struct SimFrame;

// One emulated unit at an address 1..255: its running settings, 16 programs, the panel lock,
// the banner text and the chunks staged by a program write. apply() acts on one valid frame
// addressed to it and says what the unit answers; faults are applied by the line (SimLine).
// Not thread-safe on its own: the line's lock guards it while a server runs.
class VirtualUnit {
public:
    static constexpr int kPrograms = 16;
    static constexpr int kChunks = 100; // 16-byte chunks of a full image
    static constexpr std::uint8_t kStatusKey = 210;
    static constexpr std::uint8_t kLockAck = 100;
    static constexpr std::uint8_t kUnlockRefused = 101;

    // What the unit sends back, before faults: F5 FA F7, address, 00, 00, gate, tag, key,
    // 16 data bytes, end byte 00.
    struct Reply {
        std::uint8_t gate = 0; // 2 = the data bytes are stored under the key; 0 = acknowledgement
        std::uint8_t tag = 0;
        std::uint8_t key = 0;
        std::array<std::uint8_t, 16> data{};
    };
    static constexpr int kReplySize = 26;

    struct Program {
        MatrixImage image{}; // all zeros while empty (marker byte 12 = 0)
        bool present = false;
    };

    explicit VirtualUnit(std::uint8_t address, DeviceModel model = DeviceModel::fromCode(11));

    std::uint8_t address() const { return m_address; }
    const DeviceModel& model() const { return m_model; }
    // Another model: the running settings start over from the plain default of that model.
    void setModel(const DeviceModel& model);

    MatrixImage& running() { return m_running; }
    const MatrixImage& running() const { return m_running; }
    Program& program(int p); // 1..16 (other numbers clamp into that range)
    const Program& program(int p) const;
    // The image a chunk read of program p (0 = running settings) serves.
    MatrixImage imageOf(int p) const;

    std::uint8_t lockState = 0; // 0 = unlocked, else 128 + level
    std::array<std::uint8_t, 4> password{{' ', ' ', ' ', ' '}};
    std::array<std::uint8_t, 3> info{{1, 0, 0}};
    std::array<QByteArray, 4> banner; // segments 0..3, 10 characters each
    std::uint8_t currentProgram = 0;  // the last program recalled
    // The two 20-character banner lines (segments 0+1 and 2+3).
    QString bannerLine(int line) const;

    SimFaults& faults() { return m_faults; }
    const SimFaults& faults() const { return m_faults; }

    // Acts on one valid frame addressed to this unit and returns its reply (every frame is answered).
    Reply apply(const SimFrame& frame);
    // The bytes of a reply as they go out, from `replyAddress` (normally address()).
    static QByteArray encode(const Reply& reply, std::uint8_t replyAddress);

    // Frames this unit acted on, by command code (lost frames are not counted).
    int handled(std::uint8_t command) const;
    // Chunks staged by 205 for program p and not yet committed.
    int stagedChunks(int p) const;

private:
    Reply statusReply() const;
    Reply readChunk(int p, int k) const;
    Reply writeChunk(int p, int k, const QByteArray& bytes);
    void commit(int pages, int p);

    std::uint8_t m_address;
    DeviceModel m_model;
    MatrixImage m_running{};
    std::array<Program, kPrograms> m_programs{};
    // program (0..16) -> chunk (1..100) -> 16 bytes
    std::map<int, std::map<int, QByteArray>> m_staged;
    std::map<std::uint8_t, int> m_handled;
    SimFaults m_faults;
};
