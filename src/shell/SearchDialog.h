#pragma once
#include "link/DeviceSearch.h"

#include <QDialog>

class QPushButton;
class QRadioButton;
class QTableWidget;
class Session;

// Form18 "Search Devices": probes one quarter of the address range and lists the units that
// answered. The grid keeps its rows between searches and openings. Closing the dialog while a
// search runs stops it after the address being probed; the closing steps (Address restored,
// progress 0, row 1) run once the loop has ended, so the search cannot leave a probed address
// behind in the command record.
class SearchDialog : public QDialog, public DeviceSearchObserver {
    Q_OBJECT
public:
    SearchDialog(Session& session, DeviceSearch& search, QWidget* parent = nullptr);

    void refreshTexts();
    // Grid text: row 0 is the header, rows 1..255 the results.
    QString cellText(int row, int column) const;
    int selectedRow() const;

    void done(int result) override;

    // DeviceSearchObserver
    void cellChanged(int row, int column, const QString& text) override;
    void rowSelected(int row) override;
    void scrolledToTop() override;
    void searchButtonEnabledChanged(bool enabled) override;
    void stopCaptionChanged(const QString& caption) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    DeviceSearch::Range selectedRange() const;
    void runSearch();

    Session& m_session;
    DeviceSearch& m_search;
    QTableWidget* m_grid;
    QRadioButton* m_ranges[4];
    QPushButton* m_searchButton;
    QPushButton* m_stop;
    QPushButton* m_ok;
    bool m_searching = false;
    bool m_closedWhileSearching = false;
};
