#include "gui/widgets/phase_triple_box.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <algorithm>

namespace faultscope {
namespace {

QString Trimmed(const std::string& text) {
    return QString::fromStdString(text).trimmed();
}

}  // namespace

QString PhaseTripleText(const RecordConfig& cfg, const PhaseTriple& triple) {
    QStringList names;
    const QString circuit = Trimmed(cfg.analog[triple.channels[0]].ccbm);
    for (const std::size_t c : triple.channels) {
        QString name = Trimmed(cfg.analog[c].ch_id);
        // The circuit is named once, at the end.
        if (!circuit.isEmpty() && name.endsWith(u' ' + circuit)) {
            name.chop(circuit.size() + 1);
        }
        names.push_back(name);
    }
    return names.join(u'/') + (circuit.isEmpty() ? QString() : u' ' + circuit);
}

PhaseTripleBox::PhaseTripleBox(const RecordConfig& cfg, std::optional<QuantityKind> kind,
                               QWidget* parent)
    : QWidget(parent), cfg_(cfg) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    offered_ = new QComboBox(this);
    offered_->setObjectName(QStringLiteral("cbbOffered"));
    for (const PhaseTriple& triple : FindPhaseTriples(cfg.analog)) {
        if (!kind || KindOfUnit(cfg.analog[triple.channels[0]].uu) == *kind) {
            triples_.push_back(triple);
            offered_->addItem(PhaseTripleText(cfg, triple));
        }
    }
    grid->addWidget(offered_, 0, 0, 1, 6);
    const std::array<QString, 3> letters = {QStringLiteral("A:"), QStringLiteral("B:"),
                                            QStringLiteral("C:")};
    for (std::size_t p = 0; p < 3; ++p) {
        auto* list = new QComboBox(this);
        list->setObjectName(QStringLiteral("cbbPhase") + letters[p].front());
        for (std::size_t c = 0; c < cfg.analog.size(); ++c) {
            if (!kind || KindOfUnit(cfg.analog[c].uu) == *kind) {
                list->addItem(Trimmed(cfg.analog[c].ch_id), QVariant::fromValue(c));
            }
        }
        phases_[p] = list;
        const int column = static_cast<int>(p) * 2;
        grid->addWidget(new QLabel(letters[p], this), 1, column);
        grid->addWidget(list, 1, column + 1);
        grid->setColumnStretch(column + 1, 1);
        connect(list, &QComboBox::currentIndexChanged, this, [this] {
            if (!setting_) {
                emit changed();
            }
        });
    }
    connect(offered_, &QComboBox::activated, this, &PhaseTripleBox::ChooseOffered);
    if (!triples_.empty()) {
        ChooseOffered(0);
    } else {
        for (std::size_t p = 0; p < 3; ++p) {
            phases_[p]->setCurrentIndex(std::min(static_cast<int>(p), phases_[p]->count() - 1));
        }
    }
}

void PhaseTripleBox::ChooseOffered(int index) {
    if (index >= 0 && static_cast<std::size_t>(index) < triples_.size()) {
        SetTriple(triples_[static_cast<std::size_t>(index)]);
    }
}

PhaseTriple PhaseTripleBox::Triple() const {
    PhaseTriple triple;
    for (std::size_t p = 0; p < 3; ++p) {
        triple.channels[p] = phases_[p]->currentData().value<std::size_t>();
    }
    return triple;
}

void PhaseTripleBox::SetTriple(const PhaseTriple& triple) {
    const PhaseTriple before = Triple();
    setting_ = true;
    for (std::size_t p = 0; p < 3; ++p) {
        const int index = phases_[p]->findData(QVariant::fromValue(triple.channels[p]));
        if (index >= 0) {
            phases_[p]->setCurrentIndex(index);
        }
    }
    const auto offered = std::find(triples_.begin(), triples_.end(), Triple());
    offered_->setCurrentIndex(
        offered == triples_.end() ? -1 : static_cast<int>(offered - triples_.begin()));
    setting_ = false;
    if (Triple() != before) {
        emit changed();
    }
}

QStringList PhaseTripleBox::ChannelIds() const {
    QStringList ids;
    for (const std::size_t c : Triple().channels) {
        ids.push_back(QString::fromStdString(cfg_.analog[c].ch_id));
    }
    return ids;
}

bool PhaseTripleBox::SetChannelIds(const QStringList& ids) {
    if (ids.size() != 3) {
        return false;
    }
    PhaseTriple triple;
    for (std::size_t p = 0; p < 3; ++p) {
        const int index = phases_[p]->findText(ids[static_cast<qsizetype>(p)].trimmed());
        if (index < 0) {
            return false;
        }
        triple.channels[p] = phases_[p]->itemData(index).value<std::size_t>();
    }
    SetTriple(triple);
    return true;
}

bool PhaseTripleBox::HasChannels() const {
    return phases_[0]->count() > 0;
}

}  // namespace faultscope
