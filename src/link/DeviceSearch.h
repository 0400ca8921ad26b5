#pragma once
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

class Session;
class PortSettings;

// What the Search Devices dialog shows. All calls on the GUI thread; the defaults ignore them.
class DeviceSearchObserver {
public:
    virtual ~DeviceSearchObserver() = default;
    // A cell of the result grid changed: row 0..255 (0 = header), column 0 ("Device Count") or 1.
    virtual void cellChanged(int /*row*/, int /*column*/, const QString& /*text*/) {}
    // The grid's selected row (row r + 1 after a unit is listed; row 1 on close).
    virtual void rowSelected(int /*row*/) {}
    virtual void scrolledToTop() {}
    virtual void searchButtonEnabledChanged(bool /*enabled*/) {}
    // The "Stop" button's caption, written on every show.
    virtual void stopCaptionChanged(const QString& /*caption*/) {}
};

// The Search Devices dialog's procedures: probes every address of one quarter of the address range
// with command 231 and lists the addresses that answered, in increasing order. Holds the grid's
// contents (256 rows x 2 columns, kept between searches and between openings).
//
// open() and search() wait through session.pump().wait() (may throw ProcedureAborted): enter them
// through Session::runProcedure. stop(), ok() and close() never wait and may be called from the
// dialog's handlers while search() runs (they end it after the address being probed).
class DeviceSearch {
public:
    enum class Range { From1To64 = 0, From65To128 = 1, From129To192 = 2, From193To255 = 3 };
    static constexpr int kRows = 256;

    DeviceSearch(Session& session, PortSettings& ports);
    void setObserver(DeviceSearchObserver* observer) { m_observer = observer; }

    // Tools > "Search... " steps 1..3: RefreshTexts; close the port, 50 ms, open it; SendEnabled := 1
    // while the dialog is open if it was 0. False when the port does not open: the caller shows
    // PortSettings::openErrorText() and not the dialog.
    bool open();
    // Dialog show: saves Address, remembers whether the link was connected, scrolls up, writes the
    // header texts and the "Stop" caption. Earlier results stay.
    void dialogShown();
    // The search loop over the range (button "Search").
    void search(Range range);
    // Button "Stop": the loop ends after the address being probed.
    void stop();
    // Button "OK": restores LinkConnected 100 if it was connected at show, ends a running search.
    void ok();
    // Closing (any way), and the end of step 4 of the opening: progress 0, row 1 selected, Address
    // restored, receive buffer cleared, SendEnabled back to 0 if open() raised it.
    void close();

    // Grid contents (row 0 is the header).
    QString cell(int row, int column) const { return m_cells[std::size_t(row)][std::size_t(column)]; }
    // Addresses listed by the last search, in list order (increasing).
    std::vector<int> found() const { return m_found; }
    bool running() const { return m_running; }

    static int rangeStart(Range range);
    static int rangeEnd(Range range);

private:
    void setCell(int row, int column, const QString& text);
    void sendProbe(int address);

    Session& m_session;
    PortSettings& m_ports;
    DeviceSearchObserver* m_observer = nullptr;
    std::array<std::array<QString, 2>, kRows> m_cells{};
    std::vector<int> m_found;
    int m_probeAddress = 1;
    int m_rangeEnd = 64;
    std::uint8_t m_savedAddress = 0;
    bool m_wasConnected = false;
    bool m_raisedSendEnabled = false;
    bool m_running = false;
};
