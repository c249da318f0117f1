#include "dialogs/confirmations.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

const TextPair kWarning{QStringLiteral("Предупреждение"), QStringLiteral("Warning")};
const TextPair kOk{QStringLiteral("ОК"), QStringLiteral("OK")};
const TextPair kCancel{QStringLiteral("Отмена"), QStringLiteral("Cancel")};

TextPair same(const QString& text) {
    return {text, text};
}

// Windows the user must answer: a title and nothing else in the title bar.
constexpr Qt::WindowFlags kNoBorderIcons =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
constexpr Qt::WindowFlags kClosable =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

const ConfirmationTexts& texts0A() {
    static const ConfirmationTexts t{
        kWarning,
        {QStringLiteral("Таблица привязки степени коррекции MAF (MAP) в модуле будет заменена"),
         QStringLiteral("The table of attachment of degree of correction of MAF (MAP) in the "
                        "module will be transferable ")},
        same(QStringLiteral("ОК")),
        kCancel,
        QStyle::SP_MessageBoxWarning,
        kNoBorderIcons};
    return t;
}

const ConfirmationTexts& texts0B() {
    static const ConfirmationTexts t{
        kWarning,
        {QStringLiteral("Таблица привязки степени коррекции ЛЯМБДА в модуле будет заменена"),
         QStringLiteral("Table of attachment of degree of correction oxygen sensor (or AFR) in "
                        "the module will be transferable")},
        kOk,
        kCancel,
        QStyle::SP_MessageBoxWarning,
        kNoBorderIcons};
    return t;
}

const ConfirmationTexts& texts0C() {
    static const ConfirmationTexts t{
        kWarning,
        same(
            QStringLiteral("Проверьте значение коэффициента расчета частоты вращения коленвала !")),
        kOk,
        {},
        QStyle::SP_MessageBoxWarning,
        kClosable};
    return t;
}

const ConfirmationTexts& texts0D() {
    // The run of blanks pushes the second half of the message onto its own line in the
    // wrapped label; it is part of the text.
    static const ConfirmationTexts t{
        kWarning,
        same(QStringLiteral("Проверьте значения") + QString(48, QLatin1Char(' ')) +
             QStringLiteral("коэффициента расчета частоты вращения коленвала и степень "
                            "забеднения смеси !!")),
        kOk,
        {},
        QStyle::SP_MessageBoxWarning,
        kClosable};
    return t;
}

const ConfirmationTexts& texts0E() {
    static const ConfirmationTexts t{
        kWarning,
        same(QStringLiteral("Внимание! Для выполнения этой функции устройство должно иметь "
                            "дополнительный вход. Продолжить?")),
        kOk,
        kCancel,
        QStyle::SP_MessageBoxQuestion,
        kClosable};
    return t;
}

const ConfirmationTexts& textsLambdaA() {
    static const ConfirmationTexts t{
        kWarning,
        {QStringLiteral("Таблица привязки лямда будет стерта ! Обучение продлится около 3-х "
                        "часов. Продолжить?"),
         QStringLiteral("The table of attachment of lyamda will be effaced ! Teaching will last "
                        "near a 3th Hours. To continue?")},
        kOk,
        kCancel,
        QStyle::SP_MessageBoxQuestion,
        Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint};
    return t;
}

const ConfirmationTexts& textsLambdaA02() {
    static const ConfirmationTexts t{
        kWarning,
        {QStringLiteral("Таблица привязки лямда возможно незаполнена. Прервать режим обучения "
                        "Лямбда?"),
         QStringLiteral("The table of attachment of oxygen sensors (or AFR) is possibly "
                        "unfilled. To cut the mode short of teaching Lambda?")},
        kOk,
        kCancel,
        QStyle::SP_MessageBoxQuestion,
        kClosable};
    return t;
}

} // namespace

ConfirmationDialog::ConfirmationDialog(const ConfirmationTexts& texts, const char* objectName,
                                       QWidget* parent)
    : QDialog(parent, texts.frame), m_texts(texts) {
    setObjectName(QLatin1String(objectName));
    setModal(true);

    ui.iconLabel = new QLabel(this);
    ui.iconLabel->setObjectName(QStringLiteral("iconLabel"));
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    ui.iconLabel->setPixmap(style()->standardIcon(texts.icon, nullptr, this).pixmap(iconSize));
    ui.iconLabel->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    ui.Label1 = new QLabel(this);
    ui.Label1->setObjectName(QStringLiteral("Label1"));
    ui.Label1->setTextFormat(Qt::PlainText);
    ui.Label1->setWordWrap(true);
    // A fixed line length keeps the wrapped message (and its deliberate runs of blanks)
    // laid out the same in both languages.
    ui.Label1->setFixedWidth(340);
    ui.Label1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    ui.atb_OK = new QPushButton(this);
    ui.atb_OK->setObjectName(QStringLiteral("atb_OK"));
    ui.atb_OK->setMinimumWidth(88);
    connect(ui.atb_OK, &QPushButton::clicked, this, &QDialog::accept);

    const bool hasCancel = !texts.cancel.ru.isEmpty();
    if (hasCancel) {
        ui.atb_Cancel = new QPushButton(this);
        ui.atb_Cancel->setObjectName(QStringLiteral("atb_Cancel"));
        ui.atb_Cancel->setMinimumWidth(88);
        connect(ui.atb_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    }

    auto* message = new QHBoxLayout;
    message->setSpacing(14);
    message->addWidget(ui.iconLabel);
    message->addWidget(ui.Label1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ui.atb_OK);
    if (hasCancel) buttons->addWidget(ui.atb_Cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 14);
    layout->setSpacing(18);
    layout->addLayout(message);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Enter answers with the harmless choice where there is one.
    QPushButton* safe = hasCancel ? ui.atb_Cancel : ui.atb_OK;
    ui.atb_OK->setAutoDefault(!hasCancel);
    ui.atb_OK->setDefault(!hasCancel);
    if (hasCancel) {
        ui.atb_Cancel->setAutoDefault(true);
        ui.atb_Cancel->setDefault(true);
    }
    safe->setFocus();

    setLanguage(false);
}

void ConfirmationDialog::setLanguage(bool english) {
    setWindowTitle(m_texts.caption.text(english));
    ui.Label1->setText(m_texts.message.text(english));
    ui.atb_OK->setText(m_texts.ok.text(english));
    if (ui.atb_Cancel) ui.atb_Cancel->setText(m_texts.cancel.text(english));
}

void ConfirmationDialog::showEvent(QShowEvent* event) {
    // The main window fills the screen, so the middle of the screen is where the eye is.
    QScreen* s = parentWidget() ? parentWidget()->screen() : screen();
    if (s) {
        QRect frame = frameGeometry();
        frame.moveCenter(s->availableGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

TfmPredupr0A::TfmPredupr0A(QWidget* parent)
    : ConfirmationDialog(texts0A(), "fmPredupr0A", parent) {}

TfmPredupr0B::TfmPredupr0B(QWidget* parent)
    : ConfirmationDialog(texts0B(), "fmPredupr0B", parent) {}

TfmPredupr0C::TfmPredupr0C(QWidget* parent)
    : ConfirmationDialog(texts0C(), "fmPredupr0C", parent) {}

TfmPredupr0D::TfmPredupr0D(QWidget* parent)
    : ConfirmationDialog(texts0D(), "fmPredupr0D", parent) {}

TfmPredupr0E::TfmPredupr0E(QWidget* parent)
    : ConfirmationDialog(texts0E(), "fmPredupr0E", parent) {}

TfmPredupr_Lambda_A::TfmPredupr_Lambda_A(QWidget* parent)
    : ConfirmationDialog(textsLambdaA(), "fmPredupr_Lambda_A", parent) {}

TfmPredupr_Lambda_A_02::TfmPredupr_Lambda_A_02(QWidget* parent)
    : ConfirmationDialog(textsLambdaA02(), "fmPredupr_Lambda_A_02", parent) {}
