#include "grid_labels.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <numeric>
#include <utility>

#include "engine/number_text.h"
#include "grid.h"

namespace pc {

namespace {

// Beyond these magnitudes fixed notation spends its width on zeros.
constexpr Extended kLargestFixed = 1e6L;
constexpr Extended kSmallestFixed = 1e-4L;
// An extended value holds no more than this many digits.
constexpr int kMaxDigits = 21;
// A label box that the int32 coordinates cannot hold is no label.
constexpr Extended kCoordinateLimit = 1e9L;

// The fewest decimals (of the mantissa, in exponent form) whose text reads back within
// `tolerance` of `value`.
std::string Shortest(Extended value, Extended tolerance, bool exponent) {
    std::string text;
    for (int decimals = 0; decimals <= kMaxDigits; ++decimals) {
        text = exponent ? FormatExponent(value, decimals) : FormatFixed(value, decimals);
        Extended back = 0;
        if (ParseNumber(text, back) && std::fabs(back - value) <= tolerance)
            break;
    }
    return text;
}

struct Box {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
};

bool Apart(const Box& a, const Box& b, std::int32_t gap) {
    return a.right + gap <= b.left || b.right + gap <= a.left || a.bottom + gap <= b.top ||
           b.bottom + gap <= a.top;
}

bool Within(const Box& inner, const Box& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// `box` moved the least to lie within `outer` (its left and top edges win when it is too big).
Box MovedInside(Box box, const Box& outer) {
    const std::int32_t w = box.right - box.left;
    const std::int32_t h = box.bottom - box.top;
    box.left = std::max(std::min(box.left, outer.right - w), outer.left);
    box.top = std::max(std::min(box.top, outer.bottom - h), outer.top);
    box.right = box.left + w;
    box.bottom = box.top + h;
    return box;
}

// A box of w x h centred on (x, y) given as extended, if int32 can hold it.
bool CentredBox(Extended x, Extended y, std::int32_t w, std::int32_t h, Box& box) {
    if (!(std::fabs(x) < kCoordinateLimit && std::fabs(y) < kCoordinateLimit))
        return false;
    box.left = static_cast<std::int32_t>(std::lround(static_cast<double>(x))) - w / 2;
    box.top = static_cast<std::int32_t>(std::lround(static_cast<double>(y))) - h / 2;
    box.right = box.left + w;
    box.bottom = box.top + h;
    return true;
}

struct Label {
    TLineitem* item;
    Box box;
};

// Of `labels` in their order along the axis, every k-th counted from `anchor`, for the
// smallest k that keeps neighbours (and with `wrap` the last and the first) apart.
std::vector<std::size_t> EveryKth(const std::vector<Label>& labels, std::size_t anchor,
                                  std::int32_t gap, bool wrap) {
    const std::size_t n = labels.size();
    std::vector<std::size_t> kept;
    for (std::size_t k = 1; k <= n; ++k) {
        kept.clear();
        for (std::size_t i = anchor % k; i < n; i += k) kept.push_back(i);
        bool fits = true;
        for (std::size_t j = 1; j < kept.size() && fits; ++j)
            fits = Apart(labels[kept[j - 1]].box, labels[kept[j]].box, gap);
        if (fits && wrap && kept.size() > 2)
            fits = Apart(labels[kept.back()].box, labels[kept.front()].box, gap);
        if (fits)
            return kept;
    }
    return {};
}

class Arranger {
  public:
    Arranger(const GridContext& context, std::vector<TLineitem>& grid)
        : c(context),
          v(context.view),
          m_grid(grid),
          // A third of a digit: enough to tell two labels apart, little enough that four
          // decades fit on a plot 200 pixels wide.
          m_gap(std::max(2, context.measure.Width("0") / 3)) {
        if (context.gridType == GridType::gtPolar) {
            m_picture = {v.marginLeft, v.marginTop, v.plotRight, v.plotBottom};
        } else {
            m_picture = {0, 0, v.plotRight + v.labelColumnWidth + v.marginRight,
                         v.plotBottom + v.labelRowHeight + v.marginBottom};
        }
    }

    void Arrange() {
        for (TLineitem& item : m_grid) item.labelVisible = false;
        if (c.gridType == GridType::gtPolar) {
            Rings();
            Angles();
            return;
        }
        Axis(false, HorizontalKind(c.gridType));
        Axis(true, VerticalKind(c.gridType));
    }

  private:
    bool Free(const Box& box, std::int32_t gap) const {
        return Within(box, m_picture) &&
               std::all_of(m_placed.begin(), m_placed.end(),
                           [&](const Box& other) { return Apart(box, other, gap); });
    }
    void Place(const Label& label) {
        label.item->labelVisible = true;
        label.item->labelX = label.box.left;
        label.item->labelY = label.box.top;
        m_placed.push_back(label.box);
    }
    // Keeps the chosen ones that nothing placed before is in the way of.
    void PlaceFree(const std::vector<Label>& labels, const std::vector<std::size_t>& chosen) {
        std::vector<Box> before = m_placed;
        for (std::size_t i : chosen) {
            const Box& box = labels[i].box;
            if (Within(box, m_picture) &&
                std::all_of(before.begin(), before.end(),
                            [&](const Box& other) { return Apart(box, other, m_gap); }))
                Place(labels[i]);
        }
    }
    Box AxisBox(const TLineitem& item, bool vertical) const {
        const std::int32_t w = c.measure.Width(item.labelText);
        const std::int32_t h = c.measure.Height(item.labelText);
        Box box;
        if (vertical) {
            box.left = v.plotRight + 7;
            box.top = item.y1 - h / 2;
        } else {
            box.left = item.x1 - w / 2;
            box.top = v.plotBottom + 3;
        }
        box.right = box.left + w;
        box.bottom = box.top + h;
        Box inside = m_picture;
        // The column of vertical-axis labels ends above the row of horizontal-axis ones,
        // so that the two never meet in the corner.
        if (vertical)
            inside.bottom = std::min(inside.bottom, v.plotBottom + 3 + h) - h - m_gap;
        return MovedInside(box, inside);
    }

    void Axis(bool vertical, AxisKind kind);
    void Rings();
    void Angles();

    const GridContext& c;
    const PlotView& v;
    std::vector<TLineitem>& m_grid;
    std::int32_t m_gap;
    Box m_picture;
    std::vector<Box> m_placed;
};

void Arranger::Axis(bool vertical, AxisKind kind) {
    const std::uint8_t axis = vertical ? kLabelVerticalAxis : kLabelHorizontalAxis;
    Extended min = vertical ? v.ymin : v.xmin;
    Extended max = vertical ? v.ymax : v.xmax;
    // Under a tenth of a decade a logarithmic axis has linear ticks, the midpoints unlabelled.
    const bool logarithmic =
        kind == AxisKind::Logarithmic && !(min > 0 && std::log10(max / min) <= 0.1L);
    std::vector<TLineitem*> ticks;
    for (TLineitem& item : m_grid) {
        if (item.shape != kShapeLine || item.labelAxis != axis || item.labelText.empty())
            continue;
        const bool inside = vertical ? item.y1 >= v.marginTop && item.y1 <= v.plotBottom
                                     : item.x1 >= v.marginLeft && item.x1 <= v.plotRight;
        const bool candidate =
            inside && (kind != AxisKind::Logarithmic || logarithmic || item.labelVisible);
        // The others do not count for the label column either.
        if (candidate)
            ticks.push_back(&item);
        else
            item.labelText.clear();
    }
    if (ticks.empty())
        return;
    if (logarithmic) {
        for (TLineitem* item : ticks)
            item->labelText = Shortest(item->value, std::fabs(item->value) * 1e-6L, true);
    } else {
        std::vector<Extended> values;
        for (const TLineitem* item : ticks) values.push_back(item->value);
        const std::vector<std::string> texts = AxisLabels(values);
        for (std::size_t i = 0; i < ticks.size(); ++i)
            ticks[i]->labelText = texts[i] + (kind == AxisKind::Db ? " dB" : "");
    }
    std::vector<Label> labels;
    for (TLineitem* item : ticks) labels.push_back({item, AxisBox(*item, vertical)});
    // Along the axis: left to right, bottom to top.
    std::stable_sort(labels.begin(), labels.end(), [&](const Label& a, const Label& b) {
        return vertical ? a.item->y1 > b.item->y1 : a.item->x1 < b.item->x1;
    });
    if (!logarithmic) {
        std::size_t anchor = 0;
        for (std::size_t i = 0; i < labels.size(); ++i) {
            if (labels[i].item->labelText.starts_with("0") &&
                (labels[i].item->labelText.size() == 1 || labels[i].item->labelText[1] == ' '))
                anchor = i;
        }
        PlaceFree(labels, EveryKth(labels, anchor, m_gap, false));
        return;
    }
    // Decades first, then whole subdivisions, 2, 5, 3, the other digits, the halves and
    // the rest, until one does not fit: a subdivision labelled in one decade is labelled
    // in every decade, and none is labelled before a rounder one.
    const auto mantissaKey = [](Extended value) {
        const Extended m = value / std::pow(10.0L, std::floor(std::log10(value)));
        return static_cast<int>(std::lround(static_cast<double>(m * 10))) % 100;
    };
    std::vector<Label> decades;
    std::vector<int> keys;
    for (const Label& label : labels) {
        const int key = mantissaKey(label.item->value);
        if (key == 10 || key == 0)
            decades.push_back(label);
        else if (std::find(keys.begin(), keys.end(), key) == keys.end())
            keys.push_back(key);
    }
    PlaceFree(decades, EveryKth(decades, 0, m_gap, false));
    std::sort(keys.begin(), keys.end(), [](int a, int b) {
        const auto rank = [](int key) {
            return key == 20       ? 0
                   : key == 50     ? 1
                   : key == 30     ? 2
                   : key % 10 == 0 ? 3
                   : key % 5 == 0  ? 4
                                   : 5;
        };
        return std::make_pair(rank(a), a) < std::make_pair(rank(b), b);
    });
    for (int key : keys) {
        std::vector<Label> members;
        for (const Label& label : labels) {
            if (mantissaKey(label.item->value) == key)
                members.push_back(label);
        }
        // A subdivision keeps a whole digit's room to its neighbours: squeezed against a
        // decade it would read as one number with it ("1E02E0").
        const std::int32_t gap = std::max(m_gap, c.measure.Width("0"));
        bool fits = true;
        for (std::size_t i = 0; i < members.size() && fits; ++i) {
            fits = Free(members[i].box, gap) &&
                   (i == 0 || Apart(members[i - 1].box, members[i].box, gap));
        }
        if (!fits)
            break;
        for (const Label& label : members) Place(label);
    }
}

void Arranger::Rings() {
    std::vector<TLineitem*> rings;
    for (TLineitem& item : m_grid) {
        // The ring of radius 0 is the origin, which its dot marks.
        if (item.labelAxis == kLabelRing && !item.labelText.empty() && item.value > 0)
            rings.push_back(&item);
        else if (item.labelAxis == kLabelRing)
            item.labelText.clear();
    }
    std::vector<Extended> radii;
    for (const TLineitem* ring : rings) radii.push_back(ring->value);
    const std::vector<std::string> texts = AxisLabels(radii);
    std::vector<Label> labels;
    for (std::size_t i = 0; i < rings.size(); ++i) {
        TLineitem& ring = *rings[i];
        ring.labelText = texts[i];
        // Beside the ring where it meets the line to the farthest corner; an anchor outside
        // the plot area belongs to a ring that is not seen there.
        if (ring.labelX < v.marginLeft || ring.labelX > v.plotRight || ring.labelY < v.marginTop ||
            ring.labelY > v.plotBottom)
            continue;
        const std::int32_t w = c.measure.Width(ring.labelText);
        const std::int32_t h = c.measure.Height(ring.labelText);
        const Box box{ring.labelX + 3, ring.labelY - h - 1, ring.labelX + 3 + w, ring.labelY - 1};
        labels.push_back({&ring, MovedInside(box, m_picture)});
    }
    PlaceFree(labels, EveryKth(labels, 0, m_gap, false));
}

void Arranger::Angles() {
    std::vector<TLineitem*> rays;
    std::vector<Extended> angles;
    std::vector<Extended> radii;
    for (TLineitem& item : m_grid) {
        if (item.labelAxis == kLabelAngle) {
            rays.push_back(&item);
            angles.push_back(item.value);
        } else if (item.labelAxis == kLabelRing && item.kind == 0 && item.value > 0 &&
                   std::find(radii.begin(), radii.end(), item.value) == radii.end()) {
            radii.push_back(item.value);
        }
    }
    if (rays.empty() || radii.empty())
        return;
    const std::vector<std::string> texts = AngleLabels(angles, c.angleInDegrees);
    std::vector<std::pair<std::int32_t, std::int32_t>> sizes;
    for (const std::string& text : texts)
        sizes.emplace_back(c.measure.Width(text), c.measure.Height(text));
    const Extended sx = v.plotWidth / (v.xmax - v.xmin);
    const Extended sy = v.plotHeight / (v.ymax - v.ymin);
    // Just outside or just inside ring r on each ray; the place where the most of them
    // fit wins, the outermost of equals, so that the labels stay off the middle where the
    // curves crowd.
    const auto labelsAt = [&](Extended r, Extended side) {
        std::vector<Label> labels;
        for (std::size_t i = 0; i < rays.size(); ++i) {
            const auto [w, h] = sizes[i];
            const Extended out = side * (std::hypot(Extended(w), Extended(h)) / 2 + 2);
            const Extended cosine = std::cos(angles[i]);
            const Extended sine = std::sin(angles[i]);
            const Extended x = v.marginLeft + (r * cosine - v.xmin) * sx + out * cosine;
            const Extended y = v.marginTop + (v.ymax - r * sine) * sy - out * sine;
            Box box;
            if (CentredBox(x, y, w, h, box) && Within(box, m_picture))
                labels.push_back({rays[i], box});
        }
        return labels;
    };
    std::sort(radii.begin(), radii.end(), std::greater<>());
    std::vector<Label> best;
    for (Extended r : radii) {
        for (const Extended side : {1.0L, -1.0L}) {
            std::vector<Label> labels = labelsAt(r, side);
            if (labels.size() > best.size())
                best = std::move(labels);
        }
    }
    std::size_t anchor = 0;
    for (std::size_t i = 0; i < best.size(); ++i) {
        if (best[i].item->value == 0)
            anchor = i;
        best[i].item->labelText = texts[static_cast<std::size_t>(
            std::find(rays.begin(), rays.end(), best[i].item) - rays.begin())];
    }
    // Around the origin the last ray's label is the first one's neighbour too.
    const bool aroundOrigin = v.xmin <= 0 && v.xmax >= 0 && v.ymin <= 0 && v.ymax >= 0;
    PlaceFree(best, EveryKth(best, anchor, m_gap, aroundOrigin));
}

// "π/6", "5π/12", "π", "3π/2" for n twelfths of π.
std::string PiFraction(long twelfths) {
    if (twelfths == 0)
        return "0";
    const long common = std::gcd(twelfths, 12L);
    const long numerator = twelfths / common;
    const long denominator = 12 / common;
    std::string text = numerator == 1 ? "" : numerator == -1 ? "-" : std::to_string(numerator);
    text += "\u03C0";
    if (denominator != 1)
        text += "/" + std::to_string(denominator);
    return text;
}

}  // namespace

std::vector<std::string> AxisLabels(const std::vector<Extended>& ticks) {
    Extended gap = std::numeric_limits<Extended>::infinity();
    Extended largest = 0;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        if (!std::isfinite(ticks[i]))
            continue;
        largest = std::max(largest, std::fabs(ticks[i]));
        if (i > 0 && std::isfinite(ticks[i - 1])) {
            const Extended d = std::fabs(ticks[i] - ticks[i - 1]);
            if (d > 0)
                gap = std::min(gap, d);
        }
    }
    if (!std::isfinite(gap))
        gap = largest;
    std::vector<std::string> labels;
    labels.reserve(ticks.size());
    // The decision goes by the ticks that are not zero.
    Extended largestShown = 0;
    for (Extended t : ticks) {
        if (std::isfinite(t) && std::fabs(t) > gap * 1e-6L)
            largestShown = std::max(largestShown, std::fabs(t));
    }
    const bool exponent =
        largestShown >= kLargestFixed || (largestShown > 0 && largestShown < kSmallestFixed);
    for (Extended t : ticks) {
        if (!std::isfinite(t))
            labels.push_back(FormatGeneral(t));
        else if (!(std::fabs(t) > gap * 1e-6L))
            labels.push_back("0");
        else
            labels.push_back(Shortest(t, gap * 1e-3L, exponent));
    }
    return labels;
}

std::vector<std::string> AngleLabels(const std::vector<Extended>& radians, bool degrees) {
    std::vector<Extended> values;
    for (Extended a : radians) values.push_back(degrees ? a * 180 / kPi : a);
    if (!degrees) {
        std::vector<std::string> fractions;
        for (Extended a : radians) {
            const Extended twelfths = a * 12 / kPi;
            const Extended whole = std::round(twelfths);
            if (!(std::fabs(twelfths - whole) < 1e-9L))
                return AxisLabels(values);
            fractions.push_back(PiFraction(static_cast<long>(whole)));
        }
        return fractions;
    }
    std::vector<std::string> labels = AxisLabels(values);
    for (std::string& label : labels) label += "\u00B0";
    return labels;
}

void ArrangeLabels(const GridContext& context, std::vector<TLineitem>& grid) {
    Arranger(context, grid).Arrange();
}

}  // namespace pc
