#pragma once
// The replay's small bar over the bottom left corner of Chart1, shown while a replay is
// active: play/pause (atbReplayPause), one sample back and forward, the speed
// (cbReplaySpeed, ×1 to ×64), a slider over the whole recording (slReplay) and the end of
// the replay. Space plays or pauses and Esc ends the replay, wherever the window's focus
// is (a text field keeps its own Space).

#include <QFrame>

class QComboBox;
class QCustomPlot;
class QShortcut;
class QSlider;
class QToolButton;
class ReplayController;

class ReplayBar : public QFrame {
    Q_OBJECT
public:
    // Lies over `chart` (a widget of `host`'s); the shortcuts work in shortcutScope's window.
    ReplayBar(ReplayController* replay, QWidget* host, QCustomPlot* chart, QWidget* shortcutScope);

    QToolButton* atbReplayPause;
    QToolButton* atbReplayBack;
    QToolButton* atbReplayForward;
    QToolButton* atbReplayStop;
    QComboBox* cbReplaySpeed;
    QSlider* slReplay;
    QShortcut* scReplayPause;
    QShortcut* scReplayStop;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow();
    void place();

    ReplayController* m_replay;
    QCustomPlot* m_chart;
};
