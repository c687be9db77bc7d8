#pragma once

// What the benchmarks share: timings collected over runs, and one printed
// line per figure.

#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <algorithm>
#include <cstdio>
#include <vector>

struct Timing
{
    std::vector<double> ms;
    void Add(const QElapsedTimer &t) { ms.push_back(double(t.nsecsElapsed()) / 1e6); }
    double Median()
    {
        std::sort(ms.begin(), ms.end());
        return ms[ms.size() / 2];
    }
    double Max() const { return *std::max_element(ms.begin(), ms.end()); }
};

// Counts the paints of a widget (installed as its event filter): a timing
// that saw no paint measured nothing.
class Paint_Watch : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

inline void Print(const char *what, double value, const char *unit)
{
    std::printf("%-52s %9.2f %s\n", what, value, unit);
}
