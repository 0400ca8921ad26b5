#pragma once
#include "editor/EditorContext.h"
#include "editor/widgets/EditorPageContent.h"

#include <QWidget>
#include <array>
#include <cstdint>

class ArrowPair;
class DynamicsValueBox;
class Form34;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Page 5 of the matrix editor, "Comp/Limit": the DynamicsBlock of the channel selected on the
// page's tabs (TabControl3, owned by Form34), in three groups.
//
//   "Compressor": switch "OFF" (byte 0), Attack (2), Release (3), Threshold (4), Ratio (5), Boost (6)
//   "Limit":      switch "OFF" (byte 1), Attack (7), Release (8), Threshold (9), Hold (10, hidden)
//   "Noise Gate": Attack (11), Release (12), Threshold (13)
//
// Every row is a numeric box, a text box or a list with a pair of arrows whose position is the
// row's code. An operator change stores one byte of the shown channel through MatrixEdits (which
// marks its counter 113..126); Finish_comp_limit_time sends it. The page never sends itself and
// keeps no values of its own: each load rewrites every control from MatrixParameters.
//
// Operator paths: an arrow click shows and stores the new position (no focus test); a number
// typed into a box, a text entered with Enter into a threshold box, or a list choice stores only
// while that control has the focus; a switch click stores while the editor is on screen.
// The "Hold" row is hidden until Ctrl+Shift+Alt+L (Form34::revealHoldRow) and, while hidden,
// nothing on the page changes the hold byte (loads still set its list and arrows).
//
// GUI thread only.
class CompLimitPage : public QWidget, public EditorPageContent {
    Q_OBJECT
public:
    explicit CompLimitPage(EditorContext& context, QWidget* parent = nullptr);

    // Creates the page inside the editor's Comp/Limit container, installs it as that page's
    // content and follows the editor's hold-row reveal. The editor owns the page (Qt parent).
    static CompLimitPage* install(Form34& form);

    // LoadDynamicsPage: every control of the page from the DynamicsBlock of `channel` (1..16),
    // without sending; the pending marks are cleared at the end.
    void LoadDynamicsPage(int channel);
    void loadChannel(int channel) override { LoadDynamicsPage(channel); }
    void setCaptions() override;

    // Shows the "Hold" row from now on.
    void revealHoldRow();
    bool holdRowShown() const { return m_holdShown; }

    // Controls, by DynamicsBlock field (rows: fields 2..13; switches: fields 0 and 1). A row has
    // one value control: a numeric box, a threshold text box or a list; the others are null.
    QPushButton* compressorSwitch() const { return m_compressorSwitch; }
    QPushButton* limiterSwitch() const { return m_limiterSwitch; }
    ArrowPair* arrows(int field) const;
    DynamicsValueBox* valueBox(int field) const;
    QLineEdit* thresholdText(int field) const;
    QComboBox* list(int field) const;
    QLabel* caption(int field) const;
    QGroupBox* group(int index) const { return m_groups[std::size_t(index)]; }

private:
    struct Row {
        QWidget* line = nullptr; // the caption, value control and arrows of the row
        QLabel* caption = nullptr;
        DynamicsValueBox* box = nullptr;
        QLineEdit* text = nullptr;
        QComboBox* list = nullptr;
        ArrowPair* arrows = nullptr;
    };
    static constexpr int kRows = 14; // indexed by DynamicsBlock field; 0 and 1 are the switches

    void buildRow(int field, QWidget* parent);
    QWidget* buildSwitchLine(QPushButton*& button, const QString& objectName, QWidget* parent);
    int shownChannel() const;
    bool editorOnScreen() const;
    bool rowLocked(int field) const;
    // The value control shows `code` by the row's rule; raises nothing.
    void showCode(int field, int code);
    void store(int field, int code);

    void onArrowClicked(int field, int position);
    void onValueEntered(int field, double value);
    void onTextEntered(int field);
    void onTextEditingFinished(int field);
    void onListChosen(int field, int index);
    void onSwitchClicked(int field, bool lit);

    EditorContext& m_context;
    std::array<Row, kRows> m_rows{};
    std::array<QGroupBox*, 3> m_groups{};
    QPushButton* m_compressorSwitch = nullptr;
    QPushButton* m_limiterSwitch = nullptr;
    bool m_holdShown = false;
};
