#pragma once
#include <QList>
#include <QWidget>

class CurvePointList;
class QChart;
class QChartView;
class QLabel;
class QLineSeries;
class QLogValueAxis;
class QValueAxis;

// The response plot XXYY of the XOVER page: one trace on a logarithmic 10 Hz .. 20.2 kHz axis
// (minimum 10, span 20200) and a linear -15 .. +15 dB axis. The chart's own axis lines and
// numbers are hidden; the static labels "+15" .. "-15", "dB" and "10" .. "20KHz" around the plot
// stand in for them, each placed where the chart draws its value, and the grid marks the same
// values. The trace is lime green, 2 pixels wide, and holds exactly the points it is given, in
// order (the "Shadow" style comes in as extra floor points that fill the area under the curve).
// GUI thread only.
class ResponsePlot : public QWidget {
    Q_OBJECT
public:
    explicit ResponsePlot(QWidget* parent = nullptr);

    // Replaces the trace with `points`; colour and width are set again every time.
    void setTrace(const CurvePointList& points);

    QChart* chart() const { return m_chart; }
    QChartView* view() const { return m_view; }
    QLineSeries* trace() const { return m_trace; }
    const QList<QLabel*>& dbLabels() const { return m_dbLabels; }
    const QList<QLabel*>& frequencyLabels() const { return m_frequencyLabels; }
    QLabel* dbUnitLabel() const { return m_dbUnit; }

    // The frequency (Hz) of each frequency label and the level (dB) of each dB label, in order.
    static QList<double> labelledFrequencies();
    static QList<double> labelledLevels();

    // Where the chart draws (hz, db), in this widget's coordinates (valid once laid out).
    QPointF positionOf(double hz, double db) const;

    QSize sizeHint() const override { return {760, 300}; }
    QSize minimumSizeHint() const override { return {420, 200}; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect plotRect() const;
    void placeLabels();

    QChartView* m_view;
    QChart* m_chart;
    QLineSeries* m_trace;
    QLogValueAxis* m_axisX;
    QValueAxis* m_axisY;
    QList<QLabel*> m_dbLabels;
    QList<QLabel*> m_frequencyLabels;
    QLabel* m_dbUnit;
};
