// SPDX-License-Identifier: MIT
// The best few of many ranked items, as a beam keeps the best children of a layer.
#pragma once

#include <QtGlobal>

#include <algorithm>
#include <array>
#include <cstddef>
#include <iterator>

namespace Solver {

// Moves the best `count` items of [first, last) to its front, the count-th best at
// first + count - 1 and none after it better: the order std::nth_element leaves with the
// same `better`, which must put a higher `worth` first and order equal worth strictly.
//
// A beam's layer holds tens of thousands of children and keeps a few thousand, most of them
// on ties of worth, where nth_element's comparisons are as good as a coin to the processor.
// Here a tally of the worth finds the bucket where the best `count` end; every item above it
// is in, every one below out, in passes whose branches go nearly always one way, and only
// the items within the bucket are compared. Ranges of fewer than 4,096 items go straight to
// nth_element.
//
// Example: worths 9 7 7 5 3 and count 2 leave 9 and the better of the two 7s in front.
template<typename Iterator, typename Better>
void SelectBest(Iterator first, Iterator last, std::size_t count, Better better)
{
    const auto n = std::size_t(std::distance(first, last));
    constexpr int Buckets = 1024;
    if (count == 0 || n == 0)
        return;
    if (n < 4 * std::size_t(Buckets) || count >= n) {
        std::nth_element(first, first + qsizetype(std::min(count, n) - 1), last, better);
        return;
    }
    qint64 low = first->worth;
    qint64 high = first->worth;
    for (auto i = first; i != last; ++i) {
        low = std::min(low, qint64(i->worth));
        high = std::max(high, qint64(i->worth));
    }
    // Buckets of 2^shift worth each, from the lowest; every worth falls in one.
    int shift = 0;
    while ((quint64(high - low) >> shift) >= quint64(Buckets))
        ++shift;
    std::array<quint32, Buckets> tally {};
    for (auto i = first; i != last; ++i)
        ++tally[std::size_t(quint64(i->worth - low) >> shift)];
    std::size_t above = 0;
    int bucket = int(quint64(high - low) >> shift);
    for (; above + tally[std::size_t(bucket)] < count; --bucket)
        above += tally[std::size_t(bucket)];
    const qint64 from = low + (qint64(bucket) << shift); // the bucket's worth: [from, to)
    const qint64 to = from + (qint64(1) << shift);
    const Iterator in = std::partition(first, last, [from](const auto& item) { return item.worth >= from; });
    const Iterator within = std::partition(first, in, [to](const auto& item) { return item.worth >= to; });
    std::nth_element(within, first + qsizetype(count - 1), in, better);
}

} // namespace Solver
