#pragma once

// The content of an editor page whose channel is chosen with tabs (the XOVER page and the
// Comp/Limit page), plugged into the editor window with Form34::setPageContent(). The editor owns
// the channel tabs and calls back here; every call is made on the GUI thread.
class EditorPageContent {
public:
    virtual ~EditorPageContent() = default;

    // Fill the page for `channel` (1..16). Called when the page is entered, when its channel tab
    // is selected and by the editor's show sequence, after the editor has sent what was still
    // marked and has pointed the deferred send's selection and CommandRecord.Channel at the
    // channel. Implementations hold a LoadWithoutSending scope while they fill their controls.
    virtual void loadChannel(int channel) = 0;
    // Captions, set at every editor show.
    virtual void setCaptions() {}
    // The configuration's channel counts, at every editor show.
    virtual void setCounts(int /*inputs*/, int /*outputs*/) {}
};
