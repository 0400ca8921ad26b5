#pragma once

// What the editor shows, as the deferred send needs it: the page on screen and the channel each
// page or dialog addresses. Written by the editor window (and its pages and dialogs) on the GUI
// thread; read by the flush ticks, which send each counter for the channel it belongs to.
// Channels are 1-based; pages are the editor's page indices 0..5.
struct EditorSelection {
    enum Page : int {
        InputGainPage = 0,
        MatrixPage = 1,
        XoverPage = 2,
        DelayPage = 3,
        OutputGainPage = 4,
        CompLimitPage = 5,
    };

    int pageShown = InputGainPage;
    int matrixOutput = 1;     // output shown on the Matrix Control page
    int peqOutput = 1;        // output shown on the XOVER page
    int dynamicsChannel = 1;  // channel selected on the Comp/Limit page
    int currentBand = 1;      // band the PEQ band dialog edits (1..5)
    bool peqBandDialogOnScreen = false;
    bool crossoverDialogOnScreen = false;
};
