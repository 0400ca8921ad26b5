#pragma once

class DeferredSend;
class MatrixEdits;
class Session;

// What every page and dialog of the matrix editor works with: the session (parameters, command
// record, link state), the deferred send (marks, selection, senders) and the one place where
// operator edits are stored and marked. Owned by the editor window; plain references.
struct EditorContext {
    Session& session;
    DeferredSend& deferred;
    MatrixEdits& edits;
};
