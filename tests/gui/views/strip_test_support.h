#pragma once

#include "core/record/record_config.h"
#include "core/record/record_data.h"

#include <QApplication>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

namespace faultscope::test {

inline AnalogChannel MakeAnalogChannel(std::uint32_t an, std::string id, std::string ph = "",
                                       bool reserve = false) {
    return AnalogChannel{.An = an,
                         .ch_id = std::move(id),
                         .ph = std::move(ph),
                         .uu = "A",
                         .min = -99999,
                         .max = 99999,
                         .ReserveChannel = reserve};
}

inline DigitalChannel MakeDigitalChannel(std::uint32_t dn, std::string id) {
    return DigitalChannel{.Dn = dn, .ch_id = std::move(id)};
}

// "I1", "I2", …
inline std::string Numbered(char prefix, std::uint32_t i) {
    std::string id = std::to_string(i);
    id.insert(id.begin(), prefix);
    return id;
}

// Stored samples with zero harmonics of the same length.
inline AnalogColumns Samples(const std::vector<double>& values,
                             const std::vector<std::uint8_t>& gaps = {}) {
    AnalogColumns columns = AnalogColumns::FromValues(values, gaps);
    const std::size_t n = values.size();
    for (auto* column : {&columns.harmonics.rms1, &columns.harmonics.rms2, &columns.harmonics.rms3,
                         &columns.harmonics.rms5, &columns.harmonics.angle}) {
        column->assign(n, 0.0);
    }
    return columns;
}

inline std::vector<double> Times(std::size_t n, double step = 1.0) {
    std::vector<double> x(n);
    for (std::size_t i = 0; i < n; ++i) {
        x[i] = static_cast<double>(i) * step;
    }
    return x;
}

// A shown window that holds a list as its record window would: the list fills a panel of its
// own, whose right padding the list sets.
struct ListWindow {
    QWidget window;
    QWidget* panel = new QWidget(&window);

    ListWindow(QWidget* list, QSize size) {
        auto* outer = new QVBoxLayout(&window);
        outer->setContentsMargins(0, 0, 0, 0);
        outer->addWidget(panel);
        auto* inner = new QVBoxLayout(panel);
        inner->setContentsMargins(0, 0, 0, 0);
        inner->addWidget(list);
        window.resize(size);
    }

    bool Show() {
        window.show();
        const bool exposed = QTest::qWaitForWindowExposed(&window);
        QApplication::processEvents();
        return exposed;
    }
};

}  // namespace faultscope::test
