#pragma once
// The settings panel: every module setting as a setting group (caption, label and its
// buttons, stepper or list) inside four outer groups, plus the two pop-ups that float
// over the panel (the stepper range and the mixture leanness list). The form is the
// window description; this class only arranges it for the available width.

#include <QWidget>

#include "ui_settingspanel.h"

class QGroupBox;

class SettingsPanel : public QWidget {
    Q_OBJECT

public:
    explicit SettingsPanel(QWidget* parent = nullptr);

    Ui::SettingsPanel ui;

    // Width kept free at the right edge, where the window shows its side panel over this
    // one. 395 pixels by default; 0 lets the setting groups use the whole width.
    void setRightReserve(int pixels);
    int rightReserve() const { return m_rightReserve; }

    // Caption and colour of the learning button: "Выключить" in red while learning is on,
    // "Включить" in green while it is off.
    void showLearning(bool on);

    // Number of columns the outer groups are currently arranged in (1 to 3).
    int columnCount() const { return m_columns; }

    // The four outer groups in reading order and the setting groups inside them.
    QList<QGroupBox*> outerGroups() const;
    QList<QGroupBox*> settingGroups() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void decorateButtons();
    void keepPlacesOfHiddenContents();
    int columnsForWidth(int width) const;
    void arrangeColumns(int count);
    void updateColumns();

    int m_rightReserve = 395;
    int m_columns = 3;
};
