#pragma once
#include <QDialog>

class QLabel;
class QPushButton;
class RaisedTitleLabel;

// Form23 "About": title, version, revision and release date, the application icon and a banner
// picture in a framed bevel; a fixed 311 x 174 client area, centred on the screen.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 311;
    static constexpr int kHeight = 174;

    explicit AboutDialog(QWidget* parent = nullptr);

    // Caption "About" and button "OK"; run before every show.
    void refreshTexts();

    QString titleText() const;
    QString versionText() const;
    QString revisionText() const;
    QString dateText() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    RaisedTitleLabel* m_title;
    QLabel* m_version;
    QLabel* m_revision;
    QLabel* m_date;
    QPushButton* m_ok;
};
