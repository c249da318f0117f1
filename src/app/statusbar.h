#pragma once
// A status bar made of fixed-width text panels (the last one takes the rest), with an
// alarm state that paints the whole bar red.

#include <QFrame>
#include <QList>

// One text panel of a status bar. Its size never depends on its text, so the exchange can
// change the text on every receive event without the window laying itself out again:
// a new text only repaints the panel (with the window's next paint).
class StatusPanel : public QFrame {
    Q_OBJECT
public:
    explicit StatusPanel(QWidget* parent = nullptr);
    QString text() const { return m_text; }
    void setText(const QString& text);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
};

class StatusBar : public QFrame {
    Q_OBJECT
public:
    StatusBar(const QString& name, const QList<int>& widths, QWidget* parent = nullptr);

    int panelCount() const { return int(m_panels.size()); }
    QString panelText(int index) const;
    void setPanelText(int index, const QString& text);
    StatusPanel* panel(int index) const { return m_panels.value(index); }

    // Red background while set; back to the window's colour when cleared.
    void setAlarm(bool alarm);
    bool alarm() const { return m_alarm; }

private:
    QList<StatusPanel*> m_panels;
    bool m_alarm = false;
};
