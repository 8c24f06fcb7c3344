#include "gui/views/time_lable.h"

#include "gui/chart/axis.h"
#include "gui/chart/chart.h"
#include "gui/chart/number_format.h"
#include "gui/chart/text_block.h"
#include "gui/chart/vertical_line.h"
#include "gui/dialogs/time_lable_edit.h"
#include "gui/views/lable_colors.h"
#include "gui/views/time_lable_rules.h"
#include "gui/views/time_line.h"

#include <QApplication>
#include <QMessageBox>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace faultscope {
namespace {

constexpr int kCloseWidth = 14;
constexpr int kLineWidth = 2;
constexpr QRect kDeltaRect(20, 0, 70, 18);

int NextLableNumber() {
    static int number = 0;
    return number++;
}

VerticalLine* MakeLine(QObject* owner, const QColor& color) {
    auto* line = new VerticalLine(owner);
    line->SetWidth(kLineWidth);
    line->SetColor(color);
    line->SetCap(Qt::FlatCap);
    return line;
}

// The whole record: the range of the time line's overview.
LableSpan RecordSpan(const TTimeLine* timeLine) {
    const Axis* overview = timeLine->XZoomControl()->BottomAxis();
    return {overview->Minimum(), overview->Maximum()};
}

}  // namespace

TTimeLable::TTimeLable(QWidget* parent)
    : QFrame(parent), cht_(new Chart(this)), btnClose2_(new QToolButton(this)) {
    setFrameShape(QFrame::NoFrame);
    setFixedHeight(kDesignHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(cht_);
    cht_->setObjectName(QStringLiteral("cht"));
    cht_->LeftAxis()->SetVisible(false);
    cht_->LeftAxis()->SetRange(0.0, 1.0);
    cht_->BottomAxis()->SetVisible(false);
    cht_->SetBackground(palette().color(QPalette::Window));
    btnClose2_->setObjectName(QStringLiteral("btnClose2"));
    btnClose2_->setAutoRaise(true);
    btnClose2_->setText(QStringLiteral("×"));
    btnClose2_->setGeometry(0, 0, kCloseWidth, kDesignHeight);
    btnClose2_->raise();
    BuildLines();
    connect(btnClose2_, &QToolButton::clicked, this, [this] { emit timeLableClose(this); });
    connect(cht_, &Chart::beforeSeries, this, &TTimeLable::PaintBar);
    connect(cht_, &Chart::mousePressed, this, [this](QPointF pos) { ChtMouseDown(pos); });
    connect(cht_, &Chart::mouseMoved, this, &TTimeLable::ChtMouseMove);
    connect(cht_, &Chart::mouseReleased, this, [this] { ChtMouseUp(); });
    connect(cht_, &Chart::doubleClicked, this, [this] { ChtDblClick(); });
}

TTimeLable::~TTimeLable() {
    if (hasColor_) {
        LableColorPool::Release(lableColor_);
    }
}

void TTimeLable::BuildLines() {
    cursor_ = MakeLine(cht_, Qt::red);
    cursor_->setObjectName(QStringLiteral("Cursor"));
    lineLeft_ = MakeLine(cht_, Qt::black);
    lineLeft_->setObjectName(QStringLiteral("LineLeft"));
    lineRigth_ = MakeLine(cht_, Qt::black);
    lineRigth_->setObjectName(QStringLiteral("LineRigth"));
    const QString format = QStringLiteral("#,##0.###");
    lineLeft_->SetTagAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lineRigth_->SetTagAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (VerticalLine* line : {lineLeft_, lineRigth_}) {
        line->SetDraggable(true);
        line->SetTagVisible(true);
        line->SetTagFormat(format);
        cht_->AddTool(line);
    }
    cht_->AddTool(cursor_);
    lblDelta_ = new TextBlock(cht_);
    lblDelta_->setObjectName(QStringLiteral("lblDelta"));
    lblDelta_->SetRect(kDeltaRect);
    lblDelta_->SetTransparent(true);
    lblDelta_->SetFrameVisible(false);
    cht_->AddTool(lblDelta_);

    connect(lineLeft_, &VerticalLine::dragged, this, [this] {
        fStartDrug_ = false;
        CheckLineLeft();
    });
    connect(lineRigth_, &VerticalLine::dragged, this, [this] {
        fStartDrug_ = false;
        CheckLineRigth();
    });
    connect(lineLeft_, &VerticalLine::dragEnded, this, &TTimeLable::LineLeftDragEnd);
    connect(lineRigth_, &VerticalLine::dragEnded, this, &TTimeLable::LineRigthDragEnd);
}

void TTimeLable::Init(TTimeLine* timeLine) {
    setObjectName(QStringLiteral("TimeLable") + QString::number(NextLableNumber()));
    fTimeLine_ = timeLine;
    Chart* line = timeLine->Cht();
    cht_->setFont(line->font());
    // The plot takes the time line's pixel columns, so that a column means one time in both.
    QMargins margins = line->Margins();
    margins.setTop(0);
    margins.setBottom(0);
    cht_->SetMargins(margins);
    cht_->SetBottomAxis(timeLine->BotomAxis());
    lableColor_ = LableColorPool::Take();
    hasColor_ = true;
    const QColor color = ToQColor(lableColor_);
    const Axis* axis = timeLine->BotomAxis();
    lineLeft_->SetColor(color);
    lineLeft_->SetValue(axis->Minimum());
    lineRigth_->SetColor(color);
    lineRigth_->SetValue(axis->Maximum());
    cursor_->SetValue(timeLine->CursorValue());
    const int quarter = kDesignHeight / 4;
    fMidleRect_ = QRect(QPoint(0, quarter), QPoint(-1, 3 * quarter - 1));
    SetDeltaText();
}

void TTimeLable::AddTimeLabelToCht(Chart* chtForLine) {
    const auto copy = [this, chtForLine](const char* name, const VerticalLine* of) {
        VerticalLine* line = MakeLine(this, of->Color());
        line->setObjectName(QLatin1String(name) + QString::number(fLineId_));
        line->SetDraggable(false);
        line->SetValue(of->Value());
        chtForLine->AddTool(line);
        return line;
    };
    fLeftLines_.push_back(copy("LeftLine", lineLeft_));
    fRigthLines_.push_back(copy("RigthLine", lineRigth_));
    ++fLineId_;
}

void TTimeLable::OnZoom() {
    cht_->update();
}

double TTimeLable::NearestSampleTime(double x) const {
    double nearest = x;
    if (fTimeLine_ != nullptr) {
        fTimeLine_->GetTotalNerestPoint(x, nearest);
    }
    return nearest;
}

void TTimeLable::CheckLineLeft() {
    if (fTimeLine_ == nullptr) {
        return;
    }
    const double snapped = NearestSampleTime(lineLeft_->Value());
    lineLeft_->SetValue(LeftLinePlace(snapped, lineRigth_->Value(), RecordSpan(fTimeLine_)));
}

void TTimeLable::CheckLineRigth() {
    if (fTimeLine_ == nullptr) {
        return;
    }
    const double snapped = NearestSampleTime(lineRigth_->Value());
    lineRigth_->SetValue(RightLinePlace(snapped, lineLeft_->Value(), RecordSpan(fTimeLine_)));
}

void TTimeLable::LineLeftDragEnd() {
    for (VerticalLine* line : fLeftLines_) {
        line->SetValue(lineLeft_->Value());
    }
    SetDeltaText();
}

void TTimeLable::LineRigthDragEnd() {
    for (VerticalLine* line : fRigthLines_) {
        line->SetValue(lineRigth_->Value());
    }
    SetDeltaText();
}

void TTimeLable::SetDeltaText() {
    lblDelta_->SetText(QStringLiteral("∆T= ") +
                       FormatPicture(lineRigth_->Value() - lineLeft_->Value(), u""));
}

void TTimeLable::PaintBar(QPainter& painter, const PlotGeometry& geometry) {
    const Axis* axis = geometry.x;
    const double axisMin = geometry.XToPixel(axis->Minimum());
    const double axisMax = geometry.XToPixel(axis->Maximum());
    const double middle = std::floor(geometry.plot.top() + geometry.plot.height() / 2.0);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(QPointF(axisMin, middle), QPointF(axisMax, middle));
    double left = geometry.XToPixel(lineLeft_->Value()) + lineLeft_->Width();
    double right = geometry.XToPixel(lineRigth_->Value()) - lineRigth_->Width();
    left = std::max(left, axisMin);
    right = std::min(right, axisMax);
    // Only the strip's own picture decides where the bar can be grabbed; a copy drawn into an
    // image or onto a page has pixels of its own.
    if (painter.device() == cht_) {
        fMidleRect_.setLeft(static_cast<int>(std::lround(left)));
        fMidleRect_.setRight(static_cast<int>(std::lround(right)) - 1);
    }
    if (right > left) {
        const QRectF bar(QPointF(left, fMidleRect_.top()),
                         QPointF(right, fMidleRect_.bottom() + 1));
        painter.fillRect(bar, ToQColor(lableColor_));
    }
}

double TTimeLable::TimeAt(double pixel) const {
    return cht_->PixelToX(pixel);
}

void TTimeLable::ChtMouseDown(QPointF pos) {
    if (!fMidleRect_.contains(pos.toPoint())) {
        return;
    }
    fStartDrug_ = true;
    fDeltaMin_ = TimeAt(pos.x()) - TimeAt(fMidleRect_.left());
    fDeltaMax_ = TimeAt(fMidleRect_.right() + 1) - TimeAt(pos.x());
}

void TTimeLable::ChtMouseMove(QPointF pos) {
    if (!fStartDrug_) {
        return;
    }
    const double t = TimeAt(pos.x());
    lineLeft_->SetValue(t - fDeltaMin_);
    lineRigth_->SetValue(t + fDeltaMax_);
    CheckLineLeft();
    CheckLineRigth();
}

void TTimeLable::ChtMouseUp() {
    if (fStartDrug_) {
        LineLeftDragEnd();
        LineRigthDragEnd();
    }
    fStartDrug_ = false;
}

void TTimeLable::ChtDblClick() {
    TfrmTLableEdit dialog(this);
    try {
        dialog.Edit(lineLeft_, lineRigth_, [this] { ApplyDialogValues(); });
    } catch (const std::exception& e) {
        QMessageBox::critical(this, QApplication::applicationName(), QString::fromUtf8(e.what()));
        return;
    }
    dialog.exec();
}

void TTimeLable::ApplyDialogValues() {
    CheckLineLeft();
    CheckLineRigth();
    LineLeftDragEnd();
    LineRigthDragEnd();
}

}  // namespace faultscope
