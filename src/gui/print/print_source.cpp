#include "gui/print/print_source.h"

#include "gui/chart/chart.h"
#include "gui/document/record_document.h"
#include "gui/views/analog_strip.h"
#include "gui/views/analog_strip_list.h"
#include "gui/views/discrete_strip.h"
#include "gui/views/discrete_strip_list.h"
#include "gui/views/time_label.h"
#include "gui/views/time_label_list.h"
#include "gui/views/time_line.h"

namespace faultscope {
namespace {

// The charts of the strips that are not hidden, in display order. A strip's own hidden flag
// is what counts: the window itself may be hidden, or not shown yet.
template <typename Strip>
std::vector<Chart*> ShownCharts(const std::vector<Strip*>& displayList) {
    std::vector<Chart*> charts;
    for (const Strip* strip : displayList) {
        if (strip != nullptr && !strip->isHidden()) {
            charts.push_back(strip->Cht());
        }
    }
    return charts;
}

std::vector<int> Heights(const std::vector<Chart*>& charts) {
    std::vector<int> heights;
    heights.reserve(charts.size());
    for (const Chart* chart : charts) {
        heights.push_back(chart->height());
    }
    return heights;
}

}  // namespace

PrintSource PrintSourceOf(const RecordDocument& document) {
    PrintSource source;
    const RecordConfig& cfg = document.ConfigFile();
    source.stationName = QString::fromStdString(cfg.station_name);
    source.deviceName = QString::fromStdString(cfg.rec_dev_id);
    if (!document.Loaded()) {
        return source;
    }
    if (const TimeLabelList* labels = document.TimeLabels(); labels != nullptr) {
        for (const TimeLabel* label : labels->List()) {
            source.labels.push_back(label->Cht());
        }
    }
    source.analog = ShownCharts(document.AnalogStrips()->DisplayList());
    source.discrete = ShownCharts(document.DiscreteStrips()->DisplayList());
    source.timeAxis = document.TimeLineView()->Cht();
    source.maxTimeText = document.TimeLineView()->MaxTimeText();
    return source;
}

PageLayoutInput LayoutInputFor(const PrintSource& source, const QRect& printable,
                               int captionLineHeight) {
    PageLayoutInput input;
    input.printable = printable;
    input.captionLineHeight = captionLineHeight;
    if (!source.analog.empty()) {
        input.referenceWidth = source.analog.front()->width();
    } else if (!source.discrete.empty()) {
        input.referenceWidth = source.discrete.front()->width();
    }
    input.labelHeights = Heights(source.labels);
    input.analogHeights = Heights(source.analog);
    input.discreteHeights = Heights(source.discrete);
    input.timeAxisHeight =
        source.timeAxis != nullptr
            ? source.timeAxis->height() + (source.maxTimeText.isEmpty() ? 0 : kTimeFooterHeight)
            : 0;
    return input;
}

}  // namespace faultscope
