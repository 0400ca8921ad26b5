#pragma once
#include <QDialog>

struct EditorContext;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;

// "Output Copy": the unit copies the settings of the "Source Output:" onto the "Target Output"
// (whole numbers 1..the configuration's output count; the two never stay equal). After the
// question "Do you Copy output data?" the copy runs (OutputCopy): command 237 with up to four
// resends while unanswered, about 15 s of progress while the unit copies, the same copy in
// MatrixParameters with every output marked muted; then this dialog and the editor close, since
// the unit's settings changed wholesale. The controls are disabled meanwhile; the waits run the
// event loop. Opened from the Output Gain page's "Output Copy" button. GUI thread only.
class Form39 : public QDialog {
    Q_OBJECT
public:
    // `editor` is closed after a copy.
    Form39(EditorContext& context, QWidget& editor, QWidget* parent = nullptr);

    QSpinBox* sourceBox() const { return m_source; }
    QSpinBox* targetBox() const { return m_target; }
    QProgressBar* progressBar() const { return m_progress; }
    QPushButton* copyButton() const { return m_copy; }
    QPushButton* cancelButton() const { return m_cancel; }

    // Runs the copy without the question (what OK in the question box leads to). False when it
    // was ended early by an abort request.
    bool runCopy();

public slots:
    // Closing is refused while a copy runs (its waits keep the dialog's events running).
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setCaptions();
    void onBoxChanged();
    void onCopyClicked();
    void setControlsEnabled(bool enabled);

    EditorContext& m_context;
    QWidget& m_editor;
    QLabel* m_sourceCaption;
    QLabel* m_targetCaption;
    QSpinBox* m_source;
    QSpinBox* m_target;
    QProgressBar* m_progress;
    QPushButton* m_copy;
    QPushButton* m_cancel;
    bool m_running = false;
};
