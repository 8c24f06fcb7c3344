#include "gui/views/strip_finder.h"

#include "gui/views/analog_strip.h"
#include "gui/views/analog_strip_list.h"
#include "gui/views/discrete_strip.h"
#include "gui/views/discrete_strip_list.h"

#include <algorithm>

namespace faultscope {
namespace {

void SetHighlighted(QWidget* strip, bool highlighted) {
    if (auto* analog = qobject_cast<AnalogStrip*>(strip)) {
        analog->SetHighlighted(highlighted);
    } else if (auto* discrete = qobject_cast<DiscreteStrip*>(strip)) {
        discrete->SetHighlighted(highlighted);
    }
}

}  // namespace

std::ptrdiff_t NextNameMatch(std::span<const QString> names, const QString& text,
                             std::ptrdiff_t current) {
    const auto count = static_cast<std::ptrdiff_t>(names.size());
    if (text.isEmpty() || count == 0) {
        return -1;
    }
    const std::ptrdiff_t start = std::clamp<std::ptrdiff_t>(current, -1, count - 1) + 1;
    for (std::ptrdiff_t step = 0; step < count; ++step) {
        const std::ptrdiff_t i = (start + step) % count;
        if (names[static_cast<std::size_t>(i)].contains(text, Qt::CaseInsensitive)) {
            return i;
        }
    }
    return -1;
}

StripFinder::StripFinder(AnalogStripList* analog, DiscreteStripList* discrete)
    : analog_(analog), discrete_(discrete) {}

std::vector<StripFinder::Shown> StripFinder::ShownStrips() const {
    std::vector<Shown> shown;
    const auto add = [&shown](auto* list) {
        if (list == nullptr || !list->isVisible()) {
            return;
        }
        for (auto* strip : list->DisplayList()) {
            if (!strip->isHidden()) {
                shown.push_back({strip, list, QString::fromStdString(strip->Info().ch_id)});
            }
        }
    };
    add(analog_.data());
    add(discrete_.data());
    return shown;
}

bool StripFinder::FindNext(const QString& text) {
    const std::vector<Shown> shown = ShownStrips();
    std::vector<QString> names;
    names.reserve(shown.size());
    std::ptrdiff_t current = -1;
    for (const Shown& item : shown) {
        if (item.strip == found_) {
            current = static_cast<std::ptrdiff_t>(names.size());
        }
        names.push_back(item.name);
    }
    const std::ptrdiff_t next = NextNameMatch(names, text, current);
    Clear();
    if (next < 0) {
        return false;
    }
    const Shown& item = shown[static_cast<std::size_t>(next)];
    found_ = item.strip;
    SetHighlighted(item.strip, true);
    item.list->ensureWidgetVisible(item.strip, 0, 0);
    return true;
}

void StripFinder::Clear() {
    if (found_ != nullptr) {
        SetHighlighted(found_, false);
        found_ = nullptr;
    }
}

}  // namespace faultscope
