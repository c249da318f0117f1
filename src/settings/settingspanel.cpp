#include "settings/settingspanel.h"

#include <QToolButton>

#include <QButtonGroup>
#include <QEvent>
#include <QGroupBox>
#include <QScrollBar>
#include <QStyle>

#include "icons/icons.h"

SettingsPanel::SettingsPanel(QWidget* parent) : QWidget(parent) {
    ui.setupUi(this);
    decorateButtons();
    keepPlacesOfHiddenContents();

    // The pop-ups float above the groups; they are placed and shown by their handlers.
    ui.Panel_Track->hide();
    ui.Panel_LAMBDA_StepSmesi->hide();
    ui.Panel_Track->raise();
    ui.Panel_LAMBDA_StepSmesi->raise();

    ui.scrollSettings->installEventFilter(this);
    updateColumns();
}

void SettingsPanel::decorateButtons() {
    // The steppers' "q"/"p" and the list opener's "q" are arrow pictograms: they keep
    // the letter as their text and show a drawn arrow.
    const QIcon up = icons::stepUp();
    const QIcon down = icons::stepDown();
    const QList<QToolButton*> ups = {
        ui.atb_LAMBDA_1_Korr_Up, ui.atb_LAMBDA_U_Max_Up,    ui.atb_DMRV_Porog_Korr_Up,
        ui.atb_DMRV_K_Korr_Up,   ui.atb_Other_Zad_Korr_Up,  ui.atb_Other_Point_Korr_Up,
        ui.atb_Other_K_Fuel_Up,  ui.atb_Other_VolEng_Up,
    };
    const QList<QToolButton*> downs = {
        ui.atb_LAMBDA_1_Korr_Down, ui.atb_LAMBDA_U_Max_Down,    ui.atb_DMRV_Porog_Korr_Down,
        ui.atb_DMRV_K_Korr_Down,   ui.atb_Other_Zad_Korr_Down,  ui.atb_Other_Point_Korr_Down,
        ui.atb_Other_K_Fuel_Down,  ui.atb_Other_VolEng_Down,
    };
    for (QToolButton* b : ups) b->setIcon(up);
    for (QToolButton* b : downs) b->setIcon(down);
    ui.atb_Other_cb_K->setIcon(icons::dropDown());

    // Buttons that stay pressed must read as pressed at a glance; the platform's sunken
    // look is too faint for that. Only group members get this look: the learning button
    // keeps the platform look because its caption colour carries the learning state.
    for (QButtonGroup* group : findChildren<QButtonGroup*>())
        for (QAbstractButton* b : group->buttons()) b->setProperty("toggle", true);
    setStyleSheet(QStringLiteral(
        "QToolButton[toggle=\"true\"] {"
        "  border: 1px solid palette(mid); border-radius: 3px; padding: 2px 6px;"
        "  background: palette(button); color: palette(button-text); }"
        "QToolButton[toggle=\"true\"]:hover { border-color: palette(highlight); }"
        "QToolButton[toggle=\"true\"]:checked {"
        "  background: palette(highlight); color: palette(highlighted-text);"
        "  border-color: palette(dark); }"
        "QToolButton[toggle=\"true\"]:disabled { color: palette(mid); }"
        "QToolButton[toggle=\"true\"]:checked:disabled { background: palette(mid);"
        "  color: palette(window); }"
        // The leanness pop-up reads as a list, not as a row of buttons.
        "#Panel_LAMBDA_StepSmesi QToolButton[toggle=\"true\"] { border: none; border-radius: 0; }"
        "#Panel_LAMBDA_StepSmesi QToolButton[toggle=\"true\"]:hover {"
        "  background: palette(midlight); }"
        "#Panel_LAMBDA_StepSmesi QToolButton[toggle=\"true\"]:checked {"
        "  background: palette(highlight); }"));

    // Outer group captions stand out from the setting groups inside them.
    for (QGroupBox* outer : outerGroups()) {
        QFont bold = outer->font();
        bold.setBold(true);
        outer->setFont(bold);
        for (QGroupBox* inner : outer->findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly)) {
            QFont normal = inner->font();
            normal.setBold(false);
            inner->setFont(normal);
        }
    }

    // Learning is off until a read says otherwise: green "Включить".
    showLearning(false);
}

void SettingsPanel::showLearning(bool on) {
    QToolButton* b = ui.atb_Other_TicherEmu;
    b->setText(on ? QStringLiteral("Выключить") : QStringLiteral("Включить"));
    // Only the active and inactive colours: a locked panel greys the caption as usual.
    QPalette pal = b->palette();
    const QColor c = on ? QColor(255, 0, 0) : QColor(0, 128, 0);
    pal.setColor(QPalette::Active, QPalette::ButtonText, c);
    pal.setColor(QPalette::Inactive, QPalette::ButtonText, c);
    b->setPalette(pal);
}

void SettingsPanel::keepPlacesOfHiddenContents() {
    // Dimming a group hides its label and buttons, and a model without mode choice hides
    // the mode buttons. Keeping their places stops the neighbouring groups from jumping
    // up and down whenever the module or the mode changes.
    for (QGroupBox* group : settingGroups()) {
        for (QWidget* w : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            QSizePolicy sp = w->sizePolicy();
            sp.setRetainSizeWhenHidden(true);
            w->setSizePolicy(sp);
        }
    }
}

QList<QGroupBox*> SettingsPanel::outerGroups() const {
    return {ui.gb_LAMBDA, ui.gb_DMRV, ui.gb_Other_2, ui.gb_Other};
}

QList<QGroupBox*> SettingsPanel::settingGroups() const {
    QList<QGroupBox*> groups;
    for (QGroupBox* outer : outerGroups())
        groups += outer->findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly);
    return groups;
}

void SettingsPanel::setRightReserve(int pixels) {
    m_rightReserve = qMax(0, pixels);
    ui.spacerRightPanel->changeSize(m_rightReserve, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
    ui.layoutPanel->invalidate();
    updateColumns();
}

int SettingsPanel::columnsForWidth(int width) const {
    int column = 0;
    for (QGroupBox* g : outerGroups()) column = qMax(column, g->minimumSizeHint().width());
    const QMargins m = ui.layoutColumns->contentsMargins();
    const int spacing = ui.layoutColumns->spacing();
    for (int n = 3; n > 1; --n) {
        if (m.left() + m.right() + n * column + (n - 1) * spacing <= width) return n;
    }
    return 1;
}

void SettingsPanel::arrangeColumns(int count) {
    // Reading order: Lambda, MAF, system, other. Three columns put each of the first two
    // in a column of its own and stack the last two; two columns pair them.
    static constexpr int plan[3][4] = {{0, 0, 0, 0}, {0, 0, 1, 1}, {0, 1, 2, 2}};
    QVBoxLayout* columns[3] = {ui.layoutColumn1, ui.layoutColumn2, ui.layoutColumn3};
    const QList<QGroupBox*> groups = outerGroups();
    for (QGroupBox* g : groups)
        for (QVBoxLayout* c : columns) c->removeWidget(g);
    for (int i = 0; i < groups.size(); ++i) {
        QVBoxLayout* c = columns[plan[count - 1][i]];
        c->insertWidget(c->count() - 1, groups[i]); // before the column's closing stretch
    }
    // Columns in use share the width; once the groups reach their widest, the rest stays
    // free at the right instead of opening gaps between the columns.
    for (int i = 0; i < 3; ++i) ui.layoutColumns->setStretch(i, i < count ? 1 : 0);
    m_columns = count;
}

void SettingsPanel::updateColumns() {
    // The vertical scroll bar is always subtracted, so that its coming and going cannot
    // flip the arrangement back and forth.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int n = columnsForWidth(ui.scrollSettings->width() - bar);
    if (n != m_columns) arrangeColumns(n);
}

bool SettingsPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui.scrollSettings && event->type() == QEvent::Resize) updateColumns();
    return QWidget::eventFilter(watched, event);
}
