#include "tables/suggestwindow.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

#include "common/messages.h"
#include "common/numtext.h"

namespace {

const analysis::SettingField* fieldOf(const char* key) {
    for (const analysis::SettingField& f : analysis::settingFields())
        if (qstrcmp(f.key, key) == 0) return &f;
    return nullptr;
}

QLabel* namedLabel(const char* name, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

} // namespace

SuggestWindow::SuggestWindow(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("fmSuggest"));
    setWindowTitle(QStringLiteral("Поправки по записи"));
    auto* top = new QVBoxLayout(this);

    top->addWidget(namedLabel("lblSuggestTargets", QStringLiteral("Цель AFR по ячейкам"), this));
    sgrid_Targets = new QTableWidget(analysis::Side, analysis::Side, this);
    sgrid_Targets->setObjectName(QStringLiteral("sgrid_Targets"));
    sgrid_Targets->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    sgrid_Targets->horizontalHeader()->setMinimumSectionSize(36);
    sgrid_Targets->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    sgrid_Targets->setMinimumSize(360, 230);
    for (int r = 0; r < analysis::Side; ++r) {
        for (int c = 0; c < analysis::Side; ++c) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            sgrid_Targets->setItem(r, c, item);
        }
    }
    top->addWidget(sgrid_Targets);

    auto* form = new QFormLayout;
    auto edit = [this, form](const char* name, const char* label, const QString& text, const char* key) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setMaximumWidth(90);
        QLabel* l = namedLabel(label, text, this);
        form->addRow(l, e);
        m_edits << Edit{e, key, l};
        return e;
    };
    edSuggestDelay = edit("edSuggestDelay", "lblSuggestDelay", QStringLiteral("Задержка датчика, мс"), "delay_ms");
    edSuggestMinHits = edit("edSuggestMinHits", "lblSuggestMinHits", QStringLiteral("Отсчётов на ячейку, не менее"),
                            "min_samples");
    edSuggestLimit = edit("edSuggestLimit", "lblSuggestLimit", QStringLiteral("Предел поправки за запись"), "limit");
    edSuggestDeadband = edit("edSuggestDeadband", "lblSuggestDeadband", QStringLiteral("Зона нечувствительности"),
                             "deadband");
    edSuggestGain = edit("edSuggestGain", "lblSuggestGain", QStringLiteral("Усиление, единиц на 1 %"), "gain");
    top->addLayout(form);
    for (const Edit& e : m_edits)
        connect(e.edit, &QLineEdit::editingFinished, this, [this, e] { editFinished(e); });

    cbSuggestPage = new QCheckBox(QStringLiteral("Только страница графика"), this);
    cbSuggestPage->setObjectName(QStringLiteral("cbSuggestPage"));
    top->addWidget(cbSuggestPage);
    connect(cbSuggestPage, &QCheckBox::toggled, this, &SuggestWindow::pageOnlyChanged);

    top->addWidget(namedLabel("lblSuggestRejected", QStringLiteral("Отброшено фильтрами:"), this));
    for (int i = 0; i < analysis::FilterCount; ++i) {
        auto* l = new QLabel(this);
        l->setObjectName(QStringLiteral("lblSuggestFilter%1").arg(i));
        l->setIndent(12);
        filterLabels << l;
        top->addWidget(l);
    }
    lblSuggestSummary = new QLabel(this);
    lblSuggestSummary->setObjectName(QStringLiteral("lblSuggestSummary"));
    top->addWidget(lblSuggestSummary);
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("lblSuggestNote"));
    m_note->setStyleSheet(QStringLiteral("color: #B00000;"));
    m_note->setWordWrap(true);
    m_note->hide();
    top->addWidget(m_note);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    btnSuggestApply = new QPushButton(QStringLiteral("Применить поправки"), this);
    btnSuggestApply->setObjectName(QStringLiteral("btnSuggestApply"));
    buttons->addWidget(btnSuggestApply);
    top->addLayout(buttons);
    connect(btnSuggestApply, &QPushButton::clicked, this, &SuggestWindow::applyClicked);

    connect(sgrid_Targets, &QTableWidget::cellChanged, this, &SuggestWindow::targetEdited);
    writeControls();
}

void SuggestWindow::showSettings(const analysis::CorrectionSettings& settings) {
    m_settings = settings;
    writeControls();
}

void SuggestWindow::writeControls() {
    m_writing = true;
    for (const Edit& e : m_edits) {
        if (const analysis::SettingField* f = fieldOf(e.key)) e.edit->setText(formatGeneral(f->get(m_settings)));
    }
    for (int r = 1; r <= analysis::Side; ++r)
        for (int c = 1; c <= analysis::Side; ++c)
            sgrid_Targets->item(r - 1, c - 1)
                ->setText(formatGeneral(m_settings.targets[std::size_t(analysis::cellIndex(c, r))]));
    m_writing = false;
}

void SuggestWindow::refuse(const QString& what, const QString& text) {
    showNote((msgs().english() ? QStringLiteral("Not accepted: %1 \"%2\"") : QStringLiteral("Не принято: %1 «%2»"))
                 .arg(what, text));
}

void SuggestWindow::editFinished(const Edit& e) {
    if (m_writing) return;
    const analysis::SettingField* f = fieldOf(e.key);
    if (!f) return;
    double v = 0;
    const QString text = e.edit->text();
    analysis::CorrectionSettings next = m_settings;
    const bool number = parseNumber(text, &v);
    if (number) f->set(next, v);
    if (!number || !(v >= f->min && v <= f->max) || (f->whole && v != std::floor(v)) ||
        !analysis::settingsFault(next).isEmpty()) {
        refuse(e.label->text(), text);
        writeControls();
        return;
    }
    if (f->get(next) == f->get(m_settings)) {
        writeControls(); // the same value in the window's form
        return;
    }
    m_settings = next;
    showNote({});
    writeControls();
    emit settingsChanged();
}

void SuggestWindow::targetEdited(int row, int column) {
    if (m_writing) return;
    const QString text = sgrid_Targets->item(row, column)->text();
    double v = 0;
    double& target = m_settings.targets[std::size_t(analysis::cellIndex(column + 1, row + 1))];
    if (!parseNumber(text, &v) || !(v >= analysis::TargetMin && v <= analysis::TargetMax)) {
        refuse(msgs().english() ? QStringLiteral("target") : QStringLiteral("цель"), text);
        writeControls();
        return;
    }
    const bool changed = v != target;
    target = v;
    showNote({});
    writeControls();
    if (changed) emit settingsChanged();
}

void SuggestWindow::showResult(const analysis::CorrectionResult& result) {
    const bool en = msgs().english();
    for (int i = 0; i < analysis::FilterCount && i < filterLabels.size(); ++i)
        filterLabels[i]->setText(QStringLiteral("%1: %2")
                                     .arg(analysis::filterName(analysis::Filter(i), en))
                                     .arg(result.rejectedBy(analysis::Filter(i))));
    lblSuggestSummary->setText((en ? QStringLiteral("Samples used: %1 of %2; cells with a correction: %3")
                                   : QStringLiteral("Использовано отсчётов: %1 из %2; ячеек с поправкой: %3"))
                                   .arg(result.used)
                                   .arg(result.paired)
                                   .arg(result.proposals()));
    btnSuggestApply->setEnabled(result.proposals() > 0);
}

void SuggestWindow::showNote(const QString& text) {
    m_note->setText(text);
    m_note->setVisible(!text.isEmpty());
}

QString SuggestWindow::note() const { return m_note->text(); }
