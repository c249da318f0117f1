#include "telemetry/replaybar.h"

#include "icons/icons.h"
#include "telemetry/replaycontroller.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <qcustomplot.h>

namespace {
QToolButton* button(QWidget* parent, const char* name, const QIcon& icon, const QString& tip) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setIcon(icon);
    b->setToolTip(tip);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}
} // namespace

ReplayBar::ReplayBar(ReplayController* replay, QWidget* host, QCustomPlot* chart, QWidget* shortcutScope)
    : QFrame(host), m_replay(replay), m_chart(chart) {
    setObjectName(QStringLiteral("tbReplay"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto* h = new QHBoxLayout(this);
    h->setContentsMargins(3, 1, 3, 1);
    h->setSpacing(2);

    atbReplayBack = button(this, "atbReplayBack", icons::stepLeft(), QStringLiteral("На один отсчёт назад"));
    atbReplayPause = button(this, "atbReplayPause", icons::pause(), QStringLiteral("Пауза и продолжение (Пробел)"));
    atbReplayForward = button(this, "atbReplayForward", icons::stepRight(), QStringLiteral("На один отсчёт вперёд"));
    cbReplaySpeed = new QComboBox(this);
    cbReplaySpeed->setObjectName(QStringLiteral("cbReplaySpeed"));
    cbReplaySpeed->setToolTip(QStringLiteral("Скорость воспроизведения"));
    cbReplaySpeed->setFocusPolicy(Qt::NoFocus);
    for (int s : ReplayController::speeds()) cbReplaySpeed->addItem(QStringLiteral("×%1").arg(s), s);
    slReplay = new QSlider(Qt::Horizontal, this);
    slReplay->setObjectName(QStringLiteral("slReplay"));
    slReplay->setToolTip(QStringLiteral("Место в записи"));
    slReplay->setFocusPolicy(Qt::NoFocus);
    slReplay->setMinimumWidth(220);
    atbReplayStop = button(this, "atbReplayStop", icons::stop(), QStringLiteral("Закончить воспроизведение (Esc)"));
    for (QWidget* w : std::initializer_list<QWidget*>{atbReplayBack, atbReplayPause, atbReplayForward, cbReplaySpeed,
                                                      slReplay, atbReplayStop})
        h->addWidget(w);

    connect(atbReplayPause, &QToolButton::clicked, replay, &ReplayController::togglePause);
    connect(atbReplayBack, &QToolButton::clicked, replay, [replay] { replay->step(-1); });
    connect(atbReplayForward, &QToolButton::clicked, replay, [replay] { replay->step(1); });
    connect(atbReplayStop, &QToolButton::clicked, replay, [replay] { replay->stop(true); });
    connect(cbReplaySpeed, &QComboBox::currentIndexChanged, replay,
            [this](int i) { m_replay->setSpeed(cbReplaySpeed->itemData(i).toInt()); });
    connect(slReplay, &QSlider::valueChanged, replay, &ReplayController::seekRow);

    scReplayPause = new QShortcut(QKeySequence(Qt::Key_Space), shortcutScope);
    scReplayPause->setObjectName(QStringLiteral("scReplayPause"));
    scReplayStop = new QShortcut(QKeySequence(Qt::Key_Escape), shortcutScope);
    scReplayStop->setObjectName(QStringLiteral("scReplayStop"));
    for (QShortcut* s : {scReplayPause, scReplayStop}) {
        s->setContext(Qt::WindowShortcut);
        s->setEnabled(false);
    }
    connect(scReplayPause, &QShortcut::activated, replay, &ReplayController::togglePause);
    connect(scReplayStop, &QShortcut::activated, replay, [replay] { replay->stop(true); });

    connect(replay, &ReplayController::stateChanged, this, &ReplayBar::follow);
    connect(replay, &ReplayController::rowChanged, this, [this](int row) {
        const QSignalBlocker quiet(slReplay);
        slReplay->setValue(row);
    });
    chart->installEventFilter(this);
    hide();
}

void ReplayBar::follow() {
    const bool active = m_replay->isActive();
    scReplayPause->setEnabled(active);
    scReplayStop->setEnabled(active);
    atbReplayPause->setIcon(m_replay->isPlaying() ? icons::pause() : icons::resume());
    {
        const QSignalBlocker quiet(slReplay);
        slReplay->setRange(1, std::max(1, m_replay->rows()));
        slReplay->setValue(m_replay->row());
    }
    {
        const QSignalBlocker quiet(cbReplaySpeed);
        const int i = cbReplaySpeed->findData(m_replay->speed());
        if (i >= 0) cbReplaySpeed->setCurrentIndex(i);
    }
    // Its own state, not whether the chart panel is in front.
    if (active == !isHidden()) return;
    setVisible(active);
    if (active) place();
}

void ReplayBar::place() {
    adjustSize();
    // Inside the plot area's bottom left corner.
    const QRect area = m_chart->axisRect()->rect();
    const QPoint corner = m_chart->mapTo(parentWidget(), area.bottomLeft());
    move(corner.x() + 4, corner.y() - height() - 3);
    raise();
}

bool ReplayBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_chart && !isHidden() && (event->type() == QEvent::Resize || event->type() == QEvent::Move)) place();
    return QFrame::eventFilter(watched, event);
}
