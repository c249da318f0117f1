#pragma once
// A status bar made of fixed-width text panels (the last one takes the rest), with an
// alarm state that paints the whole bar red.

#include <QFrame>
#include <QList>

class QLabel;

class StatusBar : public QFrame {
    Q_OBJECT
public:
    StatusBar(const QString& name, const QList<int>& widths, QWidget* parent = nullptr);

    int panelCount() const { return int(m_panels.size()); }
    QString panelText(int index) const;
    void setPanelText(int index, const QString& text);
    QLabel* panel(int index) const { return m_panels.value(index); }

    // Red background while set; back to the window's colour when cleared.
    void setAlarm(bool alarm);
    bool alarm() const { return m_alarm; }

private:
    QList<QLabel*> m_panels;
    bool m_alarm = false;
};
