#pragma once
// The settings panel: every module setting as a setting group (caption, label and its
// buttons, stepper or list) inside four outer groups, plus the two pop-ups that float
// over the panel (the stepper range and the mixture leanness list). The form is the
// window description; this class only arranges it for the available width.

#include <QWidget>

#include "ui_settingspanel.h"

class QGroupBox;
class QLineEdit;

class SettingsPanel : public QWidget {
    Q_OBJECT

public:
    explicit SettingsPanel(QWidget* parent = nullptr);

    Ui::SettingsPanel ui;

    // Width kept free at the right edge, where the window shows its side panel over this
    // one. 395 pixels by default; 0 lets the setting groups use the whole width.
    void setRightReserve(int pixels);
    int rightReserve() const { return m_rightReserve; }

    // The learning button: down, "Выключить" (in the language in force) in red while
    // learning is on; up, "Включить" in green while it is off.
    void showLearning(bool on);
    bool learningShown() const { return ui.atb_Other_TicherEmu->isChecked(); }

    // Number of columns the outer groups are currently arranged in (1 to 3).
    int columnCount() const { return m_columns; }

    // The four outer groups in reading order and the setting groups inside them.
    QList<QGroupBox*> outerGroups() const;
    QList<QGroupBox*> settingGroups() const;

    // A dimmed setting group has no meaning in the chosen configuration: its caption turns
    // Color_Dimmed and its label, buttons and edit are hidden. Undimming gives the caption
    // the window-text colour again and shows them.
    static const QColor Color_Dimmed;
    void setDimmed(QGroupBox* group, bool dimmed);
    bool isDimmed(const QGroupBox* group) const;
    // A setting group by its name (gb_LAMBDA_Way ...), or null.
    QGroupBox* settingGroup(const QString& name) const;

    // The range pop-up above a stepper's edit: limits, and the level bar at the edit's value.
    void Show_Range_Popup(QLineEdit* edit, double min, double max);
    void Hide_Range_Popup();

    // The mixture leanness list, shown with its bottom at the top of atb_LAMBDA_StepSmesi.
    void showLeannessPopup();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void decorateButtons();
    void formatInitialNumbers();
    QPoint topLeftOf(const QWidget* w) const;
    void keepPlacesOfHiddenContents();
    int columnsForWidth(int width) const;
    void arrangeColumns(int count);
    void updateColumns();

    int m_rightReserve = 395;
    int m_columns = 3;
};
