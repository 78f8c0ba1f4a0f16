#include "window/chartpoints.h"

#include <algorithm>
#include <array>

namespace tql {

QList<QPointF> thinnedPoints(const std::vector<std::pair<double, double>>& samples, int columns) {
    QList<QPointF> points;
    const std::size_t kept = std::size_t(std::max(columns, 1)) * 4;
    if (samples.size() <= kept) {
        for (const auto& [t, x] : samples) {
            points.append({t, x});
        }
        return points;
    }
    points.reserve(qsizetype(kept));
    const double start = samples.front().first;
    const double width = (samples.back().first - start) / std::max(columns, 1);
    std::size_t first = 0;
    while (first < samples.size()) {
        const int column = int((samples[first].first - start) / width);
        std::size_t last = first;
        std::size_t lowest = first;
        std::size_t highest = first;
        while (last + 1 < samples.size() &&
               int((samples[last + 1].first - start) / width) == column) {
            ++last;
            lowest = samples[last].second < samples[lowest].second ? last : lowest;
            highest = samples[last].second > samples[highest].second ? last : highest;
        }
        std::array<std::size_t, 4> chosen = {first, lowest, highest, last};
        std::sort(chosen.begin(), chosen.end());
        const auto end = std::unique(chosen.begin(), chosen.end());
        for (auto i = chosen.begin(); i != end; ++i) {
            points.append({samples[*i].first, samples[*i].second});
        }
        first = last + 1;
    }
    return points;
}

QPoint besideWindow(const QRect& main, const QSize& size, const QRect& screen) {
    constexpr int kGap = 8;
    const int top = std::clamp(main.top(), screen.top(),
                               std::max(screen.top(), screen.bottom() + 1 - size.height()));
    if (main.right() + kGap + size.width() <= screen.right() + 1) {
        return {main.right() + 1 + kGap, top};
    }
    if (main.left() - kGap - size.width() >= screen.left()) {
        return {main.left() - kGap - size.width(), top};
    }
    return {std::max(screen.left(), screen.right() + 1 - size.width()), top};
}

}  // namespace tql
