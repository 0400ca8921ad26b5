#pragma once
#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

// Form19, "Program Name": the name under which a program is stored. A 12-character box that
// refuses any text with a non-ASCII character (it gets the last accepted text back), and a
// result flag that only OK sets (100); callers clear it before they show the dialog. The box
// keeps its text from one use to the next. GUI thread only.
class ProgramNameDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kResultOk = 100;

    explicit ProgramNameDialog(QWidget* parent = nullptr);

    int resultFlag() const { return m_resultFlag; }
    void setResultFlag(int flag) { m_resultFlag = flag; }
    QString text() const;
    void setText(const QString& text);

    QLineEdit* nameBox() const { return m_box; }
    QPushButton* okButton() const { return m_ok; }

    void refreshTexts();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void onTextChanged(const QString& text);

    QLabel* m_label = nullptr;
    QLineEdit* m_box = nullptr;
    QPushButton* m_ok = nullptr;
    QString m_lastAccepted;
    int m_resultFlag = 0;
};
