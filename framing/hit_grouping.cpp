#include "framing/hit_grouping.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>

namespace framing {
namespace {

bool Neighbours(const FaceBox& a, const FaceBox& b) {
    const int smaller = std::min(a.width, b.width);
    const int larger = std::max(a.width, b.width);
    if (larger * 10 > smaller * 13) return false;
    const int dx = 2 * (a.x - b.x) + (a.width - b.width);  // twice the distance of the centres
    const int dy = 2 * (a.y - b.y) + (a.height - b.height);
    return std::abs(dx) * 4 <= smaller * 2 && std::abs(dy) * 4 <= smaller * 2;
}

int Root(std::vector<int>& parent, int i) {
    while (parent[static_cast<std::size_t>(i)] != i) {
        parent[static_cast<std::size_t>(i)] = parent[static_cast<std::size_t>(parent[static_cast<std::size_t>(i)])];
        i = parent[static_cast<std::size_t>(i)];
    }
    return i;
}

struct Group {
    FaceBox box;
    int hits;
};

bool CentreInside(const FaceBox& inner, const FaceBox& outer) {
    const int cx = inner.x + inner.width / 2, cy = inner.y + inner.height / 2;
    return cx >= outer.x && cx < outer.x + outer.width && cy >= outer.y && cy < outer.y + outer.height;
}

}  // namespace

std::vector<FaceBox> GroupHits(const std::vector<FaceBox>& hits, int minHits) {
    const int n = static_cast<int>(hits.size());
    std::vector<int> parent(static_cast<std::size_t>(n));
    std::iota(parent.begin(), parent.end(), 0);
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            if (Neighbours(hits[static_cast<std::size_t>(i)], hits[static_cast<std::size_t>(j)]))
                parent[static_cast<std::size_t>(Root(parent, i))] = Root(parent, j);

    struct Sum {
        double x = 0, y = 0, w = 0, h = 0;
        int count = 0;
    };
    std::vector<Sum> sums(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        Sum& s = sums[static_cast<std::size_t>(Root(parent, i))];
        const FaceBox& b = hits[static_cast<std::size_t>(i)];
        s.x += b.x;
        s.y += b.y;
        s.w += b.width;
        s.h += b.height;
        ++s.count;
    }
    std::vector<Group> groups;
    for (const Sum& s : sums) {
        if (s.count == 0 || s.count < minHits) continue;
        const auto mean = [&s](double v) { return static_cast<int>(std::lround(v / s.count)); };
        groups.push_back({{mean(s.x), mean(s.y), mean(s.w), mean(s.h)}, s.count});
    }

    std::vector<FaceBox> faces;
    for (const Group& g : groups) {
        const bool covered = std::any_of(groups.begin(), groups.end(), [&g](const Group& other) {
            return &other != &g && other.hits > g.hits && CentreInside(g.box, other.box);
        });
        if (!covered) faces.push_back(g.box);
    }
    std::sort(faces.begin(), faces.end(), [](const FaceBox& a, const FaceBox& b) {
        return a.width != b.width ? a.width > b.width : (a.y != b.y ? a.y < b.y : a.x < b.x);
    });
    return faces;
}

}  // namespace framing
