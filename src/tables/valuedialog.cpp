#include "tables/valuedialog.h"

#include "common/messages.h"
#include "common/numtext.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
struct Texts {
    const char16_t* titleRu;
    const char16_t* titleEn;
    const char16_t* labelRu;
    const char16_t* labelEn;
    const char* initial;
};
const Texts& textsFor(ValueQuestion q) {
    static const Texts set{u"Установить значение", u"Set a value", u"Значение:", u"Value:", "0"};
    static const Texts add{u"Прибавить значение", u"Add a value", u"Прибавить:", u"Add:", "0"};
    static const Texts scale{u"Масштабировать", u"Scale", u"Процент от значения:",
                             u"Percent of the value:", "100"};
    return q == ValueQuestion::Set ? set : q == ValueQuestion::Add ? add : scale;
}
} // namespace

ValueDialog::ValueDialog(ValueQuestion question, bool english, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ValueDialog"));
    const Texts& t = textsFor(question);
    setWindowTitle(QString::fromUtf16(english ? t.titleEn : t.titleRu));
    auto* form = new QFormLayout(this);
    m_edit = new QLineEdit(QString::fromLatin1(t.initial), this);
    m_edit->setObjectName(QStringLiteral("ed_Value"));
    m_edit->setMaxLength(32);
    m_edit->selectAll();
    form->addRow(new QLabel(QString::fromUtf16(english ? t.labelEn : t.labelRu), this), m_edit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setText(english ? QStringLiteral("OK") : QStringLiteral("ОК"));
    buttons->button(QDialogButtonBox::Cancel)
        ->setText(english ? QStringLiteral("Cancel") : QStringLiteral("Отмена"));
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // OK waits for a number.
    connect(m_edit, &QLineEdit::textChanged, this, [this] {
        double v = 0;
        m_ok->setEnabled(value(&v));
    });
}

bool ValueDialog::value(double* out) const { return parseNumber(m_edit->text(), out); }

bool ValueDialog::ask(QWidget* parent, ValueQuestion question, double* value) {
    ValueDialog d(question, msgs().english(), parent);
    return d.exec() == QDialog::Accepted && d.value(value);
}
