#pragma once
#include <QIcon>
#include <QPixmap>

// The designer's pictures, drawn at run time so that no image files need to ship: the
// application icon, the toolbar icons, the padlock shown while a unit is locked, and the
// About box's banner. Every function returns a fresh picture; callers keep what they need.
class ShellArtwork {
public:
    enum class ToolIcon { New, Open, Save, Connect, Disconnect, Memory, About, Exit };

    static QIcon applicationIcon();
    static QPixmap applicationPixmap(int size);
    static QIcon toolIcon(ToolIcon which);
    // The padlock, `size` pixels square.
    static QPixmap lockPicture(int size);
    // The About box's banner at its natural size of 419 x 96 pixels.
    static QPixmap aboutBanner();
};
