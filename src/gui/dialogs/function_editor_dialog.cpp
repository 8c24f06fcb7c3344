#include "gui/dialogs/function_editor_dialog.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "core/viewtemplate/formula_check.h"
#include "gui/dialogs/formula_help.h"
#include "gui/widgets/message_boxes.h"

namespace faultscope {

QLabel* CaptionBar(const QString& text, const char* name, QWidget* parent) {
    auto* bar = new QLabel(text, parent);
    bar->setObjectName(name);
    bar->setAlignment(Qt::AlignCenter);
    bar->setStyleSheet("background: #fff8dc; border: 1px solid #b0c4de; padding: 2px;");
    return bar;
}

QWidget* CreateCancelBar(QWidget* parent, int topMargin, QPushButton*& ok, QPushButton*& cancel) {
    auto* pnlBtn = new QWidget(parent);
    pnlBtn->setObjectName("pnlBtn");
    auto* bar = new QHBoxLayout(pnlBtn);
    bar->setContentsMargins(0, topMargin, 0, 0);
    ok = new QPushButton("Создать", pnlBtn);
    ok->setObjectName("btnOk");
    cancel = new QPushButton("Отмена", pnlBtn);
    cancel->setObjectName("btnCancel");
    bar->addStretch(1);
    bar->addWidget(ok);
    bar->addWidget(cancel);
    return pnlBtn;
}

FunctionEditorDialog::FunctionEditorDialog(QWidget* owner, QStringList* list, MessageSink* messages)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      functions_(list) {
    messages_ = messages;
    setObjectName("frmNewFunction");
    setWindowTitle("Создать функцию");
    QFont font("Tahoma");
    font.setPixelSize(10);
    setFont(font);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    BuildLeft();
    BuildRight();
    layout->addWidget(pnlMain_, 0);
    layout->addWidget(pnlRight_, 1);
    setFixedSize(522, 386);
    FormulaChanged();
}

QPlainTextEdit* FunctionEditorDialog::Memo(const char* name) {
    auto* memo = new QPlainTextEdit(pnlMain_);
    memo->setObjectName(name);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setTabChangesFocus(true);
    memo->installEventFilter(this);
    return memo;
}

void FunctionEditorDialog::BuildLeft() {
    pnlMain_ = new QWidget(this);
    pnlMain_->setObjectName("pnlMain");
    auto* column = new QVBoxLayout(pnlMain_);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    edtName_ = new QLineEdit(pnlMain_);
    edtName_->setObjectName("edtName");
    edtName_->setAlignment(Qt::AlignCenter);
    mmBody_ = Memo("mmBody");
    mmAngle_ = Memo("mmAngle");
    mmDescription_ = Memo("mmDescription");
    lblFault_ = new QLabel(pnlMain_);
    lblFault_->setObjectName("lblFault");
    lblFault_->setWordWrap(true);
    lblFault_->setStyleSheet("color: #b00000;");
    column->addWidget(CaptionBar("Имя функции", "pnlCaption", pnlMain_));
    column->addWidget(edtName_);
    column->addWidget(CaptionBar("Величина", "pnlBody", pnlMain_));
    column->addWidget(mmBody_, 2);
    column->addWidget(CaptionBar("Угол", "pnlAngle", pnlMain_));
    column->addWidget(mmAngle_, 2);
    column->addWidget(lblFault_);
    column->addWidget(CaptionBar("Описание функции", "pnlDescription", pnlMain_));
    column->addWidget(mmDescription_, 3);
    column->addWidget(CreateCancelBar(pnlMain_, 2, btnOk_, btnCancel_));
    connect(btnOk_, &QPushButton::clicked, this, &FunctionEditorDialog::btnOkClick);
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(mmBody_, &QPlainTextEdit::textChanged, this, &FunctionEditorDialog::FormulaChanged);
    connect(mmAngle_, &QPlainTextEdit::textChanged, this, &FunctionEditorDialog::FormulaChanged);
}

void FunctionEditorDialog::BuildRight() {
    pnlRight_ = new QWidget(this);
    pnlRight_->setObjectName("pnlRight");
    auto* column = new QVBoxLayout(pnlRight_);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addWidget(CaptionBar("Справка", "pnlHelp", pnlRight_));
    lblHelp_ = new QLabel(FormulaHelpText());
    lblHelp_->setObjectName("lblHelp");
    lblHelp_->setWordWrap(true);
    lblHelp_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    QFont helpFont("Verdana");
    helpFont.setPixelSize(12);
    lblHelp_->setFont(helpFont);
    lblHelp_->setContentsMargins(4, 4, 4, 4);
    sb_ = new QScrollArea(pnlRight_);
    sb_->setObjectName("sb");
    sb_->setWidgetResizable(true);
    sb_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sb_->setWidget(lblHelp_);
    column->addWidget(sb_, 1);
}

void FunctionEditorDialog::SetMode(FunctionEditMode mode) {
    mode_ = mode;
    btnOk_->setText(mode == FunctionEditMode::iEdit ? "Сохранить" : "Создать");
}

void FunctionEditorDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    pnlMain_->setFixedWidth(width() / 2);
}

bool FunctionEditorDialog::eventFilter(QObject* watched, QEvent* event) {
    // The memos take no line breaks from the Enter key: an entry is one line.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FunctionEditorDialog::FormulaChanged() {
    QString fault = FormulaFault(JoinLines(mmBody_->toPlainText().split(u'\n')));
    if (fault.isEmpty()) {
        fault = FormulaFault(JoinLines(mmAngle_->toPlainText().split(u'\n')), FormulaKind::Angle);
    }
    // An empty value formula is the user's to fill, not an error to point at yet.
    lblFault_->setText(mmBody_->toPlainText().trimmed().isEmpty() ? QString() : fault);
    btnOk_->setEnabled(mmBody_->toPlainText().trimmed().isEmpty() || fault.isEmpty());
}

void FunctionEditorDialog::btnOkClick() {
    const auto lines = [](const QPlainTextEdit* memo) {
        return memo->toPlainText().isEmpty() ? QStringList() : memo->toPlainText().split(u'\n');
    };
    switch (SaveFunction(*functions_, mode_, edtName_->text(), lines(mmBody_), lines(mmAngle_),
                         lines(mmDescription_))) {
        case SaveFunctionResult::Added:
        case SaveFunctionResult::Replaced:
            accept();
            return;
        case SaveFunctionResult::EmptyFields:
            MessagesOr(messages_).Show(MessageIcon::Warning, "Внимание",
                                       "Поля имени и тела функции должны быть заполнены.");
            return;
        case SaveFunctionResult::NameTaken:
            MessagesOr(messages_).Show(MessageIcon::Warning, "Внимание",
                                       "Функция с таким именем уже есть. Задайте другое имя.");
            edtName_->setFocus();
            return;
        case SaveFunctionResult::NotFound:
            MessagesOr(messages_).Show(MessageIcon::Error, "Ошибка", "Функция с таким именем нет.");
            return;
    }
}

}  // namespace faultscope
