#include "settings/settingspanel.h"

#include "common/numtext.h"
#include "common/uitexts.h"
#include "widgets/stepper.h"

#include <QLineEdit>
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
    formatInitialNumbers();

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
    // The button's down state is the learning state; its caption is the language's.
    b->setChecked(on);
    b->setText(uitexts::stateCaption(b->objectName(), on, uitexts::currentLang()));
    // Only the active and inactive colours: a locked panel greys the caption as usual.
    QPalette pal = b->palette();
    const QColor c = on ? QColor(255, 0, 0) : QColor(0, 128, 0);
    pal.setColor(QPalette::Active, QPalette::ButtonText, c);
    pal.setColor(QPalette::Inactive, QPalette::ButtonText, c);
    b->setPalette(pal);
}

void SettingsPanel::formatInitialNumbers() {
    // The form's initial values are written with a decimal comma; under a locale with a
    // decimal point they are shown the way every later value will be.
    for (QLineEdit* e : {ui.Ed_LAMBDA_1_Korr, ui.Ed_LAMBDA_U_Max, ui.Ed_DMRV_Porog_Korr, ui.Ed_DMRV_K_Korr,
                         ui.Ed_Other_Zad_Korr, ui.Ed_Other_Point_Korr, ui.Ed_Other_K_Fuel, ui.Ed_Other_VolEng}) {
        double v = 0;
        if (parseNumber(e->text(), &v)) e->setText(formatGeneral(v));
    }
}

const QColor SettingsPanel::Color_Dimmed(209, 211, 143);

void SettingsPanel::setDimmed(QGroupBox* group, bool dimmed) {
    // The caption follows WindowText in some styles and Text in others; the contents are
    // hidden while the colour is the dimmed one, so their colours do not matter then.
    const QPalette base = group->parentWidget() ? group->parentWidget()->palette() : palette();
    QPalette pal = group->palette();
    for (QPalette::ColorGroup cg : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text})
            pal.setColor(cg, role, dimmed ? Color_Dimmed : base.color(cg, role));
    }
    group->setPalette(pal);
    for (QWidget* w : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) w->setVisible(!dimmed);
    group->setProperty("dimmed", dimmed);
}

bool SettingsPanel::isDimmed(const QGroupBox* group) const { return group->property("dimmed").toBool(); }

QGroupBox* SettingsPanel::settingGroup(const QString& name) const {
    for (QGroupBox* g : settingGroups())
        if (g->objectName() == name) return g;
    return nullptr;
}

QPoint SettingsPanel::topLeftOf(const QWidget* w) const { return w->mapTo(this, QPoint(0, 0)); }

void SettingsPanel::Show_Range_Popup(QLineEdit* edit, double min, double max) {
    ui.Pnl_Track_Max->setText(formatGeneral(max));
    ui.Pnl_Track_Min->setText(formatGeneral(min));
    // Above the edit; where the panel is scrolled so far that there is no room above,
    // below it, so that the pop-up is never cut off.
    const QPoint at = topLeftOf(edit);
    const int h = ui.Panel_Track->height();
    const int top = at.y() - h >= 0 ? at.y() - h : at.y() + edit->height();
    ui.Panel_Track->move(at.x(), top);
    ui.Panel_Track->raise();
    double value = 0;
    double lo = 0;
    double hi = 0;
    if (parseNumber(edit->text(), &value) && parseNumber(ui.Pnl_Track_Min->text(), &lo) &&
        parseNumber(ui.Pnl_Track_Max->text(), &hi)) {
        const int level = Stepper::levelHeight(value, lo, hi);
        QWidget* bar = ui.Pnl_Reg2;
        bar->setGeometry(bar->x(), ui.Pnl_Track_Max->y() + ui.Pnl_Track_Max->height() + 202 - level, bar->width(),
                         level);
    }
    ui.Pnl_Track_Max->show();
    ui.Pnl_Track_Min->show();
    ui.Panel_Track->show();
    ui.Pnl_Reg2->show();
}

void SettingsPanel::Hide_Range_Popup() {
    ui.Pnl_Track_Max->hide();
    ui.Pnl_Track_Min->hide();
    ui.Panel_Track->hide();
    ui.Pnl_Reg2->hide();
}

void SettingsPanel::showLeannessPopup() {
    QFrame* popup = ui.Panel_LAMBDA_StepSmesi;
    const QPoint at = topLeftOf(ui.atb_LAMBDA_StepSmesi);
    const int top = at.y() - 140 >= 0 ? at.y() - 140 : at.y() + ui.atb_LAMBDA_StepSmesi->height();
    popup->setGeometry(at.x(), top, popup->width(), 140);
    // The list marks the leanness the module holds now.
    for (QAbstractButton* b : ui.grp_LAMBDA_StepSmesi->buttons())
        if (b->text() == ui.atb_LAMBDA_StepSmesi->text()) b->setChecked(true);
    popup->show();
    popup->raise();
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
