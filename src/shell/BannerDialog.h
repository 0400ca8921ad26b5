#pragma once
#include "link/BannerSender.h"

#include <QDialog>

class LinkSession;
class QLineEdit;
class QProgressBar;
class QPushButton;
class Session;

// Form25: the two banner lines written into the unit at the Connect dialog's address. Reached
// only through the hot key while the Connect dialog is open. No reply is awaited; PB shows how far
// the four segments have gone.
class BannerDialog : public QDialog, public BannerObserver {
    Q_OBJECT
public:
    BannerDialog(Session& session, BannerSender& sender, LinkSession& link, QWidget* parent = nullptr);

    void refreshTexts();
    int progress() const;

    void bannerProgressChanged(int pb) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void send();

    Session& m_session;
    BannerSender& m_sender;
    LinkSession& m_link;
    QLineEdit* m_line1;
    QLineEdit* m_line2;
    QProgressBar* m_pb;
    QPushButton* m_send;
    QPushButton* m_ok;
    bool m_busy = false;
};
