#pragma once
#include <QDialog>

class PortSettings;
class QComboBox;
class QLabel;
class QPushButton;

// Form15 "COM Setup": the list of present ports, the "COM Select:" label and OK. A selection is
// applied at once; however the dialog closes, the port number is saved.
class ComSetupDialog : public QDialog {
    Q_OBJECT
public:
    explicit ComSetupDialog(PortSettings& ports, QWidget* parent = nullptr);

    void refreshTexts();
    // What the list shows: the selected item, or the current port's name when that port is not
    // in the list.
    QString listText() const;
    QString labelText() const;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fillList();
    void showCurrent();

    PortSettings& m_ports;
    QLabel* m_label;
    QComboBox* m_list;
    QPushButton* m_ok;
};
