#include "tables/table_diff.h"

#include "core/messages.h"
#include "core/text.h"

#include <algorithm>
#include <vector>

namespace {

// Above this many pairs of rows to weigh, the rows between the common start
// and end are paired by position instead (two full tables of 2000 rows that
// differ throughout would take 16 MB and a noticeable pause).
constexpr qint64 Max_Pairings = 4'000'000;

// Rows up to the last one that is not fresh.
int Extent(const Text_Table &t)
{
    for (int r = t.Row_Count() - 1; r >= 0; --r)
        for (int c = 0; c < t.Column_Count(); ++c)
            if (t.Cell(r, c) != t.Column(c).fresh)
                return r + 1;
    return 0;
}

QString Shown(const Text_Table &t, int r, int c)
{
    if (t.Column(c).kind == Cell_Kind::Check)
        return Messages().Get(Is_Flag_Set(t.Cell(r, c)) ? Msg_Diff_On : Msg_Diff_Off);
    const QString text = t.data(t.index(r, c), Qt::DisplayRole).toString();
    return text.isEmpty() ? Messages().Get(Msg_Diff_Empty) : Controls_Escaped(text);
}

QString Header(const Text_Table &t, int c)
{
    // A header may wrap onto a second line in the grid.
    return t.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString().simplified();
}

QStringList Shown_Row(const Text_Table &t, int r)
{
    QStringList cells;
    for (int c = 0; c < t.Column_Count(); ++c)
        if (!t.Column(c).hidden)
            cells << Shown(t, r, c);
    return cells;
}

enum class Step { Same, Deleted, Inserted };

// The steps from `a` to `b` that keep the most rows (a longest common
// subsequence), or, for too large a middle, position by position.
std::vector<Step> Steps(const QList<QStringList> &a, const QList<QStringList> &b)
{
    const qsizetype n = a.size();
    const qsizetype m = b.size();
    qsizetype head = 0;
    while (head < n && head < m && a[head] == b[head])
        ++head;
    qsizetype tail = 0;
    while (tail < n - head && tail < m - head && a[n - 1 - tail] == b[m - 1 - tail])
        ++tail;
    std::vector<Step> steps(std::size_t(head), Step::Same);
    const qsizetype rn = n - head - tail;
    const qsizetype rm = m - head - tail;
    if (rn * rm > Max_Pairings) {
        // Paired by position: a changed row for each pair, the rest on one side.
        for (qsizetype i = 0; i < std::max(rn, rm); ++i) {
            if (i < rn)
                steps.push_back(Step::Deleted);
            if (i < rm)
                steps.push_back(Step::Inserted);
        }
    } else {
        // lcs[i][j]: rows kept from a[head + i ..] and b[head + j ..].
        std::vector<std::vector<int>> lcs(std::size_t(rn + 1), std::vector<int>(std::size_t(rm + 1), 0));
        for (qsizetype i = rn - 1; i >= 0; --i)
            for (qsizetype j = rm - 1; j >= 0; --j)
                lcs[i][j] = a[head + i] == b[head + j] ? lcs[i + 1][j + 1] + 1 : std::max(lcs[i + 1][j], lcs[i][j + 1]);
        qsizetype i = 0, j = 0;
        while (i < rn || j < rm) {
            if (i < rn && j < rm && a[head + i] == b[head + j]) {
                steps.push_back(Step::Same);
                ++i, ++j;
            } else if (j < rm && (i == rn || lcs[i][j + 1] >= lcs[i + 1][j])) {
                steps.push_back(Step::Inserted);
                ++j;
            } else {
                steps.push_back(Step::Deleted);
                ++i;
            }
        }
    }
    steps.insert(steps.end(), std::size_t(tail), Step::Same);
    return steps;
}

int Same_Cells(const QStringList &x, const QStringList &y)
{
    int same = 0;
    for (qsizetype c = 0; c < std::min(x.size(), y.size()); ++c)
        same += x[c] == y[c];
    return same;
}

// Pairs of the deleted and the inserted rows of one run (indexes into the
// two lists), in order, with the most cells alike over all pairs; only rows
// with a cell alike are paired. Position by position when the run is too
// large to weigh.
std::vector<std::pair<int, int>> Pair_Rows(const QList<QStringList> &a, const QList<QStringList> &b,
                                           const QList<int> &deleted, const QList<int> &inserted)
{
    const qsizetype nd = deleted.size();
    const qsizetype ni = inserted.size();
    std::vector<std::pair<int, int>> pairs;
    if (nd * ni > Max_Pairings) {
        for (qsizetype k = 0; k < std::min(nd, ni); ++k)
            pairs.push_back({int(k), int(k)});
        return pairs;
    }
    // best[i][j]: the most cells alike pairing deleted[i..] with inserted[j..].
    std::vector<std::vector<int>> best(std::size_t(nd + 1), std::vector<int>(std::size_t(ni + 1), 0));
    auto alike = [&](qsizetype i, qsizetype j) { return Same_Cells(a[deleted[i]], b[inserted[j]]); };
    for (qsizetype i = nd - 1; i >= 0; --i)
        for (qsizetype j = ni - 1; j >= 0; --j) {
            const int same = alike(i, j);
            best[i][j] = std::max({best[i + 1][j], best[i][j + 1], same > 0 ? best[i + 1][j + 1] + same : 0});
        }
    qsizetype i = 0, j = 0;
    while (i < nd && j < ni) {
        const int same = alike(i, j);
        if (same > 0 && best[i][j] == best[i + 1][j + 1] + same) {
            pairs.push_back({int(i), int(j)});
            ++i, ++j;
        } else if (best[i][j] == best[i + 1][j]) {
            ++i;
        } else {
            ++j;
        }
    }
    return pairs;
}

} // namespace

QStringList Table_Differences(const Text_Table &before, const Text_Table &after, const QString &caption, int row_name)
{
    QList<QStringList> a, b;
    for (int r = 0; r < Extent(before); ++r)
        a << Shown_Row(before, r);
    for (int r = 0; r < Extent(after); ++r)
        b << Shown_Row(after, r);
    QList<int> shown; // the columns compared
    for (int c = 0; c < after.Column_Count(); ++c)
        if (!after.Column(c).hidden)
            shown << c;
    const std::vector<Step> steps = Steps(a, b);
    auto name = [&](const Text_Table &t, int r) {
        return Messages().Get(row_name).arg(caption, QString::number(t.Row_Number(r)));
    };
    auto cells = [&](const Text_Table &t, const QStringList &row) {
        QStringList parts;
        for (qsizetype k = 0; k < row.size() && k < shown.size(); ++k)
            parts << Header(t, shown[k]) + QStringLiteral(": ") + row[k];
        return parts.join(QStringLiteral("; "));
    };
    QStringList lines;
    int i = 0, j = 0; // rows of before and after
    for (std::size_t s = 0; s < steps.size();) {
        if (steps[s] == Step::Same) {
            ++i, ++j, ++s;
            continue;
        }
        // A run of deleted and inserted rows: paired by position as changed
        // rows, the rest deleted or inserted.
        QList<int> deleted, inserted;
        for (; s < steps.size() && steps[s] != Step::Same; ++s)
            (steps[s] == Step::Deleted ? deleted : inserted) << (steps[s] == Step::Deleted ? i++ : j++);
        // The rows of the run paired in order so that the most cells match;
        // a row sharing no cell with any stays deleted or inserted.
        const std::vector<std::pair<int, int>> pairs = Pair_Rows(a, b, deleted, inserted);
        qsizetype d = 0, n = 0;
        auto flush = [&](qsizetype to_d, qsizetype to_n) {
            for (; d < to_d; ++d)
                lines
                    << Messages().Get(Msg_Diff_Row_Deleted).arg(name(before, deleted[d]), cells(before, a[deleted[d]]));
            for (; n < to_n; ++n)
                lines << Messages()
                             .Get(Msg_Diff_Row_Inserted)
                             .arg(name(after, inserted[n]), cells(after, b[inserted[n]]));
        };
        for (const auto &[pd, pn] : pairs) {
            flush(pd, pn);
            const int ra = deleted[pd];
            const int rb = inserted[pn];
            QString row = name(after, rb);
            if (before.Row_Number(ra) != after.Row_Number(rb))
                row = Messages().Get(Msg_Diff_Row_Was).arg(row, QString::number(before.Row_Number(ra)));
            for (qsizetype c = 0; c < shown.size(); ++c)
                if (a[ra].value(c) != b[rb].value(c))
                    lines << row + QStringLiteral(", ") + Header(after, shown[c]) + QStringLiteral(": ") +
                                 a[ra].value(c) + QStringLiteral(" -> ") + b[rb].value(c);
            d = pd + 1;
            n = pn + 1;
        }
        flush(deleted.size(), inserted.size());
    }
    return lines;
}
