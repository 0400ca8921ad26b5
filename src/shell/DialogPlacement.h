#pragma once

class QWidget;

// Where the designer's dialogs appear: centred on the screen that shows the main window.
class DialogPlacement {
public:
    static void centreOnScreen(QWidget* window);
    // Window flags of a fixed-size dialog with minimise and system buttons only.
    static void useMinimiseAndSystemButtons(QWidget* window);
};
