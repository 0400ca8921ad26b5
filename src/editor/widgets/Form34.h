#pragma once
#include "editor/DeferredSend.h"
#include "editor/EditorContext.h"
#include "editor/EditorSelection.h"
#include "editor/MatrixEdits.h"

#include <QDialog>
#include <array>

class DelayPage;
class EditorPageContent;
class InputGainPage;
class MatrixControlPage;
class OutputGainPage;
class QLabel;
class QPushButton;
class QTabBar;
class QTabWidget;
class Session;

// The matrix editor "TOLVAN Designer": a fixed-size window with a title naming the configuration,
// six pages ("Input Gain", "Matrix Control", "XOVER", "Delay", "Output Gain", "Comp/Limit") and
// "OK" / "Cancel", both of which simply close it. It edits MatrixParameters in place; the
// deferred send it owns takes the edits to the unit.
//
// Created once, hidden, and opened modally (openAt) from the main window's matrix overview.
// Every show reloads all controls from MatrixParameters without sending and clears the marks;
// pages 1, 2 and 5 select RememberedTab when entered. While the window is shown,
// Session::editorOnScreen is true (edits then arm the reply watch).
//
// Pages 2 and 5 are a channel tab bar over an empty container; their content plugs in with
// setPageContent(). GUI thread only.
class Form34 : public QDialog {
    Q_OBJECT
public:
    explicit Form34(Session& session, QWidget* parent = nullptr,
                    DeferredSend::Clocking clocking = DeferredSend::Clocking::Timers);
    ~Form34() override;

    EditorContext& context() { return m_context; }
    DeferredSend& deferred() { return m_deferred; }
    MatrixEdits& edits() { return m_edits; }

    QTabWidget* pages() const { return m_pages; }
    InputGainPage* inputGainPage() const { return m_inputPage; }
    MatrixControlPage* matrixPage() const { return m_matrixPage; }
    DelayPage* delayPage() const { return m_delayPage; }
    OutputGainPage* outputGainPage() const { return m_outputPage; }
    QLabel* title() const { return m_title; }

    // Pages 2 and 5: where their content goes (an empty widget with a vertical layout) and their
    // channel tabs. Page 1's tabs are channelTabs(1) as well.
    QWidget* pageContainer(int page) const;
    QTabBar* channelTabs(int page) const;
    // Installs the content of page 2 or 5 (not owned; the widget goes into pageContainer()).
    void setPageContent(int page, EditorPageContent* content);
    // Channel shown on page 1, 2 or 5 (its tab index + 1).
    int shownChannel(int page) const;
    // As a tab click on page 1, 2 or 5: remembers the tab, focuses the tabs, loads the channel.
    void selectChannelTab(int page, int index);

    // The limiter hold row has been revealed (Ctrl+Shift+Alt+L while the editor was on screen);
    // it stays revealed until the program ends.
    bool holdRowRevealed() const { return m_holdRowRevealed; }

    static QString titleFor(int deviceModel);

public slots:
    // Opening from the matrix overview: RememberedPage and RememberedTab, then shown modally
    // (window-modal over the main window; returns at once).
    void openAt(int page, int tab);
    // Ctrl+Shift+Alt+L: only while the editor is on screen. The editor takes the key itself when
    // it reaches the window; the main window may connect its own hot key here as well.
    void revealHoldRow();

signals:
    // The "Output Copy" button of the Output Gain page.
    void outputCopyRequested();
    // The hold row is to be shown (first reveal only).
    void holdRowRevealRequested();
    // A channel tab of page 1, 2 or 5 was selected and loaded.
    void channelSelected(int page, int channel);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildTabPage(int page, const QString& tabsName);
    void setCaptions();
    void applyCounts();
    void showSequence();
    void enterPage(int index);
    void onChannelTab(int page, int index);
    void loadTabChannel(int page, int channel);

    Session& m_session;
    DeferredSend m_deferred;
    MatrixEdits m_edits;
    EditorContext m_context;

    QLabel* m_title;
    QTabWidget* m_pages;
    InputGainPage* m_inputPage;
    MatrixControlPage* m_matrixPage;
    DelayPage* m_delayPage;
    OutputGainPage* m_outputPage;
    std::array<QWidget*, 6> m_containers{};
    std::array<QTabBar*, 6> m_tabs{};
    std::array<EditorPageContent*, 6> m_contents{};
    QPushButton* m_ok;
    QPushButton* m_cancel;
    bool m_showing = false;
    bool m_holdRowRevealed = false;
};
