#pragma once
#include <array>
#include <cstddef>

struct CurvePoint {
    double x = 0; // Hz
    double y = 0; // dB on the plot's scale
};

// The trace of the response plot: points in the order they are joined. Fixed capacity, enough
// for every grid step twice (the "Shadow" style adds a floor point before each curve point), so
// filling it never allocates.
class CurvePointList {
public:
    static constexpr int kCapacity = 2 * 394;

    void clear() { m_count = 0; }
    // Points beyond the capacity are dropped (the curve never produces more).
    void add(double x, double y)
    {
        if (m_count < kCapacity)
            m_points[std::size_t(m_count++)] = CurvePoint{x, y};
    }
    int size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    const CurvePoint& operator[](int i) const { return m_points[std::size_t(i)]; }
    const CurvePoint& back() const { return m_points[std::size_t(m_count - 1)]; }
    const CurvePoint* begin() const { return m_points.data(); }
    const CurvePoint* end() const { return m_points.data() + m_count; }

private:
    std::array<CurvePoint, kCapacity> m_points{};
    int m_count = 0;
};
