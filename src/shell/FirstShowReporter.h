#pragma once
#include <QElapsedTimer>
#include <QObject>

class QWidget;

// Measures start-up for --quit-after-show: from the process's start (the timer handed in, started
// first thing in main) to the first paint of the main window, and the resident memory 300 ms
// later, when the windows built after that paint exist too.
// Prints one line to stdout, "shown-ms=<ms> rss-kb=<kB>", and emits reported().
class FirstShowReporter : public QObject {
    Q_OBJECT
public:
    FirstShowReporter(QWidget* window, const QElapsedTimer& sinceStart, QObject* parent = nullptr);

    // VmRSS of this process in kB (0 when unknown).
    static long residentKb();

signals:
    void reported();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    QElapsedTimer m_sinceStart;
    bool m_done = false;
};
