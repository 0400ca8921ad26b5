#pragma once

// What the preset file commands change in the main window besides their questions. GUI thread.
class PresetView {
public:
    virtual ~PresetView() = default;
    // The File menu items "New" and "Open..." (and their toolbar buttons).
    virtual void setNewOpenEnabled(bool enabled) = 0;
    // The parameters were replaced as a whole (New, Open): the editor and the overview reload.
    virtual void settingsReplaced() = 0;
};
