#pragma once
#include <cstdint>

// Switchable faults of one virtual unit. Every unit on a line has its own set; SimLine::setFaults()
// gives the same set to every unit at once (a fault "of the line"). A hang-up of the line itself is
// PtyServer::hangUp(). Changed while serving only under the line's lock (PtyServer::withLine).
struct SimFaults {
    // The unit acts on every frame but answers nothing (as with a broken reply wire); the line
    // still logs the frames.
    bool silent = false;
    // Probability 0..1 that a frame addressed to the unit is lost before the unit acts on it.
    double lossProbability = 0.0;
    // Delay from the last trailer byte of a frame to the unit's reply.
    int replyLatencyMs = 0;
    // Every reply is cut to partialReplyBytes bytes (17 = marker, header and 8 of the 16 data bytes).
    bool partialReplies = false;
    int partialReplyBytes = 17;
    // Replies carry the next address (address + 1, 255 -> 1) instead of the unit's own.
    bool wrongAddress = false;
    // 1..noiseMaxBytes random bytes (never the marker's first byte F5) go out before every reply.
    bool noiseBetweenReplies = false;
    int noiseMaxBytes = 8;
    // The reply to a read of this chunk (1..100, of any program) is cut like a partial reply; 0 = none.
    // Models a unit whose settings upload never completes.
    int incompleteChunk = 0;
};
