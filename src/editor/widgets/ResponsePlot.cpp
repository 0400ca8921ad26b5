#include "editor/widgets/ResponsePlot.h"

#include "editor/CurvePointList.h"
#include "editor/ResponseCurve.h"

#include <QGraphicsLayout>
#include <QLabel>
#include <QResizeEvent>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QLogValueAxis>
#include <QtCharts/QValueAxis>

#include <cmath>

namespace {
// Room around the plot for the static labels.
constexpr int kLeft = 44;
constexpr int kTop = 10;
constexpr int kRight = 26;
constexpr int kBottom = 22;

const QColor kTraceColour(0, 255, 0);
constexpr int kTraceWidth = 2;
const QColor kPlotBackground(12, 20, 28);
const QColor kGridMajor(70, 90, 100);
const QColor kGridMinor(38, 52, 60);

const char* const kFrequencyTexts[] = {"10", "20", "50", "100", "200", "500", "1K", "2K", "5K", "10K", "20KHz"};
constexpr double kFrequencies[] = {10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000};
} // namespace

QList<double> ResponsePlot::labelledFrequencies()
{
    return QList<double>(std::begin(kFrequencies), std::end(kFrequencies));
}

QList<double> ResponsePlot::labelledLevels()
{
    QList<double> levels;
    for (int db = 15; db >= -15; db -= 3)
        levels << db;
    return levels;
}

ResponsePlot::ResponsePlot(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("XXYY"));
    setAccessibleName(QStringLiteral("Response curve"));

    m_chart = new QChart;
    m_chart->legend()->hide();
    m_chart->setMargins(QMargins(0, 0, 0, 0));
    // The chart's own layout keeps a frame inside its geometry; the plot fills all of it.
    m_chart->layout()->setContentsMargins(0, 0, 0, 0);
    m_chart->setBackgroundRoundness(0);
    m_chart->setBackgroundBrush(kPlotBackground);
    m_chart->setPlotAreaBackgroundBrush(kPlotBackground);
    m_chart->setPlotAreaBackgroundVisible(true);
    m_chart->setAnimationOptions(QChart::NoAnimation);

    m_trace = new QLineSeries;
    m_chart->addSeries(m_trace);

    m_axisX = new QLogValueAxis;
    m_axisX->setBase(10);
    m_axisX->setRange(kCurveAxisMinHz, kCurveAxisMinHz + kCurveAxisSpanHz);
    m_axisX->setMinorTickCount(8);
    m_axisY = new QValueAxis;
    m_axisY->setRange(kCurveAxisMinDb, kCurveAxisMinDb + kCurveAxisSpanDb);
    m_axisY->setTickCount(11);
    for (QAbstractAxis* axis : {static_cast<QAbstractAxis*>(m_axisX), static_cast<QAbstractAxis*>(m_axisY)}) {
        axis->setLabelsVisible(false);
        axis->setLineVisible(false);
        axis->setGridLineColor(kGridMajor);
        axis->setMinorGridLineColor(kGridMinor);
        axis->setTitleVisible(false);
    }
    m_chart->addAxis(m_axisX, Qt::AlignBottom);
    m_chart->addAxis(m_axisY, Qt::AlignLeft);
    m_trace->attachAxis(m_axisX);
    m_trace->attachAxis(m_axisY);

    m_view = new QChartView(m_chart, this);
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setBackgroundBrush(kPlotBackground);
    m_view->setRenderHint(QPainter::Antialiasing, true);
    m_view->setFocusPolicy(Qt::NoFocus);
    m_view->setAccessibleName(QStringLiteral("Response curve"));
    m_view->setObjectName(QStringLiteral("XXYY_chart"));

    for (int i = 0; i < int(std::size(kFrequencyTexts)); ++i) {
        auto* l = new QLabel(QString::fromLatin1(kFrequencyTexts[i]), this);
        l->setAccessibleName(l->text());
        l->setAlignment(Qt::AlignCenter);
        m_frequencyLabels << l;
    }
    for (double db : labelledLevels()) {
        const int v = int(db);
        auto* l = new QLabel(v > 0 ? QStringLiteral("+%1").arg(v) : QString::number(v), this);
        l->setAccessibleName(l->text());
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_dbLabels << l;
    }
    m_dbUnit = new QLabel(QStringLiteral("dB"), this);
    m_dbUnit->setAccessibleName(m_dbUnit->text());
    m_dbUnit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    QPen pen(kTraceColour);
    pen.setWidth(kTraceWidth);
    m_trace->setPen(pen);
}

void ResponsePlot::setTrace(const CurvePointList& points)
{
    QList<QPointF> list;
    list.reserve(points.size());
    for (const CurvePoint& p : points)
        list.append(QPointF(p.x, p.y));
    QPen pen(kTraceColour);
    pen.setWidth(kTraceWidth);
    m_trace->setPen(pen);
    m_trace->replace(list);
}

QRect ResponsePlot::plotRect() const
{
    return rect().adjusted(kLeft, kTop, -kRight, -kBottom);
}

QPointF ResponsePlot::positionOf(double hz, double db) const
{
    // The chart's plot area is pinned to the whole view, so its mapping is this one; the tests
    // hold it against QChart::mapToPosition.
    const QRect r = plotRect();
    const double lo = std::log10(kCurveAxisMinHz);
    const double hi = std::log10(kCurveAxisMinHz + kCurveAxisSpanHz);
    const double x = r.left() + r.width() * (std::log10(hz) - lo) / (hi - lo);
    const double y = r.top() + r.height() * (kCurveAxisMinDb + kCurveAxisSpanDb - db) / kCurveAxisSpanDb;
    return {x, y};
}

void ResponsePlot::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const QRect r = plotRect();
    m_view->setGeometry(r);
    m_chart->resize(r.size());
    m_chart->setPlotArea(QRectF(QPointF(0, 0), QSizeF(r.size())));
    placeLabels();
}

void ResponsePlot::placeLabels()
{
    const QList<double> hz = labelledFrequencies();
    const int below = plotRect().bottom() + 3;
    for (int i = 0; i < m_frequencyLabels.size(); ++i) {
        QLabel* l = m_frequencyLabels[i];
        l->adjustSize();
        const int x = int(std::lround(positionOf(hz[i], 0).x()));
        l->move(x - l->width() / 2, below);
    }
    const QList<double> levels = labelledLevels();
    for (int i = 0; i < m_dbLabels.size(); ++i) {
        QLabel* l = m_dbLabels[i];
        l->adjustSize();
        l->resize(kLeft - 8, l->height());
        const int y = int(std::lround(positionOf(1000, levels[i]).y()));
        l->move(2, y - l->height() / 2);
    }
    m_dbUnit->adjustSize();
    // Beside the top of the scale, right of the "+15".
    const QRect r = plotRect();
    m_dbUnit->move(r.right() + 4, r.top() - 2);
}
