#include "widgets/stepper.h"

#include "common/numtext.h"

#include <QAbstractButton>
#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

#include <algorithm>

Stepper::Stepper(QWidget* bar, QObject* parent) : QObject(parent), Step_Bar(bar) {
    Timer_Up = new QTimer(this);
    Timer_Up->setObjectName(QStringLiteral("Timer_Up"));
    Timer_Up->setInterval(200);
    Timer_Down = new QTimer(this);
    Timer_Down->setObjectName(QStringLiteral("Timer_Down"));
    Timer_Down->setInterval(200);
    connect(Timer_Up, &QTimer::timeout, this, &Stepper::Timer_UpTimer);
    connect(Timer_Down, &QTimer::timeout, this, &Stepper::Timer_DownTimer);
}

int Stepper::levelHeight(double value, double min, double max) {
    if (!(max > min)) return 0;
    const double h = roundHalfEven((value - min) * 200.0 / (max - min));
    // A value outside its limits (an initial text above the maximum) must not draw the
    // bar outside its pop-up.
    return int(std::clamp(h, 0.0, 200.0));
}

void Stepper::showLevel(double displayed) {
    if (!Step_Bar) return;
    const int h = levelHeight(displayed, Step_Min, Step_Max);
    Step_Bar->setGeometry(Step_Bar->x(), 225 - h, Step_Bar->width(), h);
}

bool Stepper::step(bool up) {
    if (!Step_Edit) return false;
    double v = 0;
    if (!parseNumber(Step_Edit->text(), &v)) return false;
    Step_Raw = v * Step_Scale;
    showLevel(Step_Raw / Step_Scale);
    Step_Result = up ? Step_Raw + Step_Size * Step_Scale : Step_Raw - Step_Size * Step_Scale;
    Step_Edit->setText(formatGeneral(Step_Result / Step_Scale));
    if (up && Step_Result > Step_Max * Step_Scale) Step_Edit->setText(formatGeneral(Step_Max));
    if (!up && Step_Min * Step_Scale > Step_Result) Step_Edit->setText(formatGeneral(Step_Min));
    return true;
}

void Stepper::Step_Up() { step(true); }
void Stepper::Step_Down() { step(false); }

void Stepper::Timer_UpTimer() {
    if (!step(true) || Step_Result > Step_Max * Step_Scale) {
        if (Step_Edit && Step_Result > Step_Max * Step_Scale) Step_Edit->setText(formatGeneral(Step_Max));
        Timer_Up->stop();
    }
}

void Stepper::Timer_DownTimer() {
    if (!step(false) || Step_Min * Step_Scale > Step_Result) {
        if (Step_Edit && Step_Min * Step_Scale > Step_Result) Step_Edit->setText(formatGeneral(Step_Min));
        Timer_Down->stop();
    }
}

void Stepper::press(QLineEdit* edit, const StepRange& range, bool up) {
    Step_Edit = edit;
    Step_Size = range.size;
    Step_Max = range.max;
    Step_Min = range.min;
    Step_Scale = range.scale;
    if (up) {
        Step_Up();
        Timer_Up->start();
    } else {
        Step_Down();
        Timer_Down->start();
    }
}

void Stepper::release(bool up) {
    if (up)
        Timer_Up->stop();
    else
        Timer_Down->stop();
}

void Stepper::attach(QAbstractButton* down, QAbstractButton* up, QLineEdit* edit,
                     std::function<StepRange()> range, std::function<void()> onRelease,
                     std::function<void(bool)> hover) {
    for (QAbstractButton* b : {down, up}) {
        if (!b) continue;
        m_bindings.append({b, b == up, edit, range, onRelease, hover});
        b->setMouseTracking(true);
        b->installEventFilter(this);
    }
}

void Stepper::attach(QAbstractButton* down, QAbstractButton* up, QLineEdit* edit, const StepRange& range,
                     std::function<void()> onRelease, std::function<void(bool)> hover) {
    attach(down, up, edit, [range] { return range; }, std::move(onRelease), std::move(hover));
}

bool Stepper::eventFilter(QObject* watched, QEvent* event) {
    const auto it = std::find_if(m_bindings.cbegin(), m_bindings.cend(),
                                 [watched](const Binding& b) { return b.button == watched; });
    if (it == m_bindings.cend()) return QObject::eventFilter(watched, event);
    const Binding& b = *it;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // A disabled button gets no mouse events; a double click is a second press.
        press(b.edit, b.range(), b.up);
        break;
    case QEvent::MouseButtonRelease:
        release(b.up);
        if (b.onRelease) b.onRelease();
        break;
    case QEvent::MouseMove:
        if (b.hover) b.hover(true);
        break;
    case QEvent::Leave:
        if (b.hover) b.hover(false);
        break;
    default:
        break;
    }
    // The buttons keep their own handling (pressed look, click signal).
    return QObject::eventFilter(watched, event);
}
